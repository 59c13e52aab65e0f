#include "core/ff/file_names.h"

#include <array>

namespace qm::ff {
namespace {

constexpr std::array<std::string_view, 6> kExtensions = {"8bf", "prm", "prm", "afs", "pff", "txt"};

// . \ / : are what the program always removed; the rest are the other characters a Windows
// file name cannot hold, removed as well so a title never yields a name the system refuses.
constexpr std::string_view kNotInNames = ".\\/:*?\"<>|";

std::string withoutChars(std::string_view text, std::string_view remove) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (remove.find(c) == std::string_view::npos) out += c;
  return out;
}

}  // namespace

std::string GetFilname(int target, std::string_view fileName) {
  if (target < 0 || target >= static_cast<int>(kExtensions.size())) return std::string(fileName);
  auto extension = kExtensions[static_cast<std::size_t>(target)];
  auto dot = fileName.find('.');
  std::string name(fileName.substr(0, dot == std::string_view::npos ? fileName.size() : dot + 1));
  name += extension;
  return name;
}

std::string RemoveCharsNoSpace(std::string_view title) {
  return withoutChars(title, kNotInNames);
}

std::string RemoveChars(std::string_view title) {
  return withoutChars(withoutChars(title, kNotInNames), " ");
}

}  // namespace qm::ff
