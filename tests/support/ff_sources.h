#pragma once
// Filter Factory source texts for tests: .afs, .txt, .ffx and .ffl libraries, spelled out byte
// by byte here rather than made by the engine's writers.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/ff/record.h"

namespace qm::test {

// An .afs with slider 2 at 9 and the R formula r. With a title it has the trailer (category
// "Tests", author "Ann", copyright "Free", slider 2 named "Amount"); without one it has none.
std::string afsSource(const std::string& title, const std::string& r = "r");

// An .afs with the formulas r, g, b, a, slider 0 at slider0, the others 0, and the trailer
// (category "Tests", title "T", author "Ann", copyright "Free", no names).
std::string afsFilter(const std::array<std::string, 4>& rgba, int slider0 = 0);

// A text source with the title, the file name and the formulas r, g, b, a.
std::string txtSource(const std::string& title, const std::string& fileName);

// An .ffx of rec: four-byte little-endian lengths before the signature, the texts, an empty
// field and the formulas, then per slider its name, a zero byte and a four-byte value.
std::string ffxSource(const ff::FFRecord& rec, std::string_view signature = "FFX1.0");

// The 29 lines of a library entry holding rec.
std::string fflEntryOf(const ff::FFRecord& rec);
// The 29 lines of a library entry: category "Cat", author "Ann", copyright "Free", no names,
// sliders at 0 and the formulas r (or the one given), g, b, a.
std::string fflEntry(const std::string& fileName, const std::string& title,
                     const std::string& r = "r");
// A library of the given entries under the header, with their count.
std::string fflLibrary(const std::vector<std::string>& entries,
                       const std::string& header = "FFL1.0");

}  // namespace qm::test
