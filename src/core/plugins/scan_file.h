#pragma once
// The rows one file gives in the Plugin View scan.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/ff/options.h"
#include "core/plugins/catalogue.h"
#include "core/plugins/file_bytes.h"
#include "core/plugins/scan_cache.h"
#include "core/plugins/type_table.h"

namespace qm::plugins {

// Rows of file (without path decisions of the folder walk); empty when the file gives none.
std::vector<CatalogueRow> scanFile(const std::filesystem::path& file, const ScanOptions& options,
                                   const PlugTypeTable& table, const ff::FFOptions& ffOptions);
// The same with the file's name at hand, as the folder lists it (the file system's own
// bytes); when folder is given, the file is opened through it by that name. readStamp, when
// given, receives the stamp of the file as it was opened and read (left alone when the file
// was read by other means).
std::vector<CatalogueRow> scanFile(const std::filesystem::path& file, const OpenFolder* folder,
                                   const std::string& name, const ScanOptions& options,
                                   const PlugTypeTable& table, const ff::FFOptions& ffOptions,
                                   std::optional<FileStamp>* readStamp = nullptr);

// True when the file's ending and size mark a Filter Factory plugin (the Shift scan).
bool isFilterFactoryFile(std::string_view fileName, std::uint64_t size);

}  // namespace qm::plugins
