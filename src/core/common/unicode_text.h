#pragma once
// File names are the platform's own text (UTF-8 here). These helpers show, compare and
// case-map such text without ever squeezing it through a legacy code page.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Each byte that does not start a well-formed UTF-8 sequence counts as one U+FFFD.
std::u32string decodeUtf8(std::string_view bytes);
void appendUtf8(std::string& out, char32_t codePoint);
std::string encodeUtf8(std::u32string_view text);

// Valid UTF-8 for showing, whatever the bytes hold: bad bytes become U+FFFD.
std::string displayText(std::string_view bytes);
// The file or folder name of path (its last part) as displayText.
std::string displayName(const std::filesystem::path& path);
// The whole path as displayText.
std::string displayPath(const std::filesystem::path& path);

// Simple case mappings for Latin (ASCII, Latin-1, Extended-A and Additional), Greek, Cyrillic,
// Armenian and full-width Latin; other characters map to themselves.
char32_t foldCase(char32_t c);
char32_t upperCase(char32_t c);
std::u32string foldCase(std::string_view utf8);
// The text with its first character upper-cased.
std::string withUpperFirst(std::string_view utf8);

// The order of every list: case-folded text first, then code points (the bytes, which
// order valid UTF-8 by code point and still tell apart names with bad bytes).
bool textSortsBefore(std::string_view a, std::string_view b);
// The positions of texts in that order (equal texts keep theirs), each text folded once, so
// long lists are not decoded again for every comparison.
std::vector<std::size_t> textOrder(const std::vector<std::string_view>& texts);

}  // namespace qm
