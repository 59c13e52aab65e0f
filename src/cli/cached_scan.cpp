#include "cli/cached_scan.h"

#include "cli/plugin_types_cli.h"
#include "core/preferences/list_file.h"

namespace qm::cli {

namespace fs = std::filesystem;

std::unique_ptr<catalogue::CatalogueStore> openCatalogueCache(const Context& context) {
  if (context.args.flag("no-cache")) return nullptr;
  return catalogue::CatalogueStore::open(catalogue::defaultStoreFile());
}

GatheredRows gatherRows(Context& context, const std::vector<fs::path>& folders,
                        const plugins::ScanOptions& options, const ff::FFOptions& ffOptions) {
  GatheredRows gathered;
  auto cache = openCatalogueCache(context);
  const auto table = typeTableOf(context);
  for (const auto& folder : folders) {
    plugins::Catalogue catalogue;
    auto result = catalogue.scan(folder, options, table, ffOptions, context.progress, cache.get());
    gathered.rows.insert(gathered.rows.end(), catalogue.rows().begin(), catalogue.rows().end());
    if (result.status == plugins::ScanStatus::Cancelled) {
      gathered.cancelled = true;
      break;
    }
  }
  return gathered;
}

std::vector<fs::path> foldersOrFolderList(const Context& context,
                                          const std::vector<std::string>& given) {
  std::vector<fs::path> folders;
  std::error_code ec;
  for (const auto& g : given) folders.push_back(fs::absolute(g, ec));
  if (!given.empty()) return folders;
  for (const auto& item : preferences::loadFolderList(context.programDir)) {
    fs::path folder(item);
    if (fs::is_directory(folder, ec)) folders.push_back(folder);
  }
  return folders;
}

}  // namespace qm::cli
