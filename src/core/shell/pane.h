#pragma once
// What the file and folder commands need to know about the two panes of the main window, and
// what they ask the window to do afterwards.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "core/plugins/drop_rules.h"

namespace qm::shell {

using plugins::PaneView;

struct PaneInfo {
  std::filesystem::path folder;
  PaneView view = PaneView::File;
};

// The selection of the active pane and the options a command reads.
struct ShellRequest {
  PaneInfo active;
  PaneInfo passive;
  std::vector<std::filesystem::path> selectedFiles;    // full paths; Plugin View rows may repeat
  std::vector<std::filesystem::path> selectedFolders;  // the folder list's selection
  bool passivePaneFolder = false;                      // "Suppress the Select Folder dialog"
  std::filesystem::path dropTarget;                    // Move: the folder files were dropped on
  // FFL View: the library shown and the byte position of each selected entry's first line.
  std::filesystem::path library;
  std::vector<std::uint64_t> fflPositions;
};

struct PaneEffects {
  bool refresh = false;
  bool catalogueStale = false;     // clear the pane's "catalogue up to date" flag
  bool rebuildPluginList = false;  // the pane is in Plugin View and must show the change
  std::optional<std::filesystem::path> showFolder;  // switch the pane to this folder
};

struct CommandOutcome {
  PaneEffects active;
  PaneEffects passive;
  std::filesystem::path destination;                   // Copy and Move
  std::vector<std::filesystem::path> done;             // files or folders handled
  std::vector<std::filesystem::path> failed;           // reported to the user already
  std::vector<std::string> failedReasons;              // beside failed, where the system said why
  std::vector<std::filesystem::path> removedItems;     // Plugin View: drop the rows of these
  std::vector<std::filesystem::path> deselectedItems;  // Plugin View: deselect the rows of these
  std::vector<std::uint64_t> removedFflPositions;      // FFL View: drop these entries
  std::vector<std::filesystem::path> selectAfter;      // File View: selected once refreshed
  bool cancelled = false;
};

}  // namespace qm::shell
