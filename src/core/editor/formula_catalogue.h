#pragma once
// The functions and variables the editor offers: in its menus, in completion and in the
// tooltips over names, each with its argument names and one line of meaning.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qm::editor {

struct CatalogueEntry {
  std::string_view name;
  std::string_view arguments;  // "a,b,n,d"; empty for a variable
  std::string_view meaning;    // one line for menus and tooltips
  bool isFunction() const { return !arguments.empty(); }
};

std::span<const CatalogueEntry> functionEntries();
std::span<const CatalogueEntry> variableEntries();

// The entry of a function or variable named exactly name, else null.
const CatalogueEntry* findEntry(std::string_view name);

// "mix(a,b,n,d)", or the name of a variable.
std::string signature(const CatalogueEntry& entry);

// Argument placeholders are marked with these; the formula language has no such characters,
// so a placeholder left in a formula is an error, never a value by accident.
inline constexpr char16_t kPlaceholderOpen = u'\u2039';
inline constexpr char16_t kPlaceholderClose = u'\u203a';

// What picking a function inserts: "mix(‹a›,‹b›,‹n›,‹d›)", or the variable's name (UTF-16,
// as the formula boxes hold text).
std::u16string insertionText(const CatalogueEntry& entry);

// A range of a box's text.
struct TextRange {
  std::size_t start = 0;
  std::size_t length = 0;
};

// What an insertion selects afterwards, relative to its start: the first placeholder, or an
// empty range at the end of a text without one.
TextRange selectionAfterInsert(std::u16string_view inserted);

// The next placeholder at or after from (wrapping to the start), if the text has any.
std::optional<TextRange> findPlaceholder(std::u16string_view text, std::size_t from);

// True when inserting into a box replaces all of it: the box shows only its channel letter,
// the placeholder a new filter starts with.
bool insertionReplacesBox(std::string_view boxText, int box);

}  // namespace qm::editor
