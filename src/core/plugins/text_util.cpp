#include "core/plugins/text_util.h"

#include <algorithm>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"

namespace qm::plugins {

char lowerCp1252(char c) {
  auto b = static_cast<unsigned char>(c);
  if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
  if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<char>(b + 16);
  if (b == 0x9F) return static_cast<char>(0xFF);
  return c;
}

std::string lowerCp1252(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = lowerCp1252(c);
  return out;
}

std::string lastLower(std::string_view text, std::size_t n) {
  return lowerCp1252(text.substr(text.size() > n ? text.size() - n : 0));
}

bool endsWith(std::string_view text, std::string_view ending) {
  return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

bool endsWithLower(std::string_view text, std::string_view lowerEnding) {
  return text.size() >= lowerEnding.size() && lastLower(text, lowerEnding.size()) == lowerEnding;
}

bool cp1252SortsBefore(std::string_view a, std::string_view b) {
  return textSortsBefore(cp1252ToUtf8(a), cp1252ToUtf8(b));
}

std::string nameBytes(const std::filesystem::path& path) {
  return utf8ToCp1252(path.filename().string());
}

std::string shownRecordName(std::string_view recordName, const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  constexpr std::size_t kEnding = 3;
  auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
  // The ending is compared as bytes, so both endings must be plain ASCII letters.
  if (name.size() >= kEnding && recordName.size() >= kEnding &&
      std::all_of(name.end() - kEnding, name.end(), isAscii) &&
      std::all_of(recordName.end() - kEnding, recordName.end(), isAscii)) {
    const std::string_view stem = std::string_view(name).substr(0, name.size() - kEnding);
    if (recordName.substr(0, recordName.size() - kEnding) == utf8ToCp1252(stem))
      return displayText(stem) + std::string(recordName.substr(recordName.size() - kEnding));
  }
  return cp1252ToUtf8(recordName);
}

}  // namespace qm::plugins
