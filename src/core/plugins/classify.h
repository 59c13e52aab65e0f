#pragma once
// The type label of a file and its filters, as Plugin Information reports them.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/ff/options.h"
#include "core/plugins/filter_info.h"
#include "core/plugins/type_table.h"

namespace qm::plugins {

struct Classification {
  std::optional<std::string> label;  // Windows-1252; nullopt: no recognised type
  // At least one when there is a label. Their texts are for showing (UTF-8): what was read
  // from the file converted, a name from the disk as it stands.
  std::vector<FilterInfo> filters;
  bool premiere = false;   // .prm / _rm: the field is a "Plugin Name"
  bool typeTable = false;  // identified by the plugin type table
  std::optional<std::string> architecture;
};

Classification classifyFile(const std::filesystem::path& file, const PlugTypeTable& table,
                            const ff::FFOptions& options);

}  // namespace qm::plugins
