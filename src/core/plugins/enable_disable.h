#pragma once
// Enable/Disable: plugins are switched off and on by renaming their files.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/ports.h"
#include "core/plugins/catalogue.h"
#include "core/plugins/drop_rules.h"
#include "core/plugins/type_table.h"

namespace qm::plugins {

inline constexpr std::string_view kEnableDisableTitle = "Enable/Disable";

// The toggled name, or nullopt when the name follows no rule. keepCase (Plugin View): the
// characters taken over from the old name keep their case; the File View lower-cases them.
// fileName is the file system's own name (UTF-8); everything before the ending stays as is.
std::optional<std::string> toggledName(std::string_view fileName, const PlugTypeTable& table,
                                       bool keepCase);
// True for the enabled forms (".8bf", ".prm", ".aex", "." + a table extension).
bool isEnabledName(std::string_view fileName, const PlugTypeTable& table);
// A filter-list entry's text with its first character set to "+" or "-".
std::string withStatePrefix(std::string_view entryText, bool enabled);

struct RenamedFile {
  std::filesystem::path from;
  std::filesystem::path to;
};

struct EnableDisableOutcome {
  std::vector<RenamedFile> renamed;
  bool failed = false;  // a rename failed and ended the command
};

// cmd_EnableDisable. File View: files are the selection. Plugin View: rows are the selected
// entries' item data in list order; catalogue rows get the new paths. FFL View refuses.
EnableDisableOutcome cmd_EnableDisable(PaneView view, std::span<const std::filesystem::path> files,
                                       std::span<const std::size_t> rows, Catalogue* catalogue,
                                       const PlugTypeTable& table, Prompter& prompter);

}  // namespace qm::plugins
