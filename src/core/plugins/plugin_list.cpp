#include "core/plugins/plugin_list.h"

#include <algorithm>

#include "core/batch/overwrite_check.h"
#include "core/common/cp1252.h"
#include "core/common/same_file.h"
#include "core/common/unicode_text.h"
#include "core/ff/load_file.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/plugin_reader.h"
#include "core/ff/premiere_reader.h"
#include "core/ff/sources.h"
#include "core/plugins/scan_file.h"
#include "core/plugins/text_util.h"

namespace qm::plugins {
namespace {

constexpr std::string_view kSelectFiles = "Please select one or more plugin files.";

std::string trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

// A plugin that is no Filter Factory filter is listed as the Plugin View lists it, "[Unknown]"
// rows included, so the list never leaves out a file the view shows.
std::vector<ListItem> catalogueItems(const std::filesystem::path& file,
                                     const ff::FFOptions& options, const std::string& fileName) {
  std::vector<ListItem> items;
  for (const auto& row : scanFile(file, ScanOptions{}, PlugTypeTable{}, options))
    items.push_back({cp1252ToUtf8(row.category), row.title, fileName, "", ""});
  return items;
}

}  // namespace

std::string textLine(const ListItem& item, const ListFields& fields) {
  std::string line;
  if (fields.category) line += item.category + ": ";
  if (fields.title) line += item.title;
  if (fields.fileName) line += " (" + item.fileName + ")";
  if (fields.author && !item.author.empty()) line += " by " + item.author;
  if (fields.copyright && !item.copyright.empty()) line += ", " + item.copyright;
  return line + "\r\n";
}

std::string csvLine(const ListItem& item) {
  std::string title = item.title;
  if (endsWith(title, "...")) title.resize(title.size() - 3);
  return trimmed(title) + ";" + trimmed(item.category) + ";" + trimmed(item.author) +
         ";;freeware;\r\n";
}

ListItem listItemOf(const ff::FFRecord& r) {
  return {cp1252ToUtf8(r.category), cp1252ToUtf8(r.title), cp1252ToUtf8(r.fileName),
          cp1252ToUtf8(r.author), cp1252ToUtf8(r.copyright)};
}

ListItem listItemOf(const ff::FFRecord& record, const std::filesystem::path& file) {
  ListItem item = listItemOf(record);
  item.fileName = shownRecordName(record.fileName, file);
  item.title = shownRecordName(record.title, file);
  return item;
}

std::vector<ListItem> listItemsOf(const std::filesystem::path& file, const ff::FFOptions& options) {
  const std::string name = file.filename().native();
  const std::string ext4 = lastLower(name, 4);
  ff::FFRecord record;
  if (ext4 == ".bin") {
    // A Macintosh plugin has no resource walk to fall back on.
    if (ff::Read8bf(file, record, false, false, options)) return {listItemOf(record, file)};
    return {};
  }
  if (ext4 == ".8bf" || ext4 == "._bf" || ext4 == "_8bf") {
    if (ff::Read8bf(file, record, false, false, options)) return {listItemOf(record, file)};
    return catalogueItems(file, options, displayText(name));
  }
  if (ext4 == ".prm" || ext4 == "._rm" || ext4 == "_prm") {
    if (ff::Readprm(file, record, false, false, options) ||
        ff::ReadTF(file, record, false, options))
      return {listItemOf(record, file)};
    return catalogueItems(file, options, displayText(name));
  }
  if (ext4 == ".aex" || ext4 == "._ex" || ext4 == "_aex")
    return catalogueItems(file, options, displayText(name));
  if (ext4 == ".afs" || ext4 == ".pff" || ext4 == ".txt" || ext4 == ".ffx") {
    // The same loader as every other command, so a file is a source for all or for none.
    auto source = ff::loadFilterFactoryFile(file, options, ff::LoadPurpose::Editor);
    if (source) return {listItemOf(*source, file)};
  }
  return {};
}

std::vector<std::string> pluginListLines(std::span<const ListItem> items, const ListFields& fields,
                                         bool csv) {
  std::vector<std::string> lines;
  for (const auto& item : items) lines.push_back(csv ? csvLine(item) : textLine(item, fields));
  std::vector<std::string> sorted;
  sorted.reserve(lines.size());
  for (std::size_t i : textOrder({lines.begin(), lines.end()}))
    sorted.push_back(std::move(lines[i]));
  return sorted;
}

PluginListOutcome cmd_PlugInList(const PluginListRequest& request, Prompter& prompter,
                                 ClipboardPort* clipboard, const ff::FFOptions& options) {
  PluginListOutcome outcome;
  const bool ffl = request.view == PaneView::Ffl;
  if (ffl ? request.fflEntries.empty() : request.files.empty()) {
    prompter.warn(kSelectFiles, kPluginListTitle);
    return outcome;
  }
  std::filesystem::path folder;
  // There is no option to skip the folder question: a list file always goes where the user
  // says.
  if (!request.toClipboard || !clipboard) {
    auto choice = prompter.chooseFolder(FolderRequest{});
    if (!choice) return outcome;
    folder = choice->folder;
  }
  std::vector<ListItem> items;
  if (ffl) {
    for (const auto& r : request.fflEntries) items.push_back(listItemOf(r));
  } else {
    for (const auto& f : request.files)
      for (auto& item : listItemsOf(f, options)) items.push_back(std::move(item));
  }
  auto lines = pluginListLines(items, request.fields, request.csv);
  outcome.lines = lines.size();
  std::string all;
  for (const auto& l : lines) all += l;
  if (request.toClipboard && clipboard) {
    clipboard->clear();
    if (!all.empty()) clipboard->setText(all);
    return outcome;
  }
  if (lines.empty()) return outcome;
  auto target = folder / request.fileName;
  const auto& inputs = ffl ? std::vector<std::filesystem::path>{request.library} : request.files;
  if (replacesOwnInput(target, inputs)) {
    outcome.failed = true;
    prompter.warn(ownInputMessage(target), kPluginListTitle);
    return outcome;
  }
  if (batch::OverwriteCheck(prompter)({}, target) != batch::OverwriteDecision::Write) {
    outcome.skipped = true;
    return outcome;
  }
  if (auto reason = ff::replaceFile(target, std::vector<std::uint8_t>(all.begin(), all.end()));
      !reason.empty()) {
    outcome.failed = true;
    prompter.warn("The plugin list could not be written to " + displayPath(target) + ": " + reason,
                  kPluginListTitle);
    return outcome;
  }
  outcome.written = target;
  return outcome;
}

}  // namespace qm::plugins
