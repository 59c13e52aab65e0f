#pragma once
// The main window's side of the commands: what they read from the panes and what they ask
// the panes to show, the batch dialogs they question the user with, and the runner itself.

#include <memory>

#include "gui/batch/batch_prompter.h"
#include "gui/batch/overwrite_dialog.h"
#include "gui/batch/select_folder_dialog.h"
#include "gui/batch/select_folder_host.h"
#include "gui/commands/command_host.h"
#include "gui/commands/command_runner.h"
#include "platform/trash.h"

namespace qm::gui {

class MainWindow;
struct AppContext;

class WindowCommandHost final : public CommandHost, public SelectFolderHost {
 public:
  explicit WindowCommandHost(MainWindow& window) : window_(window) {}

  int activePane() const override;
  std::filesystem::path folder(int pane) const override;
  shell::PaneView view(int pane) const override;
  std::vector<std::filesystem::path> selectedFiles(int pane) const override;
  std::vector<std::size_t> selectedRows(int pane) const override;
  std::vector<std::string> selectedBuiltIns(int pane) const override;
  std::vector<std::filesystem::path> selectedFolders(int pane) const override;
  std::filesystem::path fflLibrary(int pane) const override;
  std::vector<std::uint64_t> selectedFflPositions(int pane) const override;
  plugins::Catalogue& catalogue(int pane) override;
  void refreshFiles(int pane) override;
  void selectFiles(int pane, const std::vector<std::filesystem::path>& files) override;
  void showFolder(int pane, const std::filesystem::path& folder) override;
  void rescanPlugins(int pane) override;
  void removeFilterEntries(int pane, const std::vector<std::filesystem::path>& files) override;
  void deselectFilterEntries(int pane, const std::vector<std::filesystem::path>& files) override;
  void removeFflEntries(int pane, const std::vector<std::uint64_t>& positions) override;
  void showCategories(int pane, const std::optional<std::string>& select) override;
  void setEntryState(int pane, const std::filesystem::path& file, bool enabled) override;
  void checkPhotoshopMode(int pane) override;
  void refreshFilterStatus(int pane) override;

  std::filesystem::path activePaneFolder() const override;
  std::filesystem::path passivePaneFolder() const override;
  std::vector<std::filesystem::path> preferenceFolders() const override;
  void showInPassivePane(const std::filesystem::path& folder) override;
  void folderCreated(const std::filesystem::path& folder) override;

 private:
  MainWindow& window_;
};

// Everything a command needs, made once with the window.
struct WindowCommands {
  WindowCommands(MainWindow& window, AppContext& context);

  WindowCommandHost host;
  OverwriteDialog overwriteDialog;
  SelectFolderDialog selectFolderDialog;
  BatchPrompter prompter;
  platform::DesktopTrash trash;
  CommandRunner runner;
};

}  // namespace qm::gui
