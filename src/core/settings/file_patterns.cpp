#include "core/settings/file_patterns.h"

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

std::string folderCaption(std::string_view path) {
  std::string caption(path);
  if (caption.empty() || caption.back() == '/' || caption.back() == '\\') return caption;
  return caption + "/";
}

}  // namespace qm::settings
