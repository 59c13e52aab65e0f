#pragma once
// The rows one file gives in the Plugin View scan.

#include <filesystem>
#include <vector>

#include "core/ff/options.h"
#include "core/plugins/catalogue.h"
#include "core/plugins/type_table.h"

namespace qm::plugins {

// Rows of file (without path decisions of the folder walk); empty when the file gives none.
std::vector<CatalogueRow> scanFile(const std::filesystem::path& file, const ScanOptions& options,
                                   const PlugTypeTable& table, const ff::FFOptions& ffOptions);

// True when the file's ending and size mark a Filter Factory plugin (the Shift scan).
bool isFilterFactoryFile(std::string_view fileName, std::uint64_t size);

}  // namespace qm::plugins
