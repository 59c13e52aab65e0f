#include "core/plugins/plugin_info.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/ff/premiere_reader.h"
#include "core/ff/record.h"
#include "core/plugins/change_category.h"
#include "core/plugins/classify.h"
#include "core/plugins/text_util.h"

namespace qm::plugins {
namespace {

constexpr std::string_view kWrongView = "Plugin Information only works in File and Plugin View.";
constexpr std::string_view kSelectFile = "Please select a plugin or other supported file.";

std::string hexUpper(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", value);
  return text;
}

// A Premiere filter whose records the resource search does not find still has the names the
// Filter Factory readers know; anything else is named after its file, as the catalogue does.
void nameUnnamedPremiereFilter(const std::filesystem::path& file, const ff::FFOptions& options,
                               PluginFacts& facts) {
  FilterInfo& first = facts.filters.front();
  if (!first.category.empty() && !first.title.empty()) return;
  ff::FFRecord record;
  if (ff::Readprm(file, record, true, false, options) || ff::ReadTF(file, record, true, options)) {
    first.category = cp1252ToUtf8(record.category);
    first.title = cp1252ToUtf8(record.title);
  }
  if (first.category.empty()) first.category = "[Unknown]";
  if (first.title.empty()) first.title = facts.fileName;
}

}  // namespace

PluginFacts pluginFacts(const std::filesystem::path& file, const PlugTypeTable& table,
                        const ff::FFOptions& options) {
  PluginFacts facts;
  facts.fileName = displayName(file);
  Classification c = classifyFile(file, table, options);
  facts.architecture = c.architecture;
  facts.fieldCaption = c.premiere ? "Plugin Name" : "Category";
  if (!c.label) return facts;
  facts.label = cp1252ToUtf8(*c.label);
  facts.filters = c.filters;
  if (c.premiere) nameUnnamedPremiereFilter(file, options, facts);
  facts.filterFactory = facts.label->find("Filter Factory") != std::string::npos;
  const FilterInfo& first = facts.filters.front();
  facts.categoryRoom = first.room;
  if (facts.filters.size() == 1 && first.position != 0)
    facts.categoryOffset = static_cast<std::uint32_t>(std::abs(std::int64_t{first.position}) - 1);
  // A template's category field has a fixed room; the zeros counted after the text would
  // include the closing zero and shrink with leftovers of an older category.
  std::error_code ec;
  auto field = templateCategoryOffset(std::filesystem::file_size(file, ec));
  if (!ec && field && facts.categoryOffset == *field + 1) facts.categoryRoom = kMaxTemplateCategory;
  return facts;
}

std::string pluginInformationText(const PluginFacts& facts) {
  std::vector<std::string> lines;
  std::size_t widest = 0;
  for (const auto& f : facts.filters) {
    lines.push_back(f.category + ": " + f.title);
    widest = std::max(widest, decodeUtf8(lines.back()).size());
  }
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  // The rule under the filters is as long as the widest filter line, counted in characters.
  text += "\r\n" + std::string(widest, '-');
  text += "\r\nType: " + facts.label.value_or("");
  if (facts.categoryRoom != 0)
    text += "\r\nMax. Category Name: " + std::to_string(facts.categoryRoom) + " letters";
  if (facts.categoryOffset)
    text += "\r\n" + facts.fieldCaption + " at &H" + hexUpper(*facts.categoryOffset);
  if (!facts.filterFactory)
    text +=
        "\r\n\r\nThis file isn't a Filter Factory plugin\r\nand therefor can't be loaded\r\ninto "
        "the Filter Factory Editor.";
  return text;
}

std::string unknownTypeText(std::string_view fileName) {
  return std::string(fileName) + " is an unknown file type or maybe damaged.";
}

void cmd_PlugInInformation(PaneView view, const std::optional<std::filesystem::path>& selected,
                           const PlugTypeTable& table, const ff::FFOptions& options,
                           Prompter& prompter) {
  if (view == PaneView::Ffl) {
    prompter.warn(kWrongView, kPluginInformationTitle);
    return;
  }
  if (!selected) {
    prompter.warn(kSelectFile, kPluginInformationTitle);
    return;
  }
  PluginFacts facts = pluginFacts(*selected, table, options);
  if (facts.label) {
    prompter.inform(pluginInformationText(facts), kPluginInformationTitle);
  } else {
    prompter.warn(unknownTypeText(facts.fileName), kPluginInformationTitle);
  }
}

}  // namespace qm::plugins
