#pragma once
// The lines of a text file, whichever line end it was written with.

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

}  // namespace qm
