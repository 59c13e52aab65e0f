// types: the plugin type table in force.

#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/plugin_types_cli.h"
#include "core/common/cp1252.h"

namespace qm::cli {
namespace {

constexpr std::string_view kHelp =
    "The plugin type table in force (PlugTypes.ini of the program folder, else the\n"
    "defaults): label<TAB>extension<TAB>name source<TAB>ticked per entry, in table order.\n"
    "\n"
    "  --json   {\"types\": [{\"label\", \"extension\", \"nameSource\", \"ticked\"}]}\n";

std::string nameSource(std::string_view digit) {
  if (digit == "0") return "Description";
  if (digit == "1") return "Internal Name";
  if (digit == "2") return "Product Name";
  return "File Name";
}

int run(Context& context) {
  auto list = typeListOf(context);
  // Unticked entries have empty table rows; read them from their own text.
  std::vector<plugins::TypeRow> rows;
  for (const auto& entry : list) {
    auto table = plugins::makeTypeTable({{entry.text, true}});
    rows.push_back(table.rows().front());
  }
  if (context.args.flag("json")) {
    nlohmann::json types = nlohmann::json::array();
    for (std::size_t i = 0; i < list.size(); ++i)
      types.push_back({{"label", cp1252ToUtf8(rows[i].label)},
                       {"extension", cp1252ToUtf8(rows[i].extension)},
                       {"nameSource", nameSource(rows[i].digit)},
                       {"ticked", list[i].ticked}});
    context.out << nlohmann::json{{"types", types}}.dump(2) << '\n';
    return kOk;
  }
  for (std::size_t i = 0; i < list.size(); ++i)
    context.out << cp1252ToUtf8(rows[i].label) << '\t' << cp1252ToUtf8(rows[i].extension) << '\t'
                << nameSource(rows[i].digit) << '\t' << (list[i].ticked ? "yes" : "no") << '\n';
  return kOk;
}

}  // namespace

CliCommand makeTypesCommand() {
  return {"types", "types [--json]", kHelp, {}, {"json"}, run, 0};
}

}  // namespace qm::cli
