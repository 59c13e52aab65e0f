#pragma once
// What the main window restores at start-up and saves when it closes: per pane the sort
// column and direction, file-type pattern, file view mode and folder; the window geometry;
// the half-mode button; the Folders menu captions.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/settings/pane_modes.h"
#include "core/settings/store.h"

namespace qm::settings {

// The file-type box: a chosen entry, or a typed pattern (stored as "-" + text).
struct PatternChoice {
  int index = 0;
  std::optional<std::string> typed;
  bool operator==(const PatternChoice&) const = default;
};

struct PaneState {
  int sortKey = 0;
  // The remembered direction of the sort column: "True" stands for ascending.
  bool sortAscending = true;
  PatternChoice pattern;
  std::optional<FileViewMode> fileViewMode;  // nullopt: the pane keeps its mode
  std::string folder;                        // empty: the pane keeps its folder
  bool operator==(const PaneState&) const = default;
};

struct WindowState {
  std::array<PaneState, kPaneCount> panes;
  bool maximized = false;
  bool minimized = false;  // only consulted when saving
  std::optional<double> width, height;
  std::optional<double> x, y;
  bool halfMode = false;  // the window shows the active pane alone
  std::vector<std::string> folderMenu;
};

WindowState loadWindowState(const Store& store);
// The shutdown save, in the order the main window writes it.
void saveWindowState(Store& store, const WindowState& state);

// Folder1 empty means the program has never been closed normally: ask for a folder.
bool isFirstStart(const Store& store);

}  // namespace qm::settings
