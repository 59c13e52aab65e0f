#include "core/ff/file_names.h"

#include <array>

namespace qm::ff {
namespace {

constexpr std::array<std::string_view, 6> kExtensions = {"8bf", "prm", "prm", "afs", "pff", "txt"};

// . \ / : are what the program always removed; the rest are the other characters a Windows
// file name cannot hold, removed as well so a title never yields a name the system refuses.
constexpr std::string_view kNotInNames = ".\\/:*?\"<>|";

bool endsWithPluginWord(std::string_view name) {
  if (name.size() < 4) return false;
  std::string tail(name.substr(name.size() - 4));
  for (char& c : tail)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return tail == "_8bf";
}

std::string withoutChars(std::string_view text, std::string_view remove) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (remove.find(c) == std::string_view::npos) out += c;
  return out;
}

}  // namespace

std::string writtenName(int target, std::string_view fileName) {
  const bool plugin = target == kTargetPlugin;
  if (!plugin && target != kTargetAfs && target != kTargetPff && target != kTargetText)
    return std::string(fileName);
  const std::string extension = "." + std::string(kExtensions[static_cast<std::size_t>(target)]);
  std::string name(fileName);
  if (name.find('.') == std::string::npos && !(plugin && endsWithPluginWord(name)))
    name += extension;
  std::size_t keep = name.size() >= 4 ? name.size() - 4 : 0;
  if (plugin && name.size() < 4) keep = name.rfind('.');
  return name.substr(0, keep) + extension;
}

std::string RemoveCharsNoSpace(std::string_view title) {
  return withoutChars(title, kNotInNames);
}

std::string RemoveChars(std::string_view title) {
  return withoutChars(withoutChars(title, kNotInNames), " ");
}

}  // namespace qm::ff
