#include "core/preferences/plugin_type_form.h"

#include <algorithm>

#include "core/plugins/text_util.h"

namespace qm::preferences {

std::expected<PluginTypeFields, PluginTypeRefusal> acceptPluginType(PluginTypeFields fields) {
  if (fields.label.empty())
    return std::unexpected(
        PluginTypeRefusal{std::string(kEnterPluginName), PluginTypeField::Label});
  if (fields.extension.empty())
    return std::unexpected(
        PluginTypeRefusal{std::string(kEnterFileExtension), PluginTypeField::Extension});
  std::string cleaned = plugins::lowerCp1252(fields.extension);
  std::erase_if(cleaned, [](char c) { return c == '.' || c == '*'; });
  fields.extension = cleaned;
  return fields;
}

std::string entryText(const PluginTypeFields& fields) {
  return fields.label + " (" + fields.extension + "|" + std::to_string(fields.nameSource) + ")";
}

PluginTypeFields splitEntry(std::string_view text) {
  PluginTypeFields fields;
  std::size_t open = text.find(" (");
  fields.label = std::string(text.substr(0, open));
  std::size_t paren = text.find('(');
  std::size_t bar = text.find('|');
  if (paren != std::string_view::npos && bar != std::string_view::npos && bar > paren)
    fields.extension = std::string(text.substr(paren + 1, bar - paren - 1));
  if (bar != std::string_view::npos && bar + 1 < text.size()) {
    char digit = text[bar + 1];
    if (digit >= '0' && digit < '0' + kNameSourceCount) fields.nameSource = digit - '0';
  }
  return fields;
}

namespace {

// Sorts the list and gives the new index of the entry that was at index.
std::size_t sortKeeping(plugins::TypeList& list, std::size_t index) {
  // Tag the entry by a position-independent copy, then find it after the stable sort.
  plugins::TypeEntry entry = list[index];
  std::size_t sameBefore = static_cast<std::size_t>(
      std::count(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(index), entry));
  plugins::sortTypeList(list);
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i] == entry && sameBefore-- == 0) return i;
  return 0;
}

}  // namespace

std::size_t addTypeEntry(plugins::TypeList& list, const PluginTypeFields& fields) {
  list.push_back({entryText(fields), true});
  return sortKeeping(list, list.size() - 1);
}

std::size_t replaceTypeEntry(plugins::TypeList& list, std::size_t index,
                             const PluginTypeFields& fields) {
  if (index >= list.size()) return index;
  list[index].text = entryText(fields);
  return sortKeeping(list, index);
}

void toggleAllTypes(plugins::TypeList& list) {
  bool anyOff = std::any_of(list.begin(), list.end(), [](const auto& e) { return !e.ticked; });
  for (auto& entry : list) entry.ticked = anyOff;
}

void mergeDefaultTypes(plugins::TypeList& list) {
  // An entry counts as present when its text up to the "|", lower-cased, starts the default.
  auto present = [&list](std::string_view wanted) {
    std::string lowerWanted = plugins::lowerCp1252(wanted);
    return std::any_of(list.begin(), list.end(), [&](const plugins::TypeEntry& e) {
      std::string key = plugins::lowerCp1252(e.text.substr(0, e.text.find('|')));
      return lowerWanted.starts_with(key);
    });
  };
  for (const auto& entry : plugins::defaultTypeList())
    if (!present(entry.text)) list.push_back({entry.text, false});
  plugins::sortTypeList(list);
}

}  // namespace qm::preferences
