// info FILE: Plugin Information.

#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/catalogue_json.h"
#include "cli/ff_option_flags.h"
#include "cli/plugin_types_cli.h"
#include "core/common/unicode_text.h"
#include "core/common/unreadable_reason.h"
#include "core/host/filter_loader.h"
#include "core/plughost/runs_where.h"
#include "core/plugins/enable_info.h"
#include "core/plugins/plugin_info.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHelp =
    "Plugin Information of FILE: its filters, type and where its category lies.\n"
    "\n"
    "  --json   {\"type\", \"filters\": [{\"category\", \"title\"}], \"categoryRoom\",\n"
    "           \"categoryOffset\", \"fieldCaption\", \"filterFactory\", \"architecture\",\n"
    "           \"modes\": [...], \"enableInfo\", \"runs\": \"engine\" | \"wine\" | \"no\", \"why\"}:\n"
    "           modes are the image modes a host offers the filter in (its enable-info\n"
    "           expression evaluated per mode, else its modes); runs says what runs its filters\n";

int run(Context& context) {
  if (context.args.positional.size() != 1) {
    context.err << "quillmark-cli info: give exactly one file\n";
    return kUsage;
  }
  auto ffOptions = ffOptionsFromArgs(context);
  if (!ffOptions) {
    context.err << "quillmark-cli info: " << ffOptions.error() << '\n';
    return kUsage;
  }
  const fs::path file = context.args.positional[0];
  if (auto problem = unreadableReason(file)) {
    context.err << displayPath(file) << ": " << *problem << '\n';
    return kSomeFailed;
  }
  auto facts = plugins::pluginFacts(file, typeTableOf(context), *ffOptions);
  // A file of several filters is offered in every mode one of them takes.
  std::optional<std::uint32_t> modes;
  for (const auto& f : facts.filters)
    if (auto m = plugins::offeredModes(f.enableInfo, f.supportedModes))
      modes = modes.value_or(0) | *m;
  const auto enableInfo = facts.filters.empty() ? std::nullopt : facts.filters.front().enableInfo;
  if (context.args.flag("json")) {
    nlohmann::json filters = nlohmann::json::array();
    for (const auto& f : facts.filters)
      filters.push_back({{"category", f.category}, {"title", f.title}});
    nlohmann::json doc = {
        {"type", facts.label ? nlohmann::json(*facts.label) : nlohmann::json()},
        {"filters", filters},
        {"categoryRoom", facts.categoryRoom},
        {"categoryOffset",
         facts.categoryOffset ? nlohmann::json(*facts.categoryOffset) : nlohmann::json()},
        {"fieldCaption", facts.fieldCaption},
        {"filterFactory", facts.filterFactory},
        {"architecture",
         facts.architecture ? nlohmann::json(*facts.architecture) : nlohmann::json()},
        {"modes", modesJson(modes)},
        {"enableInfo", enableInfoJson(enableInfo)}};
    const bool engine = facts.filterFactory || host::loadFilter(file.string(), *ffOptions);
    const auto where =
        plughost::runsWhere(file, engine, plughost::findWine(plughost::wineSearchFolders()));
    doc["runs"] = plughost::runnerName(where.runner);
    doc["why"] = where.why;
    context.out << doc.dump(2) << '\n';
    return kOk;
  }
  if (facts.label) {
    context.out << terminalLines(plugins::pluginInformationText(facts)) << '\n';
  } else {
    context.out << terminalLines(plugins::unknownTypeText(facts.fileName)) << '\n';
  }
  return kOk;
}

}  // namespace

CliCommand makeInfoCommand() {
  std::vector<std::string_view> flags = {"json"};
  flags.insert(flags.end(), kFFFlags.begin(), kFFFlags.end());
  return {"info", "info FILE [--json]", kHelp, kFFValuedOptions, flags, run, 1};
}

}  // namespace qm::cli
