#include "gui/commands/command_runner.h"

#include <QWidget>
#include <algorithm>

#include "core/shell/file_commands.h"
#include "gui/batch/convert_dialog.h"
#include "gui/commands/change_category_dialog.h"
#include "gui/commands/plugin_list_dialog.h"
#include "gui/commands/run_scope.h"

namespace qm::gui {

CommandRunner::CommandRunner(CommandHost& host, CommandSettings settings, CommandPorts ports,
                             QWidget* dialogParent)
    : host_(host),
      settings_(settings),
      ports_(ports),
      dialogParent_(dialogParent),
      overwrite_(ports.prompter) {}

CommandRunner::~CommandRunner() {
  delete convert_.data();
  delete changeCategory_.data();
  delete pluginList_.data();
}

ConvertDialog& CommandRunner::convertDialog() {
  if (!convert_) {
    convert_ = new ConvertDialog(dialogParent_);
    // Queued: the Convert run that showed the dialog ends first.
    connect(convert_, &ConvertDialog::batchProcessingRequested, this,
            &CommandRunner::batchProcessing, Qt::QueuedConnection);
  }
  return *convert_;
}

ChangeCategoryDialog& CommandRunner::changeCategoryDialog() {
  if (!changeCategory_) changeCategory_ = new ChangeCategoryDialog(dialogParent_);
  return *changeCategory_;
}

PluginListDialog& CommandRunner::pluginListDialog() {
  if (!pluginList_) pluginList_ = new PluginListDialog(dialogParent_);
  return *pluginList_;
}

std::vector<std::filesystem::path> CommandRunner::selectedFileList(int pane) const {
  switch (host_.view(pane)) {
    case shell::PaneView::File:
      return host_.selectedFiles(pane);
    case shell::PaneView::Plugin: {
      // A file with several filters has several entries; it is one file to the commands.
      std::vector<std::filesystem::path> files;
      const auto& catalogue = host_.catalogue(pane);
      for (std::size_t row : host_.selectedRows(pane)) {
        if (row == 0 || row > catalogue.rowCount()) continue;
        const auto& path = catalogue.row(row).path;
        if (std::find(files.begin(), files.end(), path) == files.end()) files.push_back(path);
      }
      return files;
    }
    case shell::PaneView::Ffl:
      break;
  }
  return {};
}

shell::ShellRequest CommandRunner::shellRequest(int pane) const {
  shell::ShellRequest request;
  request.active = {host_.folder(pane), host_.view(pane)};
  request.passive = {host_.folder(1 - pane), host_.view(1 - pane)};
  request.selectedFiles = selectedFileList(pane);
  request.selectedFolders = host_.selectedFolders(pane);
  request.passivePaneFolder = settings_.options.passivePaneFolder;
  if (request.active.view == shell::PaneView::Ffl) {
    request.library = host_.fflLibrary(pane);
    request.fflPositions = host_.selectedFflPositions(pane);
  }
  return request;
}

void CommandRunner::runShell(ShellCommand command, int pane, const shell::ShellRequest& request) {
  if (busy_) return;
  RunScope run(busy_, ports_.progress, statusSink_);
  shell::ShellPorts ports{ports_.prompter, run.progress(), disk_, overwrite_, &ports_.trash};
  applyOutcome(pane, command(ports, request));
}

void CommandRunner::applyEffects(int pane, const shell::PaneEffects& effects) {
  if (effects.catalogueStale) host_.catalogue(pane).markStale();
  if (effects.showFolder) host_.showFolder(pane, *effects.showFolder);
  if (effects.refresh) host_.refreshFiles(pane);
  if (effects.rebuildPluginList) host_.rescanPlugins(pane);
}

void CommandRunner::applyOutcome(int pane, const shell::CommandOutcome& outcome) {
  if (!outcome.removedItems.empty()) host_.removeFilterEntries(pane, outcome.removedItems);
  if (!outcome.deselectedItems.empty()) host_.deselectFilterEntries(pane, outcome.deselectedItems);
  if (!outcome.removedFflPositions.empty())
    host_.removeFflEntries(pane, outcome.removedFflPositions);
  applyEffects(pane, outcome.active);
  applyEffects(1 - pane, outcome.passive);
  if (!outcome.selectAfter.empty()) host_.selectFiles(pane, outcome.selectAfter);
}

void CommandRunner::filesChangedIn(const std::filesystem::path& folder, int exceptPane) {
  for (int pane : {0, 1}) {
    std::error_code ec;
    if (pane == exceptPane || !std::filesystem::equivalent(host_.folder(pane), folder, ec))
      continue;
    host_.catalogue(pane).markStale();
    host_.refreshFiles(pane);
  }
}

void CommandRunner::runOnActive(ShellCommand command) {
  const int pane = host_.activePane();
  runShell(command, pane, shellRequest(pane));
}

void CommandRunner::copyFiles() {
  runOnActive(&shell::cmd_CopyFiles);
}

void CommandRunner::moveFiles() {
  runOnActive(&shell::cmd_MoveFiles);
}

void CommandRunner::moveFilesByDrop(int sourcePane, const std::filesystem::path& targetFolder) {
  auto request = shellRequest(sourcePane);
  request.dropTarget = targetFolder;
  runShell(&shell::cmd_MoveFiles, sourcePane, request);
}

void CommandRunner::deleteFiles() {
  runOnActive(&shell::cmd_DeleteFiles);
}

void CommandRunner::killFiles() {
  runOnActive(&shell::cmd_Kill);
}

void CommandRunner::renameFiles() {
  runOnActive(&shell::cmd_RenameFiles);
}

void CommandRunner::makeFolder() {
  runOnActive(&shell::cmd_MakeDir);
}

void CommandRunner::renameFolder() {
  runOnActive(&shell::cmd_RenameFolder);
}

void CommandRunner::moveFolder() {
  runOnActive(&shell::cmd_MoveDir);
}

void CommandRunner::killFolders() {
  runOnActive(&shell::cmd_KillDir);
}

}  // namespace qm::gui
