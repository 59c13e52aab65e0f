#pragma once
// The plugin list: one line per filter of the selected files (or FFL entries), as text or
// as semicolon-separated values, sorted, into a file or onto the clipboard.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/ports.h"
#include "core/ff/options.h"
#include "core/ff/record.h"
#include "core/plugins/drop_rules.h"

namespace qm::plugins {

inline constexpr std::string_view kPluginListTitle = "Plugin List";
inline constexpr std::string_view kDefaultListFileName = "FFL-List.txt";

// The dialog's "Include" boxes.
struct ListFields {
  bool category = true;
  bool title = true;
  bool fileName = false;
  bool author = false;
  bool copyright = false;
};

// What one line is made of, UTF-8: texts read from files are converted, file names keep
// their characters. List files are written in UTF-8 too.
struct ListItem {
  std::string category;
  std::string title;
  std::string fileName;
  std::string author;
  std::string copyright;
};

std::string textLine(const ListItem& item, const ListFields& fields);  // ends in CR LF
std::string csvLine(const ListItem& item);                             // ends in CR LF

// The items a file gives (none when no reader understands it); fileName is file's own.
std::vector<ListItem> listItemsOf(const std::filesystem::path& file, const ff::FFOptions& options);
ListItem listItemOf(const ff::FFRecord& record);
// The item of a record read from file: a name or title taken from the file's name shows the
// real name.
ListItem listItemOf(const ff::FFRecord& record, const std::filesystem::path& file);

// The lines of every item, sorted case-insensitively (ties by code point).
std::vector<std::string> pluginListLines(std::span<const ListItem> items, const ListFields& fields,
                                         bool csv);

// The clipboard as the list command uses it. Text is UTF-8.
class ClipboardPort {
 public:
  virtual ~ClipboardPort() = default;
  virtual void clear() = 0;
  virtual void setText(std::string_view text) = 0;
};

struct PluginListRequest {
  PaneView view = PaneView::File;
  std::vector<std::filesystem::path> files;  // File and Plugin View selection
  std::vector<ff::FFRecord> fflEntries;      // FFL View selection, loaded by the caller
  std::filesystem::path library;             // FFL View: the library the entries come from
  ListFields fields;
  bool csv = false;
  bool toClipboard = false;
  std::string fileName = std::string(kDefaultListFileName);  // UTF-8
};

struct PluginListOutcome {
  std::optional<std::filesystem::path> written;  // the list file, when one was written
  std::size_t lines = 0;
  bool failed = false;   // the list file could not be written
  bool skipped = false;  // an existing file the user chose to keep
};

// cmd_PlugInList after the dialog: asks for the folder (unless to the clipboard) and writes.
// An existing list file goes through the overwrite question; one of the listed files is
// never replaced.
PluginListOutcome cmd_PlugInList(const PluginListRequest& request, Prompter& prompter,
                                 ClipboardPort* clipboard, const ff::FFOptions& options);

}  // namespace qm::plugins
