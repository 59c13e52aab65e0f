#include "core/catalogue/search.h"

#include <algorithm>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"

namespace qm::catalogue {
namespace {

// Runs of accented Latin letters (Latin-1 and Extended-A) that share a base letter.
struct LetterRun {
  char32_t first;
  char32_t last;
  char32_t base;
};
constexpr LetterRun kLetterRuns[] = {
    {0xC0, 0xC5, U'a'},   {0xC7, 0xC7, U'c'},   {0xC8, 0xCB, U'e'},   {0xCC, 0xCF, U'i'},
    {0xD0, 0xD0, U'd'},   {0xD1, 0xD1, U'n'},   {0xD2, 0xD6, U'o'},   {0xD8, 0xD8, U'o'},
    {0xD9, 0xDC, U'u'},   {0xDD, 0xDD, U'y'},   {0xE0, 0xE5, U'a'},   {0xE7, 0xE7, U'c'},
    {0xE8, 0xEB, U'e'},   {0xEC, 0xEF, U'i'},   {0xF0, 0xF0, U'd'},   {0xF1, 0xF1, U'n'},
    {0xF2, 0xF6, U'o'},   {0xF8, 0xF8, U'o'},   {0xF9, 0xFC, U'u'},   {0xFD, 0xFD, U'y'},
    {0xFF, 0xFF, U'y'},   {0x100, 0x105, U'a'}, {0x106, 0x10D, U'c'}, {0x10E, 0x111, U'd'},
    {0x112, 0x11B, U'e'}, {0x11C, 0x123, U'g'}, {0x124, 0x127, U'h'}, {0x128, 0x131, U'i'},
    {0x134, 0x135, U'j'}, {0x136, 0x138, U'k'}, {0x139, 0x142, U'l'}, {0x143, 0x149, U'n'},
    {0x14C, 0x151, U'o'}, {0x154, 0x159, U'r'}, {0x15A, 0x161, U's'}, {0x162, 0x167, U't'},
    {0x168, 0x173, U'u'}, {0x174, 0x175, U'w'}, {0x176, 0x178, U'y'}, {0x179, 0x17E, U'z'},
    {0x17F, 0x17F, U's'},
};

char32_t baseLetter(char32_t c) {
  if (c < 0xC0 || c > 0x17F) return c;
  for (const auto& run : kLetterRuns)
    if (c >= run.first && c <= run.last) return run.base;
  return c;
}

}  // namespace

std::u32string searchFolded(std::string_view utf8) {
  std::u32string out;
  for (char32_t c : foldCase(utf8)) {
    switch (c) {
      case 0xDF:
        out += U"ss";
        continue;
      case 0xE6:
        out += U"ae";
        continue;
      case 0x153:
        out += U"oe";
        continue;
      default:
        break;
    }
    out.push_back(baseLetter(c));
  }
  return out;
}

std::vector<std::u32string> searchWords(std::string_view query) {
  std::vector<std::u32string> words;
  std::size_t at = 0;
  while (at < query.size()) {
    while (at < query.size() && (query[at] == ' ' || query[at] == '\t')) ++at;
    std::size_t end = at;
    while (end < query.size() && query[end] != ' ' && query[end] != '\t') ++end;
    if (end > at) words.push_back(searchFolded(query.substr(at, end - at)));
    at = end;
  }
  return words;
}

SearchIndex::SearchIndex(const std::vector<plugins::CatalogueRow>& rows) {
  haystacks_.reserve(rows.size());
  for (const auto& row : rows) {
    // A separator no word holds keeps a match from spanning two fields.
    std::u32string text = searchFolded(cp1252ToUtf8(row.category));
    text += U'\n';
    text += searchFolded(row.title);
    text += U'\n';
    text += searchFolded(displayName(row.path));
    haystacks_.push_back(std::move(text));
  }
}

std::vector<std::size_t> SearchIndex::find(std::string_view query) const {
  const auto words = searchWords(query);
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < haystacks_.size(); ++i) {
    const auto& text = haystacks_[i];
    if (std::all_of(words.begin(), words.end(),
                    [&](const std::u32string& w) { return text.find(w) != std::u32string::npos; }))
      found.push_back(i);
  }
  return found;
}

}  // namespace qm::catalogue
