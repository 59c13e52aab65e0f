// scan DIR: the Plugin View catalogue of a folder.

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cached_scan.h"
#include "cli/catalogue_json.h"
#include "cli/ff_option_flags.h"
#include "cli/plugin_types_cli.h"
#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/common/unreadable_reason.h"
#include "core/plugins/catalogue.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHelp =
    "The Plugin View catalogue of DIR: one line per filter, category<TAB>title<TAB>path,\n"
    "sorted case-insensitively as the filter list sorts.\n"
    "\n"
    "  --recursive   search sub folders too\n"
    "  --sources     include txt, afs, pff and ffx files\n"
    "  --ff-only     only Filter Factory plugins (as Shift does in the desktop program)\n"
    "  --no-cache    read every file; the catalogue cache ($XDG_CACHE_HOME/Quillmark) is\n"
    "                neither read nor written\n"
    "  --json        {\"rows\": [{\"path\", \"category\", \"title\", \"categoryPosition\",\n"
    "                \"categoryRoom\", \"architecture\", \"modes\", \"enableInfo\"}],\n"
    "                \"categories\": [...]}\n";

int run(Context& context) {
  if (context.args.positional.size() != 1) {
    context.err << "quillmark-cli scan: give exactly one folder\n";
    return kUsage;
  }
  auto ffOptions = ffOptionsFromArgs(context);
  if (!ffOptions) {
    context.err << "quillmark-cli scan: " << ffOptions.error() << '\n';
    return kUsage;
  }
  std::error_code ec;
  // "." and ".." spelled in the argument do not reach the printed paths.
  fs::path folder = fs::absolute(context.args.positional[0], ec).lexically_normal();
  if (!folder.has_filename() && folder.has_relative_path()) folder = folder.parent_path();
  if (ec || !fs::is_directory(folder, ec)) {
    // A missing folder gets the system's reason; a file is no folder.
    context.err << context.args.positional[0] << ": "
                << unreadableReason(folder).value_or("not a folder") << '\n';
    return kSomeFailed;
  }
  plugins::ScanOptions options;
  options.recursive = context.args.flag("recursive");
  options.includeSources = context.args.flag("sources");
  options.filterFactoryOnly = context.args.flag("ff-only");
  plugins::Catalogue catalogue;
  auto cache = openCatalogueCache(context);
  auto result = catalogue.scan(folder, options, typeTableOf(context), *ffOptions, context.progress,
                               cache.get());

  if (context.args.flag("json")) {
    nlohmann::json rows = rowsJson(catalogue.rows());
    nlohmann::json categories = nlohmann::json::array();
    for (const auto& c : catalogue.categories()) categories.push_back(cp1252ToUtf8(c));
    context.out << nlohmann::json{{"rows", rows}, {"categories", categories}}.dump(2) << '\n';
  } else {
    printRowLines(context.out, catalogue.rows());
  }
  if (result.status == plugins::ScanStatus::Cancelled) return kCancelled;
  if (result.lastRow == 0) context.err << terminalText(plugins::kNoPluginsFound) << '\n';
  return kOk;
}

}  // namespace

CliCommand makeScanCommand() {
  std::vector<std::string_view> flags = {"recursive", "sources", "ff-only", "json", "no-cache"};
  flags.insert(flags.end(), kFFFlags.begin(), kFFFlags.end());
  return {"scan", "scan DIR [--recursive] [--sources] [--ff-only] [--no-cache] [--json]",
          kHelp,  kFFValuedOptions,
          flags,  run,
          1};
}

}  // namespace qm::cli
