#include "core/batch/overwrite_check.h"

#include <chrono>
#include <ctime>
#include <string>
#include <system_error>

namespace qm::batch {
namespace {

namespace fs = std::filesystem;

// Local time in ISO order: the desktop's short date format is not ours to know, and this
// form reads the same everywhere and sorts.
std::string changeTime(const fs::path& file) {
  std::error_code ec;
  auto written = fs::last_write_time(file, ec);
  if (ec) return "?";
  auto seconds =
      std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::file_clock::to_sys(written));
  std::time_t t = std::chrono::system_clock::to_time_t(seconds);
  std::tm local{};
  if (localtime_r(&t, &local) == nullptr) return "?";
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

// "path  (size bytes, date time)"
std::string fileLine(const fs::path& file) {
  std::error_code ec;
  auto size = fs::file_size(file, ec);
  if (ec) size = 0;
  return file.string() + "  (" + std::to_string(size) + " bytes, " + changeTime(file) + ")";
}

}  // namespace

OverwriteDecision OverwriteCheck::operator()(const fs::path& source, const fs::path& destination,
                                             bool writtenEarlier) {
  if (source.empty() && destination.empty()) {
    reset();
    return OverwriteDecision::Write;
  }
  std::error_code ec;
  const bool onDisk = fs::exists(destination, ec);
  if (!onDisk && !writtenEarlier) return OverwriteDecision::Write;
  if (mode_ == OverwriteAnswer::OverwriteAll) return OverwriteDecision::Write;
  if (mode_ == OverwriteAnswer::IgnoreAll) return OverwriteDecision::Skip;

  OverwriteQuestion question;
  question.destinationLine =
      onDisk ? fileLine(destination) : destination.string() + "  (written earlier in this run)";
  if (source.empty())
    question.destinationLine += " ?";
  else
    question.sourceLine = fileLine(source) + " ?";

  mode_ = prompter_.overwrite(question);
  switch (mode_) {
    case OverwriteAnswer::Overwrite:
    case OverwriteAnswer::OverwriteAll:
      return OverwriteDecision::Write;
    case OverwriteAnswer::Ignore:
    case OverwriteAnswer::IgnoreAll:
      return OverwriteDecision::Skip;
    case OverwriteAnswer::Cancel:
      break;
  }
  return OverwriteDecision::Cancel;
}

}  // namespace qm::batch
