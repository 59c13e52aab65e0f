#pragma once
// One picture through a filter: read, filter, encode, write (under a temporary name, renamed
// when complete), with the wall clock of each phase. The command line's apply and the window's
// Batch Processing run it.

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "core/apply/picture_files.h"
#include "core/formula/engine.h"
#include "core/formula/thread_pool.h"
#include "core/host/image.h"
#include "core/plughost/foreign_host.h"

namespace qm::apply {

struct PhaseTimes {
  std::chrono::steady_clock::duration decode{}, filter{}, encode{};
  PhaseTimes& operator+=(const PhaseTimes& other);
};

// "decode N ms, filter N ms, encode N ms"
std::string describeTimings(const PhaseTimes& times);

struct ApplySetup {
  std::string filterArg;             // as the user named it, for messages
  std::filesystem::path filterFile;  // the file it comes from, an input like the pictures
  std::array<std::string, 4> formulas;
  std::array<std::uint8_t, 8> sliders{};
  formula::Engine engine = formula::Engine::Automatic;
  // Set for a Windows plugin: runs it on the picture instead of the formulas.
  std::function<plughost::ForeignResult(host::Image&, const std::function<bool()>& cancelled)>
      foreign;
  int pngLevel = -1;  // 0-9; -1: Qt's default
};

enum class PictureStatus { Written, Failed, Cancelled };

struct PictureReport {
  PictureStatus status = PictureStatus::Written;
  std::string where;   // Failed: the file the problem is about, as shown
  std::string reason;  // Failed: what went wrong
  PhaseTimes times;
  std::string problemLine() const { return where + ": " + reason; }
};

// cancelled is polled between rows, while the result is encoded and once more just before it
// replaces the output; a cancelled picture is not written.
PictureReport applyToPicture(const ApplySetup& setup, PictureFiles& files,
                             const std::filesystem::path& input,
                             const std::filesystem::path& output, formula::ThreadPool* pool,
                             const std::function<bool()>& cancelled);

}  // namespace qm::apply
