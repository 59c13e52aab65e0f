#include "core/ff/file_names.h"

#include <array>

#include "core/common/unicode_text.h"

namespace qm::ff {
namespace {

constexpr std::array<std::string_view, 6> kExtensions = {"8bf", "prm", "prm", "afs", "pff", "txt"};

// . \ / : are what the program always removed; the rest are the other characters a Windows
// file name cannot hold, removed as well so a title never yields a name the system refuses.
constexpr std::string_view kNotInNames = ".\\/:*?\"<>|";

// Text is std::string (one character per byte) or std::u32string (one per code point).
template <typename Text>
bool endsWithPluginWord(const Text& name) {
  if (name.size() < 4) return false;
  constexpr std::string_view kWord = "_8bf";
  for (std::size_t i = 0; i < kWord.size(); ++i) {
    auto c = name[name.size() - 4 + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<decltype(c)>(c - 'A' + 'a');
    if (c != static_cast<decltype(c)>(kWord[i])) return false;
  }
  return true;
}

template <typename Text>
Text writtenNameOf(int target, Text name) {
  const bool plugin = target == kTargetPlugin;
  if (!plugin && target != kTargetAfs && target != kTargetPff && target != kTargetText) return name;
  Text extension(1, '.');
  for (char c : kExtensions[static_cast<std::size_t>(target)]) extension.push_back(c);
  if (name.find('.') == Text::npos && !(plugin && endsWithPluginWord(name))) name += extension;
  std::size_t keep = name.size() >= 4 ? name.size() - 4 : 0;
  if (plugin && name.size() < 4) keep = name.rfind('.');
  return name.substr(0, keep) + extension;
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
  return writtenNameOf(target, std::string(fileName));
}

std::string writtenNameUtf8(int target, std::string_view fileName) {
  if (displayText(fileName) != fileName) return writtenName(target, fileName);
  return encodeUtf8(writtenNameOf(target, decodeUtf8(fileName)));
}

std::string RemoveCharsNoSpace(std::string_view title) {
  return withoutChars(title, kNotInNames);
}

std::string RemoveChars(std::string_view title) {
  return withoutChars(withoutChars(title, kNotInNames), " ");
}

}  // namespace qm::ff
