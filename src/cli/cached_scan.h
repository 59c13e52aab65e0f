#pragma once
// The catalogue commands' scans through the catalogue cache: unchanged files are not read
// again, and what was read is kept for the next run.

#include <filesystem>
#include <memory>
#include <vector>

#include "cli/command.h"
#include "core/catalogue/catalogue_store.h"
#include "core/ff/options.h"
#include "core/plugins/catalogue.h"

namespace qm::cli {

// The cache, or nullptr with --no-cache or when none can be made (then every file is read).
std::unique_ptr<catalogue::CatalogueStore> openCatalogueCache(const Context& context);

struct GatheredRows {
  std::vector<plugins::CatalogueRow> rows;
  bool cancelled = false;
};

// The rows of every folder, each scanned through the cache.
GatheredRows gatherRows(Context& context, const std::vector<std::filesystem::path>& folders,
                        const plugins::ScanOptions& options, const ff::FFOptions& ffOptions);

// FOLDER arguments, or the Folders list of the program when none is given.
std::vector<std::filesystem::path> foldersOrFolderList(const Context& context,
                                                       const std::vector<std::string>& given);

}  // namespace qm::cli
