#include "core/settings/window_state.h"

#include "core/settings/spelling.h"

namespace qm::settings {
namespace {

constexpr int kPatternEntries = 6;

PatternChoice readPattern(const std::string& value) {
  PatternChoice choice;
  if (!value.empty() && value.front() == '-') {
    choice.typed = value.substr(1);
    return choice;
  }
  long long index = lenientInteger(value);
  // An index the box does not have selects its first entry.
  choice.index = index >= 0 && index < kPatternEntries ? static_cast<int>(index) : 0;
  return choice;
}

std::string writePattern(const PatternChoice& choice) {
  return choice.typed ? "-" + *choice.typed : blankSigned(choice.index);
}

std::optional<double> optionalNumber(const Store& store, std::string_view section,
                                     std::string_view key) {
  std::string value = store.get(section, key);
  if (value.empty()) return std::nullopt;
  return lenientNumber(value);
}

std::string pixels(double value) {
  return plainNumber(static_cast<long long>(value));
}

}  // namespace

WindowState loadWindowState(const Store& store) {
  WindowState s;
  for (int i = 0; i < kPaneCount; ++i) {
    PaneState& p = s.panes[i];
    long long key = lenientInteger(store.get(kFolders, indexedKey("Sortkey", i)));
    p.sortKey = key >= 0 && key <= 2 ? static_cast<int>(key) : 0;
    std::string direction = store.get(kFolders, indexedKey("SortDirection", i));
    p.sortAscending = direction.empty() || direction == "True";
    p.pattern = readPattern(store.get(kFolders, indexedKey("Pattern", i + 1)));
    std::string mode = store.get(kSettings, indexedKey("FileViewMode", i));
    if (!mode.empty() && isFileViewMode(lenientInteger(mode)))
      p.fileViewMode = static_cast<FileViewMode>(lenientInteger(mode));
    p.folder = store.get(kFolders, indexedKey("Folder", i + 1));
  }
  s.maximized = store.get(kFolders, "Maximize") == "True";
  s.halfMode = store.get(kSettings, "Halfmode") == "True";
  s.width = optionalNumber(store, kSettings, "Width");
  if (s.width) s.height = lenientNumber(store.get(kSettings, "Height"));
  s.x = optionalNumber(store, kFolders, "LastX");
  s.y = optionalNumber(store, kFolders, "LastY");
  for (int i = 1; store.contains(kFolders, plainNumber(i)); ++i)
    s.folderMenu.push_back(store.get(kFolders, plainNumber(i)));
  return s;
}

void saveWindowState(Store& store, const WindowState& s) {
  for (int i = 0; i < kPaneCount; ++i) {
    store.set(kFolders, indexedKey("Sortkey", i), plainNumber(s.panes[i].sortKey));
    store.set(kFolders, indexedKey("SortDirection", i), trueFalse(s.panes[i].sortAscending));
  }
  for (int i = 0; i < kPaneCount; ++i)
    store.set(kFolders, indexedKey("Folder", i + 1), s.panes[i].folder);
  for (int i = 0; i < kPaneCount; ++i)
    store.set(kFolders, indexedKey("Pattern", i + 1), writePattern(s.panes[i].pattern));
  for (std::size_t i = 0; i < s.folderMenu.size(); ++i)
    store.set(kFolders, plainNumber(static_cast<long long>(i + 1)), s.folderMenu[i]);
  for (int i = 0; i < kPaneCount; ++i) {
    int mode = static_cast<int>(s.panes[i].fileViewMode.value_or(FileViewMode::LargeIcons));
    store.set(kSettings, indexedKey("FileViewMode", i), blankSigned(mode));
  }
  if (!s.minimized && !s.maximized && s.width && s.height) {
    store.set(kSettings, "Height", pixels(*s.height));
    store.set(kSettings, "Width", pixels(*s.width));
  }
  store.set(kFolders, "Maximize", trueFalse(s.maximized));
  if (s.x) store.set(kFolders, "LastX", pixels(*s.x));
  if (s.y) store.set(kFolders, "LastY", pixels(*s.y));
  store.set(kSettings, "Halfmode", trueFalse(s.halfMode));
}

bool isFirstStart(const Store& store) {
  return store.get(kFolders, "Folder1").empty();
}

}  // namespace qm::settings
