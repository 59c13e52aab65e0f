#include "core/ff/convert_summary.h"

#include <algorithm>

#include "core/common/unicode_text.h"
#include "core/ff/file_names.h"

namespace qm::ff {
namespace {

std::string counted(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string shownPath(const std::filesystem::path& path) {
  return path.empty() ? std::string("clipboard") : displayPath(path);
}

// A box must fit on the screen: each section names this many, then says how many more.
constexpr std::size_t kLinesShown = 10;

// A heading and its lines, each line once.
void section(std::string& text, const std::string& heading, std::vector<std::string> lines) {
  std::vector<std::string> once;
  for (auto& line : lines)
    if (std::find(once.begin(), once.end(), line) == once.end()) once.push_back(std::move(line));
  if (once.empty()) return;
  text += "\n\n" + heading;
  for (std::size_t i = 0; i < once.size() && i < kLinesShown; ++i) text += "\n" + once[i];
  if (once.size() > kLinesShown)
    text += "\n... and " + std::to_string(once.size() - kLinesShown) + " more";
}

std::vector<std::string> lines(const std::vector<ConvertProblem>& problems,
                               const char* withoutReason) {
  std::vector<std::string> out;
  for (const auto& p : problems)
    out.push_back(shownPath(p.path) + ": " + (p.text.empty() ? withoutReason : p.text));
  return out;
}

}  // namespace

ConvertSummary convertSummary(const ConvertReport& report, int target) {
  ConvertSummary summary;
  std::string& text = summary.text;
  text = report.written.empty() ? std::string("No file written.")
                                : counted(report.written.size(), "file", "files") + " written.";
  const char* why = target == kTargetPremiereFF || target == kTargetPremiereTF
                        ? "Premiere plugins are not written"
                        : "the existing file was kept";
  std::vector<std::string> skipped;
  for (const auto& path : report.skipped) skipped.push_back(shownPath(path) + ": " + why);
  section(text, "Skipped:", std::move(skipped));
  section(text, "Not read:", lines(report.unreadable, "not a Filter Factory file"));
  section(text, "Failed:", lines(report.failed, "not written"));
  if (report.cancelled)
    text += "\n\nStopped after " + std::to_string(report.inputsDone) + " of " +
            counted(report.inputsTotal, "file.", "files.");
  section(text, "Warnings:", lines(report.warnings, ""));
  summary.problems = !report.unreadable.empty() || !report.failed.empty();
  return summary;
}

}  // namespace qm::ff
