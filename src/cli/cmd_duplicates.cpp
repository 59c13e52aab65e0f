// duplicates [FOLDER...]: files that hold the same filter.

#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cached_scan.h"
#include "cli/ff_option_flags.h"
#include "cli/plugin_types_cli.h"
#include "core/catalogue/duplicates.h"
#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/common/unreadable_reason.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHelp =
    "Groups of files that hold the same filter (same category and title), from the catalogue\n"
    "cache; without FOLDER, the Folders list. Text: a line category<TAB>title per group,\n"
    "with \" (identical files)\" when every file has the same bytes, then one indented path per\n"
    "file.\n"
    "\n"
    "  --recursive   search sub folders too\n"
    "  --sources     include txt, afs, pff and ffx files\n"
    "  --no-cache    read every file\n"
    "  --json        {\"groups\": [{\"category\", \"title\", \"identical\", \"paths\": [...]}]}\n";

int run(Context& context) {
  auto ffOptions = ffOptionsFromArgs(context);
  if (!ffOptions) {
    context.err << "quillmark-cli duplicates: " << ffOptions.error() << '\n';
    return kUsage;
  }
  for (const auto& a : context.args.positional) {
    std::error_code ec;
    if (!fs::is_directory(a, ec)) {
      context.err << a << ": " << unreadableReason(a).value_or("not a folder") << '\n';
      return kSomeFailed;
    }
  }
  plugins::ScanOptions options;
  options.recursive = context.args.flag("recursive");
  options.includeSources = context.args.flag("sources");
  const auto folders = foldersOrFolderList(context, context.args.positional);
  if (folders.empty()) {
    context.err << "quillmark-cli duplicates: no FOLDER given and the Folders list is empty\n";
    return kUsage;
  }
  auto gathered = gatherRows(context, folders, options, *ffOptions);
  const auto groups = catalogue::findDuplicates(gathered.rows);
  if (context.args.flag("json")) {
    nlohmann::json all = nlohmann::json::array();
    for (const auto& g : groups) {
      nlohmann::json paths = nlohmann::json::array();
      for (const auto& p : g.paths) paths.push_back(displayPath(p));
      all.push_back({{"category", cp1252ToUtf8(g.category)},
                     {"title", g.title},
                     {"identical", g.identical},
                     {"paths", paths}});
    }
    context.out << nlohmann::json{{"groups", all}}.dump(2) << '\n';
  } else {
    for (const auto& g : groups) {
      context.out << escapedField(cp1252ToUtf8(g.category)) << '\t' << escapedField(g.title)
                  << (g.identical ? " (identical files)" : "") << '\n';
      for (const auto& p : g.paths) context.out << "  " << escapedField(displayPath(p)) << '\n';
    }
  }
  return gathered.cancelled ? kCancelled : kOk;
}

}  // namespace

CliCommand makeDuplicatesCommand() {
  std::vector<std::string_view> flags = {"recursive", "sources", "json", "no-cache"};
  flags.insert(flags.end(), kFFFlags.begin(), kFFFlags.end());
  return {"duplicates", "duplicates [FOLDER...] [--recursive] [--sources] [--no-cache] [--json]",
          kHelp,        kFFValuedOptions,
          flags,        run};
}

}  // namespace qm::cli
