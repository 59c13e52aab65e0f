// scan DIR: the Plugin View catalogue of a folder.

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

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
    "  --json        {\"rows\": [{\"path\", \"category\", \"title\", \"categoryPosition\",\n"
    "                \"categoryRoom\", \"architecture\"}], \"categories\": [...]}\n";

nlohmann::json optionalText(const std::optional<std::string>& text) {
  return text ? nlohmann::json(*text) : nlohmann::json(nullptr);
}

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
  auto result = catalogue.scan(folder, options, typeTableOf(context), *ffOptions, context.progress);

  if (context.args.flag("json")) {
    nlohmann::json rows = nlohmann::json::array();
    for (const auto& r : catalogue.rows()) {
      rows.push_back({{"path", displayPath(r.path)},
                      {"category", cp1252ToUtf8(r.category)},
                      {"title", r.title},
                      {"categoryPosition", r.categoryPosition},
                      {"categoryRoom", r.categoryRoom},
                      {"architecture", optionalText(r.architecture)}});
    }
    nlohmann::json categories = nlohmann::json::array();
    for (const auto& c : catalogue.categories()) categories.push_back(cp1252ToUtf8(c));
    context.out << nlohmann::json{{"rows", rows}, {"categories", categories}}.dump(2) << '\n';
  } else {
    // Lines sorted as list boxes sort, so the same folder always prints the same way.
    struct Line {
      std::string text;     // what the order compares
      std::string printed;  // one record on one line
    };
    std::vector<Line> lines;
    for (const auto& r : catalogue.rows()) {
      const std::string category = cp1252ToUtf8(r.category);
      const std::string path = displayPath(r.path);
      lines.push_back(
          {category + '\t' + r.title + '\t' + path,
           escapedField(category) + '\t' + escapedField(r.title) + '\t' + escapedField(path)});
    }
    std::vector<std::string_view> texts;
    for (const auto& l : lines) texts.push_back(l.text);
    for (std::size_t i : textOrder(texts)) context.out << lines[i].printed << '\n';
  }
  if (result.status == plugins::ScanStatus::Cancelled) return kCancelled;
  if (result.lastRow == 0) context.err << terminalText(plugins::kNoPluginsFound) << '\n';
  return kOk;
}

}  // namespace

CliCommand makeScanCommand() {
  std::vector<std::string_view> flags = {"recursive", "sources", "ff-only", "json"};
  flags.insert(flags.end(), kFFFlags.begin(), kFFFlags.end());
  return {"scan", "scan DIR [--recursive] [--sources] [--ff-only] [--json]",
          kHelp,  kFFValuedOptions,
          flags,  run,
          1};
}

}  // namespace qm::cli
