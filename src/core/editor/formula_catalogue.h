#pragma once
// The functions and variables the editor offers for pasting into a formula box.

#include <span>
#include <string_view>

namespace qm::editor {

struct CatalogueEntry {
  std::string_view text;     // what is inserted
  std::string_view meaning;  // a short explanation for menus and tooltips
};

std::span<const CatalogueEntry> functionEntries();
std::span<const CatalogueEntry> variableEntries();

// Where the caret goes after inserting text at offset `at`: just after its first "(", or
// after the whole text when it has none.
std::size_t caretAfterInsert(std::string_view text, std::size_t at);

}  // namespace qm::editor
