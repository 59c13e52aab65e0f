#pragma once
// Plugin Information: what the catalogue knows about one file, as facts and as the message.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/ports.h"
#include "core/ff/options.h"
#include "core/plugins/drop_rules.h"
#include "core/plugins/filter_info.h"
#include "core/plugins/type_table.h"

namespace qm::plugins {

inline constexpr std::string_view kPluginInformationTitle = "Plugin Information";

// Every text is for showing (UTF-8): what was read from the file converted from
// Windows-1252, names from the disk as they stand.
struct PluginFacts {
  std::string fileName;
  std::optional<std::string> label;  // nullopt: unknown type
  std::vector<FilterInfo> filters;   // empty without a label
  std::uint32_t categoryRoom = 0;    // room of filter 1
  // |position| - 1 of filter 1, only with exactly one filter and a non-zero position.
  std::optional<std::uint32_t> categoryOffset;
  std::string fieldCaption;  // "Category", or "Plugin Name" for Premiere files
  bool filterFactory = false;
  std::optional<std::string> architecture;
};

PluginFacts pluginFacts(const std::filesystem::path& file, const PlugTypeTable& table,
                        const ff::FFOptions& options);

// The message text (UTF-8, lines ended by CR LF); only for facts with a label.
std::string pluginInformationText(const PluginFacts& facts);
// file name + " is an unknown file type or maybe damaged."
std::string unknownTypeText(std::string_view fileName);

// cmd_PlugInInformation for the selected file (nullopt: nothing selected).
void cmd_PlugInInformation(PaneView view, const std::optional<std::filesystem::path>& selected,
                           const PlugTypeTable& table, const ff::FFOptions& options,
                           Prompter& prompter);

}  // namespace qm::plugins
