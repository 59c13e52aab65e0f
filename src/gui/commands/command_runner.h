#pragma once
// Runs the program's commands over the two panes: conversion, the file and folder commands,
// Change Category, Enable/Disable, Plugin Information and the plugin list. It takes the
// selection from the active pane through CommandHost, talks to the user through the window's
// prompter, and tells the host what to refresh afterwards. One command runs at a time.

#include <QObject>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/batch/overwrite_check.h"
#include "core/ff/ffl.h"
#include "core/ff/ffl_create.h"
#include "core/ff/options.h"
#include "core/picture/thumbnails.h"
#include "core/plugins/type_table.h"
#include "core/settings/options.h"
#include "core/shell/file_commands.h"
#include "core/shell/fs.h"
#include "core/shell/pane.h"
#include "core/shell/trash.h"
#include "gui/commands/command_host.h"
#include "gui/commands/qt_clipboard.h"
#include "gui/shell/qt_progress.h"

class QWidget;

namespace qm::gui {

class ChangeCategoryDialog;
class ConvertDialog;
class PluginListDialog;

// The options the commands read, owned by the window; read at each command, so a change in
// Preferences applies to the next one.
struct CommandSettings {
  const plugins::PlugTypeTable& typeTable;
  const ff::FFOptions& ffOptions;
  const settings::Options& options;
};

struct CommandPorts {
  Prompter& prompter;    // the window's, answering folder and overwrite questions
  QtProgress& progress;  // the status line; its cancel flag is the window's Escape
  shell::Trash& trash;
};

class CommandRunner final : public QObject {
  Q_OBJECT
 public:
  // dialogParent owns the command dialogs, made on first use.
  CommandRunner(CommandHost& host, CommandSettings settings, CommandPorts ports,
                QWidget* dialogParent);
  ~CommandRunner() override;

  bool busy() const { return busy_; }

  void convert();
  void copyFiles();
  void moveFiles();
  // Files of sourcePane dropped on the other pane or on one of its folders.
  void moveFilesByDrop(int sourcePane, const std::filesystem::path& targetFolder);
  void deleteFiles();
  void killFiles();
  void renameFiles();
  void makeFolder();
  void renameFolder();
  void moveFolder();
  void killFolders();
  void changeCategory();
  // Filter entries of pane dropped on one of its categories.
  void changeCategoryByDrop(int pane, const std::string& category,
                            const std::vector<std::size_t>& rows);
  void enableDisable();
  void pluginInformation();
  // The same for one file (a double click on a plugin type's file).
  void pluginInformationFor(const std::filesystem::path& file);
  void pluginList();
  // Create FFL / Add to FFL: the selected filters as one new library, or added to one.
  void createLibrary();
  void addToLibrary();
  // Thumbnail: the selected filters' previews into the passive pane's folder.
  void thumbnails();
  // The selection as Filter Factory loader arguments: FFL View entries as "LIB.ffl#N".
  std::vector<std::string> selectedFilterArguments(int pane) const;

  // The status line shows texts of the command that runs (the conversion's " of " count).
  void setStatusSink(std::function<void(const QString&)> sink) { statusSink_ = std::move(sink); }

  // The dialogs, so the window can connect their help and settings requests.
  ConvertDialog& convertDialog();
  ChangeCategoryDialog& changeCategoryDialog();
  PluginListDialog& pluginListDialog();
  batch::OverwriteCheck& overwriteCheck() { return overwrite_; }

 private:
  using ShellCommand = shell::CommandOutcome (*)(shell::ShellPorts&, const shell::ShellRequest&);

  shell::ShellRequest shellRequest(int pane) const;
  void runShell(ShellCommand command, int pane, const shell::ShellRequest& request);
  void runOnActive(ShellCommand command);
  void applyOutcome(int pane, const shell::CommandOutcome& outcome);
  void applyEffects(int pane, const shell::PaneEffects& effects);
  // The files of the selection: File View files, or each Plugin View row's file once.
  std::vector<std::filesystem::path> selectedFileList(int pane) const;
  // The selection as a library request; nullopt (said) when nothing fits.
  std::optional<ff::LibraryRequest> libraryRequest(int pane);
  void runLibrary(const ff::LibraryRequest& request);
  std::vector<picture::ThumbnailSource> selectedThumbnailSources(int pane) const;
  // The FFL View's selected entries with their numbers (1-based, deleted ones counted).
  struct SelectedEntry {
    std::size_t number = 0;
    ff::FFLIndexEntry entry;
  };
  std::vector<SelectedEntry> selectedFflEntries(int pane) const;
  // Files in folder were written or renamed: a pane (other than exceptPane) that shows it
  // lists it again, and its catalogue no longer holds.
  void filesChangedIn(const std::filesystem::path& folder, int exceptPane = -1);
  void runChangeCategory(int pane, const std::optional<std::string>& dropTarget,
                         const std::vector<std::size_t>& rows,
                         const std::vector<std::string>& builtIns = {});

  CommandHost& host_;
  CommandSettings settings_;
  CommandPorts ports_;
  QPointer<QWidget> dialogParent_;
  shell::DiskFs disk_;
  batch::OverwriteCheck overwrite_;
  QtClipboard clipboard_;
  // Owned by dialogParent_ once made; deleted here when it still exists.
  QPointer<ConvertDialog> convert_;
  QPointer<ChangeCategoryDialog> changeCategory_;
  QPointer<PluginListDialog> pluginList_;
  std::function<void(const QString&)> statusSink_;
  bool busy_ = false;
};

}  // namespace qm::gui
