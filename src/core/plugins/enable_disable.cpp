#include "core/plugins/enable_disable.h"

#include <algorithm>
#include <system_error>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/plugins/text_util.h"

namespace qm::plugins {
namespace {

constexpr std::string_view kFflView = "En/Disable doesn't work in the FFL View.";
constexpr std::string_view kNotPossible =
    "Enabling and disabling of this file type is not possible.";

std::string replaceLast(std::string_view name, std::size_t count, std::string_view ending) {
  std::size_t keep = name.size() > count ? name.size() - count : 0;
  return std::string(name.substr(0, keep)) + std::string(ending);
}

std::string tail(std::string_view name, std::size_t n, bool keepCase) {
  std::string t(name.substr(name.size() - n));
  return keepCase ? t : encodeUtf8(foldCase(t));
}

// Renames one file in its folder; a target that exists is never overwritten.
bool renameFile(const RenamedFile& r, Prompter& prompter) {
  std::error_code ec;
  // A file renamed already (named twice, or by someone else) is missing, not in the way.
  if (!std::filesystem::exists(std::filesystem::symlink_status(r.from, ec))) {
    prompter.warn(displayName(r.from) + " could not be renamed: " +
                      std::make_error_code(std::errc::no_such_file_or_directory).message() + ".",
                  kEnableDisableTitle);
    return false;
  }
  if (std::filesystem::exists(r.to, ec) || ec) {
    prompter.warn("The file " + displayName(r.to) + " already exists, so " + displayName(r.from) +
                      " was not renamed.",
                  kEnableDisableTitle);
    return false;
  }
  std::filesystem::rename(r.from, r.to, ec);
  if (ec) {
    prompter.warn(displayName(r.from) + " could not be renamed: " + ec.message() + ".",
                  kEnableDisableTitle);
    return false;
  }
  return true;
}

std::optional<RenamedFile> plannedRename(const std::filesystem::path& file,
                                         const PlugTypeTable& table, bool keepCase) {
  // Only files are plugins: a folder whose name ends like one keeps its name.
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec)) return std::nullopt;
  // The name's own bytes: only its ending changes, whatever the rest holds.
  auto newName = toggledName(file.filename().native(), table, keepCase);
  if (!newName) return std::nullopt;
  return RenamedFile{file, file.parent_path() / *newName};
}

}  // namespace

std::optional<std::string> toggledName(std::string_view name, const PlugTypeTable& table,
                                       bool keepCase) {
  const std::string l3 = lastLower(name, 3);
  const std::string l4 = lastLower(name, 4);
  if (l3 == "pr-" || l3 == "_rm") return replaceLast(name, 4, ".prm");
  if (l3 == "8b-" || l3 == "_bf") return replaceLast(name, 4, ".8bf");
  if (l3 == "_ex") return replaceLast(name, 4, ".aex");
  if (l4 == "_8bf") return replaceLast(name, 4, ".8bf");
  if (l4 == ".8bf") return replaceLast(name, 4, "._bf");
  if ((l3 == "prm" || l3 == "aex") && name.size() >= 4) {
    if (name[name.size() - 4] != '.') return replaceLast(name, 4, "." + tail(name, 3, keepCase));
    return replaceLast(name, 4, "_" + tail(name, 3, keepCase));
  }
  if (auto index = table.match(name)) {
    const std::size_t n = cp1252ToUtf8(table.rows()[*index].extension).size();
    if (n + 1 > name.size()) return std::nullopt;
    const char before = name[name.size() - n - 1];
    return replaceLast(name, n + 1, (before == '.' ? "_" : ".") + tail(name, n, keepCase));
  }
  return std::nullopt;
}

bool isEnabledName(std::string_view fileName, const PlugTypeTable& table) {
  const std::string l4 = lastLower(fileName, 4);
  return l4 == ".8bf" || l4 == ".prm" || l4 == ".aex" || table.matchEnabled(fileName).has_value();
}

std::string withStatePrefix(std::string_view entryText, bool enabled) {
  std::string text(entryText);
  if (!text.empty()) text[0] = enabled ? '+' : '-';
  return text;
}

EnableDisableOutcome cmd_EnableDisable(PaneView view, std::span<const std::filesystem::path> files,
                                       std::span<const std::size_t> rows, Catalogue* catalogue,
                                       const PlugTypeTable& table, Prompter& prompter) {
  EnableDisableOutcome outcome;
  if (view == PaneView::Ffl) {
    prompter.warn(kFflView, kEnableDisableTitle);
    return outcome;
  }
  if (view == PaneView::File) {
    if (files.empty()) {
      prompter.warn(kNotPossible, kEnableDisableTitle);
      return outcome;
    }
    for (const auto& file : files) {
      auto rename = plannedRename(file, table, false);
      if (!rename) continue;
      if (!renameFile(*rename, prompter)) {
        outcome.failed = true;
        break;
      }
      outcome.renamed.push_back(*rename);
    }
    return outcome;
  }
  if (!catalogue) return outcome;
  std::vector<std::filesystem::path> handled;
  for (std::size_t r : rows) {
    if (r == 0 || r > catalogue->rowCount()) continue;
    const auto path = catalogue->row(r).path;
    if (std::find(handled.begin(), handled.end(), path) != handled.end()) continue;
    handled.push_back(path);
    auto rename = plannedRename(path, table, true);
    if (!rename) continue;
    if (!renameFile(*rename, prompter)) {
      outcome.failed = true;
      break;
    }
    catalogue->replacePath(rename->from, rename->to);
    handled.push_back(rename->to);
    outcome.renamed.push_back(*rename);
  }
  return outcome;
}

}  // namespace qm::plugins
