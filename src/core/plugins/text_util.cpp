#include "core/plugins/text_util.h"

#include <algorithm>

#include "core/common/cp1252.h"

namespace qm::plugins {

char lowerCp1252(char c) {
  auto b = static_cast<unsigned char>(c);
  if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
  if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<char>(b + 16);
  if (b == 0x9F) return static_cast<char>(0xFF);
  return c;
}

char upperCp1252(char c) {
  auto b = static_cast<unsigned char>(c);
  if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
  if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);
  if (b == 0x9A || b == 0x9C || b == 0x9E) return static_cast<char>(b - 16);
  if (b == 0xFF) return static_cast<char>(0x9F);
  return c;  // ß, µ and the like have no single-character upper case here
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

bool sortsBefore(std::string_view a, std::string_view b) {
  auto lowerLess = [](char x, char y) {
    return static_cast<unsigned char>(lowerCp1252(x)) < static_cast<unsigned char>(lowerCp1252(y));
  };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lowerLess)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lowerLess)) return false;
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

std::string nameBytes(const std::filesystem::path& path) {
  return utf8ToCp1252(path.filename().string());
}

}  // namespace qm::plugins
