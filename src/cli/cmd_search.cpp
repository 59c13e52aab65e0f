// search WORDS... [FOLDER...]: filters whose category, title or file name hold every word.

#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cached_scan.h"
#include "cli/catalogue_json.h"
#include "cli/ff_option_flags.h"
#include "core/catalogue/search.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHelp =
    "Filters whose category, title or file name hold every WORD (case and accents folded),\n"
    "from the catalogue cache: files unchanged since they were read are not read again.\n"
    "Arguments that name an existing folder are the FOLDERs; without any, the Folders list.\n"
    "Lines as scan prints them.\n"
    "\n"
    "  --recursive   search sub folders too\n"
    "  --sources     include txt, afs, pff and ffx files\n"
    "  --no-cache    read every file\n"
    "  --json        {\"rows\": [...]} with scan's keys\n";

int run(Context& context) {
  auto ffOptions = ffOptionsFromArgs(context);
  if (!ffOptions) {
    context.err << "quillmark-cli search: " << ffOptions.error() << '\n';
    return kUsage;
  }
  std::string query;
  std::vector<std::string> folderArgs;
  for (const auto& a : context.args.positional) {
    std::error_code ec;
    if (fs::is_directory(a, ec)) {
      folderArgs.push_back(a);
    } else {
      query += (query.empty() ? "" : " ") + a;
    }
  }
  if (catalogue::searchWords(query).empty()) {
    context.err << "quillmark-cli search: give at least one word\n";
    return kUsage;
  }
  plugins::ScanOptions options;
  options.recursive = context.args.flag("recursive");
  options.includeSources = context.args.flag("sources");
  const auto folders = foldersOrFolderList(context, folderArgs);
  if (folders.empty()) {
    context.err << "quillmark-cli search: no FOLDER given and the Folders list is empty\n";
    return kUsage;
  }
  auto gathered = gatherRows(context, folders, options, *ffOptions);
  std::vector<plugins::CatalogueRow> found;
  const catalogue::SearchIndex index(gathered.rows);
  for (std::size_t i : index.find(query)) found.push_back(gathered.rows[i]);
  if (context.args.flag("json")) {
    context.out << nlohmann::json{{"rows", rowsJson(found)}}.dump(2) << '\n';
  } else {
    printRowLines(context.out, found);
  }
  return gathered.cancelled ? kCancelled : kOk;
}

}  // namespace

CliCommand makeSearchCommand() {
  std::vector<std::string_view> flags = {"recursive", "sources", "json", "no-cache"};
  flags.insert(flags.end(), kFFFlags.begin(), kFFFlags.end());
  return {"search", "search WORDS... [FOLDER...] [--recursive] [--sources] [--no-cache] [--json]",
          kHelp,    kFFValuedOptions,
          flags,    run};
}

}  // namespace qm::cli
