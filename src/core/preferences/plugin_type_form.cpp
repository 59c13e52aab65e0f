#include "core/preferences/plugin_type_form.h"

#include <algorithm>
#include <cctype>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/plugins/text_util.h"

namespace qm::preferences {

namespace {

PluginTypeRefusal refusal(std::string message, PluginTypeField focus) {
  return {std::move(message), focus};
}

std::string quoted(char32_t c) {
  std::string text = "\"";
  appendUtf8(text, c);
  return text + "\"";
}

// The first character of a UTF-8 text that Windows-1252 has no byte for.
std::optional<char32_t> outsideCp1252(std::string_view utf8) {
  for (char32_t c : decodeUtf8(utf8)) {
    std::string one;
    appendUtf8(one, c);
    if (c == kReplacementCharacter || cp1252ToUtf8(utf8ToCp1252(one)) != one) return c;
  }
  return std::nullopt;
}

bool isLetterOrDigit(char32_t c) {
  if (c < 0x80) return std::isalnum(static_cast<int>(c)) != 0;
  // Beyond ASCII a letter is what has a case; digits are the ASCII ones.
  return foldCase(c) != c || upperCase(c) != c;
}

}  // namespace

std::expected<PluginTypeFields, PluginTypeRefusal> acceptPluginType(
    PluginTypeFields fields, const plugins::TypeList& list, std::optional<std::size_t> editing) {
  using F = PluginTypeField;
  if (fields.label.empty())
    return std::unexpected(refusal(std::string(kEnterPluginName), F::Label));
  // These cut an entry of the type list into its parts.
  if (auto at = fields.label.find_first_of(",\"()|"); at != std::string::npos)
    return std::unexpected(refusal(
        "The Plugin Name cannot contain " + quoted(static_cast<char32_t>(fields.label[at])) + ".",
        F::Label));
  if (auto c = outsideCp1252(fields.label))
    return std::unexpected(refusal("The Plugin Name cannot contain " + quoted(*c) +
                                       " (the type list holds Windows-1252 text only).",
                                   F::Label));
  std::u32string extension;
  for (char32_t c : foldCase(fields.extension))
    if (c != U'.' && c != U'*') extension.push_back(c);
  if (extension.empty())
    return std::unexpected(refusal(std::string(kEnterFileExtension), F::Extension));
  for (char32_t c : extension)
    if (!isLetterOrDigit(c))
      return std::unexpected(
          refusal("The File Extension can only hold letters and digits, not " + quoted(c) + ".",
                  F::Extension));
  if (auto c = outsideCp1252(fields.extension))
    return std::unexpected(refusal("The File Extension cannot contain " + quoted(*c) +
                                       " (the type list holds Windows-1252 text only).",
                                   F::Extension));
  fields.extension = encodeUtf8(extension);
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (editing == i) continue;
    const auto other = splitEntry(list[i].text);
    if (foldCase(other.extension) == extension)
      return std::unexpected(refusal("The File Extension \"" + fields.extension +
                                         "\" already belongs to \"" + other.label + "\".",
                                     F::Extension));
  }
  return fields;
}

std::string entryText(const PluginTypeFields& fields) {
  return utf8ToCp1252(fields.label) + " (" + utf8ToCp1252(fields.extension) + "|" +
         std::to_string(fields.nameSource) + ")";
}

PluginTypeFields splitEntry(std::string_view text) {
  PluginTypeFields fields;
  std::size_t open = text.find(" (");
  fields.label = cp1252ToUtf8(text.substr(0, open));
  std::size_t paren = text.find('(');
  std::size_t bar = text.find('|');
  if (paren != std::string_view::npos && bar != std::string_view::npos && bar > paren)
    fields.extension = cp1252ToUtf8(text.substr(paren + 1, bar - paren - 1));
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
