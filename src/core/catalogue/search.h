#pragma once
// Finding filters by words: a row matches when its category, title or file name holds every
// word, case folded as the lists sort and accents set aside ("Ätz" finds "atzen").

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/plugins/catalogue.h"

namespace qm::catalogue {

// The text as the search compares it: case folded, accented Latin letters as their base
// letter, ligatures spelled out.
std::u32string searchFolded(std::string_view utf8);
// The words of a query (runs between blanks), folded.
std::vector<std::u32string> searchWords(std::string_view query);

// The rows folded once, so each keystroke only compares.
class SearchIndex {
 public:
  explicit SearchIndex(const std::vector<plugins::CatalogueRow>& rows);
  // Positions (0-based) of the rows that hold every word, in row order; every row when the
  // query has no word.
  std::vector<std::size_t> find(std::string_view query) const;
  std::size_t size() const { return haystacks_.size(); }

 private:
  std::vector<std::u32string> haystacks_;
};

}  // namespace qm::catalogue
