#pragma once
// Small text helpers shared by the Filter Factory source readers and writers. Texts are
// Windows-1252 bytes.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/byte_view.h"

namespace qm::ff {

// Lines of a file read as text: CR LF, a lone CR and a lone LF each end a line; a last line
// without an ending counts; a final ending adds no empty line.
std::vector<std::string> splitTextLines(ByteView bytes);

// A lenient slider value: blanks and LFs in front are skipped, reading stops at the first
// non-digit, no sign is taken ("-5" reads 0), empty reads 0. The record holds 0..255, so
// larger values are clamped to 255.
std::uint8_t lenientSliderValue(std::string_view text);

bool startsWithNoCase(std::string_view text, std::string_view prefix);

// "Slider 1".."Slider 8" for every slider whose value is not 0; the others stay unnamed.
void nameSlidersWithValues(const std::array<std::uint8_t, 8>& values,
                           std::array<std::string, 8>& names);

}  // namespace qm::ff
