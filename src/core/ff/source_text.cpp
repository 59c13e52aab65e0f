#include "core/ff/source_text.h"

#include <cstddef>

#include "core/ff/plugin_file_io.h"
#include "core/ff/sources.h"

namespace qm::ff {

Outcome<std::vector<std::uint8_t>, std::string> readSourceFile(const std::filesystem::path& file) {
  return readFileBytes(file, kLargestSource, kSourceTooLarge);
}

std::vector<std::string> splitTextLines(ByteView bytes) {
  std::vector<std::string> lines;
  std::string line;
  bool pending = false;  // a line has begun that no ending closed yet
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    auto c = bytes.span()[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      pending = false;
      if (c == '\r' && bytes.u8(i + 1) == '\n') ++i;
      continue;
    }
    line.push_back(static_cast<char>(c));
    pending = true;
  }
  if (pending) lines.push_back(std::move(line));
  return lines;
}

std::uint8_t lenientSliderValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\n')) ++i;
  unsigned value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<unsigned>(text[i] - '0');
    if (value > 255) return 255;  // no further digit can bring it back into range
  }
  return static_cast<std::uint8_t>(value);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    // ASCII folding only: the keys are plain letters, and other bytes must match exactly.
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(text[i]) != lower(prefix[i])) return false;
  }
  return true;
}

void nameSlidersWithValues(const std::array<std::uint8_t, 8>& values,
                           std::array<std::string, 8>& names) {
  for (std::size_t k = 0; k < values.size(); ++k)
    if (values[k] != 0) names[k] = "Slider " + std::to_string(k + 1);
}

}  // namespace qm::ff
