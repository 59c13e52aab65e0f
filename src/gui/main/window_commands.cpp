#include "gui/main/window_commands.h"

#include "gui/main/app_context.h"
#include "gui/main/ffl_view.h"
#include "gui/main/file_view.h"
#include "gui/main/folder_list.h"
#include "gui/main/main_window.h"
#include "gui/main/plugin_view.h"

namespace qm::gui {

int WindowCommandHost::activePane() const {
  return window_.activePane();
}

std::filesystem::path WindowCommandHost::folder(int pane) const {
  return window_.pane(pane)->folder();
}

shell::PaneView WindowCommandHost::view(int pane) const {
  return static_cast<shell::PaneView>(static_cast<int>(window_.pane(pane)->view()));
}

std::vector<std::filesystem::path> WindowCommandHost::selectedFiles(int pane) const {
  return window_.pane(pane)->selectedPaths();
}

std::vector<std::size_t> WindowCommandHost::selectedRows(int pane) const {
  return window_.pane(pane)->pluginView()->selectedRows();
}

std::vector<std::string> WindowCommandHost::selectedBuiltIns(int pane) const {
  return window_.pane(pane)->pluginView()->selectedBuiltIns();
}

std::vector<std::filesystem::path> WindowCommandHost::selectedFolders(int pane) const {
  return {window_.pane(pane)->folderList()->highlighted()};
}

std::filesystem::path WindowCommandHost::fflLibrary(int pane) const {
  return window_.pane(pane)->fflView()->library();
}

std::vector<std::uint64_t> WindowCommandHost::selectedFflPositions(int pane) const {
  return window_.pane(pane)->fflView()->selectedPositions();
}

plugins::Catalogue& WindowCommandHost::catalogue(int pane) {
  return window_.pane(pane)->pluginView()->catalogue();
}

void WindowCommandHost::refreshFiles(int pane) {
  window_.pane(pane)->reloadFromDisk();
}

void WindowCommandHost::selectFiles(int pane, const std::vector<std::filesystem::path>& files) {
  Pane* p = window_.pane(pane);
  QStringList names;
  for (const auto& file : files)
    if (file.parent_path() == p->folder())
      names << QString::fromStdString(file.filename().string());
  if (!names.isEmpty()) p->fileView()->reselect(names, names.front());
}

void WindowCommandHost::showFolder(int pane, const std::filesystem::path& folder) {
  window_.pane(pane)->setFolder(folder);
}

void WindowCommandHost::rescanPlugins(int pane) {
  Pane* p = window_.pane(pane);
  p->pluginView()->rescan(p->folder(), window_.progress(), false);
}

void WindowCommandHost::removeFilterEntries(int pane,
                                            const std::vector<std::filesystem::path>& files) {
  window_.pane(pane)->pluginView()->removeEntriesFor(files);
}

void WindowCommandHost::deselectFilterEntries(int pane,
                                              const std::vector<std::filesystem::path>& files) {
  window_.pane(pane)->pluginView()->deselectEntriesFor(files);
}

void WindowCommandHost::removeFflEntries(int pane, const std::vector<std::uint64_t>& positions) {
  window_.pane(pane)->fflView()->removeEntries(positions);
}

void WindowCommandHost::showCategories(int pane, const std::optional<std::string>& select) {
  window_.pane(pane)->pluginView()->showCategories(select);
}

void WindowCommandHost::setEntryState(int pane, const std::filesystem::path& file, bool enabled) {
  window_.pane(pane)->pluginView()->setEntryState(file, enabled);
}

void WindowCommandHost::checkPhotoshopMode(int pane) {
  window_.pane(pane)->pluginView()->CheckPhotoshopMode();
}

void WindowCommandHost::refreshFilterStatus(int pane) {
  window_.pane(pane)->pluginView()->filterClick();
}

std::filesystem::path WindowCommandHost::activePaneFolder() const {
  return window_.active()->folder();
}

std::filesystem::path WindowCommandHost::passivePaneFolder() const {
  return window_.passive()->folder();
}

std::vector<std::filesystem::path> WindowCommandHost::preferenceFolders() const {
  std::vector<std::filesystem::path> folders;
  for (const QString& f : window_.folderEntries()) folders.emplace_back(f.toStdString());
  return folders;
}

void WindowCommandHost::showInPassivePane(const std::filesystem::path& folder) {
  window_.passive()->setFolder(folder);
}

void WindowCommandHost::folderCreated(const std::filesystem::path& folder) {
  for (int i = 0; i < 2; ++i)
    if (window_.pane(i)->folder() == folder.parent_path()) refreshFiles(i);
}

WindowCommands::WindowCommands(MainWindow& window, AppContext& context)
    : host(window),
      overwriteDialog(&window),
      selectFolderDialog(host, window.prompter(), &window),
      prompter(window.prompter(), selectFolderDialog, overwriteDialog),
      runner(host, {context.typeTable, context.ffOptions, context.options},
             {prompter, window.progress(), trash}, &window) {}

}  // namespace qm::gui
