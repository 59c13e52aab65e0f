#pragma once
// The lines of a text file, whichever line end it was written with, and their blanks.

#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Lines split at "\n" with a trailing "\r" removed; a final line end adds no empty line. The
// views point into text.
inline std::vector<std::string_view> textLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    start = end == std::string_view::npos ? text.size() : end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
  }
  return lines;
}

// text without the characters of blanks at either end.
inline std::string_view trimEnds(std::string_view text, std::string_view blanks = " ") {
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// parts one after the other with separator between them.
inline std::string joinedText(const std::vector<std::string>& parts, std::string_view separator) {
  std::string text;
  for (const auto& part : parts) {
    if (!text.empty()) text.append(separator);
    text.append(part);
  }
  return text;
}

}  // namespace qm
