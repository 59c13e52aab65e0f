#pragma once
// What the Select Folder dialog needs from the main window. The window implements it.

#include <filesystem>
#include <vector>

namespace qm::gui {

class SelectFolderHost {
 public:
  virtual ~SelectFolderHost() = default;
  virtual std::filesystem::path activePaneFolder() const = 0;
  virtual std::filesystem::path passivePaneFolder() const = 0;
  // The Preferences folder list, in its order.
  virtual std::vector<std::filesystem::path> preferenceFolders() const = 0;
  // Shows the folder in the passive pane (drive, folder and file lists).
  virtual void showInPassivePane(const std::filesystem::path& folder) = 0;
  // A folder was just created: refresh the folder view when it lies in the folder shown.
  virtual void folderCreated(const std::filesystem::path& folder) = 0;
};

}  // namespace qm::gui
