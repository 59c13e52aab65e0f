#include "cli/catalogue_json.h"

#include "cli/plugin_types_cli.h"
#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/plugins/image_modes.h"

namespace qm::cli {

nlohmann::json modesJson(std::optional<std::uint32_t> modes) {
  nlohmann::json names = nlohmann::json::array();
  if (modes)
    for (auto name : plugins::modeNames(*modes)) names.push_back(std::string(name));
  return names;
}

nlohmann::json enableInfoJson(const std::optional<std::string>& enableInfo) {
  return enableInfo ? nlohmann::json(cp1252ToUtf8(*enableInfo)) : nlohmann::json(nullptr);
}

nlohmann::json rowJson(const plugins::CatalogueRow& r) {
  return {{"path", displayPath(r.path)},
          {"category", cp1252ToUtf8(r.category)},
          {"title", r.title},
          {"categoryPosition", r.categoryPosition},
          {"categoryRoom", r.categoryRoom},
          {"architecture", r.architecture ? nlohmann::json(*r.architecture) : nlohmann::json()},
          {"modes", modesJson(r.modes)},
          {"enableInfo", enableInfoJson(r.enableInfo)}};
}

nlohmann::json rowsJson(const std::vector<plugins::CatalogueRow>& rows) {
  nlohmann::json all = nlohmann::json::array();
  for (const auto& r : rows) all.push_back(rowJson(r));
  return all;
}

void printRowLines(std::ostream& out, const std::vector<plugins::CatalogueRow>& rows) {
  // Sorted as list boxes sort, so the same folder always prints the same way.
  struct Line {
    std::string text;     // what the order compares
    std::string printed;  // one record on one line
  };
  std::vector<Line> lines;
  for (const auto& r : rows) {
    const std::string category = cp1252ToUtf8(r.category);
    const std::string path = displayPath(r.path);
    lines.push_back(
        {category + '\t' + r.title + '\t' + path,
         escapedField(category) + '\t' + escapedField(r.title) + '\t' + escapedField(path)});
  }
  std::vector<std::string_view> texts;
  for (const auto& l : lines) texts.push_back(l.text);
  for (std::size_t i : textOrder(texts)) out << lines[i].printed << '\n';
}

}  // namespace qm::cli
