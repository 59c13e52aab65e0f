#include "core/settings/file_patterns.h"

#include <cctype>

namespace qm::settings {

const std::array<PatternEntry, 6>& patternEntries() {
  static const std::array<PatternEntry, 6> entries{{
      {"All Files (*.*)", "*.*"},
      {"Adobe Plugins (*.8bf;*.prm;*.aex)",
       "*.8b?;*._bf;*_8bf;*.prm;*.pr-;*._rm;*_prm;*.aex;*.ae-;*_aex"},
      {"Image Files (*.jpg;*.gif;*.bmp;*.wmf;*.png;*.tga;*.pcx;*.tif;*.eps)",
       "*.jpg;*.gif;*.bmp;*.wmf;*.png;*.tga;*.pcx;*.tif;*.eps"},
      {"Defined Plugins (see Preferences)", ""},
      {"FF Source Files (*.ffl;*.txt;*.afs;*.pff;*.ffx)", "*.ffl;*.txt;*.afs;*.pff;*.ffx"},
      {"Zip Files (*.zip)", "*.zip"},
  }};
  return entries;
}

std::string patternFor(const PatternChoice& choice, std::string_view typeTablePattern) {
  if (choice.typed) return *choice.typed;
  if (choice.index == kDefinedPluginsEntry) {
    if (typeTablePattern.starts_with(';')) typeTablePattern.remove_prefix(1);
    return std::string(typeTablePattern);
  }
  int index = choice.index >= 0 && choice.index < 6 ? choice.index : 0;
  return std::string(patternEntries()[index].pattern);
}

std::vector<std::string> splitPattern(std::string_view pattern) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= pattern.size()) {
    std::size_t end = pattern.find(';', start);
    if (end == std::string_view::npos) end = pattern.size();
    std::string_view part = pattern.substr(start, end - start);
    while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
    while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
    if (!part.empty()) parts.emplace_back(part);
    start = end + 1;
  }
  return parts;
}

bool wildcardMatch(std::string_view part, std::string_view name) {
  auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  };
  // Greedy matching with one backtrack point: linear in practice, never recursive.
  std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < part.size() && (part[p] == '?' || same(part[p], name[n]))) {
      ++p;
      ++n;
    } else if (p < part.size() && part[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < part.size() && part[p] == '*') ++p;
  return p == part.size();
}

bool matchesPattern(std::string_view pattern, std::string_view name) {
  for (const auto& part : splitPattern(pattern)) {
    // "*.*" lists every file, also those without a dot.
    if (part == "*.*" || wildcardMatch(part, name)) return true;
  }
  return false;
}

std::string folderCaption(std::string_view path) {
  std::string caption(path);
  if (caption.empty() || caption.back() == '/' || caption.back() == '\\') return caption;
  return caption + "/";
}

}  // namespace qm::settings
