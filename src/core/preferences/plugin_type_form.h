#pragma once
// The plugin type editor's rules and the edits of the Preferences type list: the fields of an
// entry, what OK refuses, the extension clean-up, and Add, Edit, Toggle and Reset.

#include <cstddef>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "core/plugins/type_table.h"

namespace qm::preferences {

inline constexpr std::string_view kAddPluginTypeCaption = "Add Plugin Type";
inline constexpr std::string_view kEditPluginTypeCaption = "Edit Plugin Type";
inline constexpr std::string_view kEnterPluginName = "Please enter the Plugin Name!";
inline constexpr std::string_view kEnterFileExtension = "Please enter the File Extension e.g. 8bf ";

// Name sources in the order of the editor's options: "Description", "Internal Name",
// "Product Name", "File Name".
inline constexpr int kNameSourceCount = 4;

struct PluginTypeFields {
  std::string label;      // "Plugin Type:"
  std::string extension;  // "File Extension:", without the dot
  int nameSource = 0;     // 0..3
  bool operator==(const PluginTypeFields&) const = default;
};

enum class PluginTypeField { Label, Extension };

struct PluginTypeRefusal {
  std::string message;
  PluginTypeField focus;  // the box that gets the focus
};

// OK of the editor. The fields are UTF-8 as typed. Refuses an empty label, a label with a
// character the type list cannot hold (, " ( ) | or one outside Windows-1252), an empty
// extension, an extension with anything but letters and digits, and an extension another
// entry of list already has (the entry at editing aside); each message names the character or
// the type. Otherwise the fields with the extension lower-cased and every "." and "*" removed
// (".8BF" and "*.8bf" -> "8bf").
std::expected<PluginTypeFields, PluginTypeRefusal> acceptPluginType(
    PluginTypeFields fields, const plugins::TypeList& list = {},
    std::optional<std::size_t> editing = std::nullopt);

// "Foo (foo|1)" as the list holds it (Windows-1252).
std::string entryText(const PluginTypeFields& fields);
// Edit splits the current entry: label before " (", extension between "(" and "|", the digit
// after "|", as UTF-8. Pieces that are missing come back empty (digit 0).
PluginTypeFields splitEntry(std::string_view text);

// Add: the entry goes to its sorted place, ticked; returns its index.
std::size_t addTypeEntry(plugins::TypeList& list, const PluginTypeFields& fields);
// Edit: the entry at index gets the new text and keeps its tick; the list is sorted again.
// Returns the entry's new index.
std::size_t replaceTypeEntry(plugins::TypeList& list, std::size_t index,
                             const PluginTypeFields& fields);
// Toggle: ticks every entry when any is unticked, else unticks them all.
void toggleAllTypes(plugins::TypeList& list);
// Reset: adds each default that is missing, unticked; entries present keep text and tick.
void mergeDefaultTypes(plugins::TypeList& list);

}  // namespace qm::preferences
