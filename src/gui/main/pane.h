#pragma once
// One of the two panes: drive box, folder caption, folder list, the three views as tabs,
// the file-type box and the pane's picture buttons.

#include <QComboBox>
#include <QFileSystemWatcher>
#include <QFrame>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

#include "core/plugins/drop_rules.h"
#include "core/settings/pane_modes.h"
#include "core/settings/window_state.h"

namespace qm::gui {

struct AppContext;
class FileIcons;
class FileView;
class FolderList;
class FolderCaption;
class PluginView;
class FflView;
class SearchPanel;

using View = plugins::PaneView;

// The mount points a drive box offers; read once for both panes.
QStringList driveRoots();

class Pane : public QFrame {
  Q_OBJECT
 public:
  Pane(int index, AppContext& context, const FileIcons& icons, QWidget* parent = nullptr);

  int index() const { return index_; }

  void setFolder(const std::filesystem::path& folder);
  const std::filesystem::path& folder() const { return folder_; }
  void goToParent();

  void setPatternChoice(const settings::PatternChoice& choice);
  const settings::PatternChoice& patternChoice() const { return pattern_; }
  QString pattern() const;

  void setFileViewMode(settings::FileViewMode mode);
  settings::FileViewMode fileViewMode() const;  // DetermineFileViewMode

  View view() const;
  void setView(View view);

  bool folderBoxShown() const;
  void setFolderBoxShown(bool shown);
  void setActiveLook(bool active);
  // The drive box entries: root paths, as driveRoots() gives them.
  void setDrives(const QStringList& roots);

  // FillDirList with the pane's folder and pattern.
  void refresh();
  // Reads the folder again after a change on disk: folder list and files, keeping the
  // selection; a folder that is gone gives way to its nearest existing parent.
  void reloadFromDisk();
  // Ctrl+L: the folder caption turns into a line to type a path in; Enter goes there,
  // Escape or leaving it puts the caption back.
  void editPath();
  QLineEdit* pathEditor() const { return pathEditor_; }
  // Full paths of the File View selection.
  std::vector<std::filesystem::path> selectedPaths() const;

  FileView* fileView() const { return fileView_; }
  SearchPanel* searchPanel() const { return searchPanel_; }
  // The Plugin and FFL View are made when first shown or asked for.
  PluginView* pluginView();
  FflView* fflView();
  PluginView* pluginViewIfMade() const { return pluginView_; }
  FolderList* folderList() const { return folderList_; }
  FolderCaption* caption() const { return caption_; }
  QComboBox* patternBox() const { return patternBox_; }
  QComboBox* driveBox() const { return driveBox_; }
  QTabWidget* tabs() const { return tabs_; }
  QToolButton* viewModeButton() const { return viewModeButton_; }
  QToolButton* syncButton() const { return syncButton_; }
  QToolButton* folderBoxButton() const { return folderBoxButton_; }
  QToolButton* desktopButton() const { return desktopButton_; }

 signals:
  void activated(int pane);
  void folderChanged(int pane);
  void viewChanged(int pane, View view);
  void fileActivated(int pane, const std::filesystem::path& path);
  void propertiesWanted(int pane);
  void foldersMenuWanted(const QPoint& globalPos);
  void viewModeMenuWanted(int pane);
  void synchronizeWanted(int pane);
  void desktopWanted(int pane);
  // Files of sourcePane dropped on this pane's lists: move them into this pane's folder.
  void moveFilesWanted(int sourcePane, int targetPane);
  // A right click on the files, and F2 on the folder list.
  void filesMenuWanted(const QPoint& globalPos);
  void renameFolderWanted(int pane);
  void pluginViewMade(int pane);
  void fflViewMade(int pane);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* buildTopRow();
  void selectDrive();
  void patternEntered();
  // Drops from the other pane; true when the event was handled here.
  bool crossPaneDrop(QObject* watched, QEvent* event);
  // Puts a view made late into its tab page, with the pane's event handling.
  void placeInTab(int tab, QWidget* view);
  void pathTyped();
  void closePathEditor();

  int index_;
  AppContext& context_;
  const FileIcons& icons_;
  std::filesystem::path folder_;
  settings::PatternChoice pattern_;
  QComboBox* driveBox_;
  FolderCaption* caption_;
  QLineEdit* pathEditor_;
  FolderList* folderList_;
  QTabWidget* tabs_;
  FileView* fileView_;
  SearchPanel* searchPanel_;
  PluginView* pluginView_ = nullptr;
  FflView* fflView_ = nullptr;
  QComboBox* patternBox_;
  QToolButton* viewModeButton_ = nullptr;
  QToolButton* syncButton_ = nullptr;
  QToolButton* folderBoxButton_ = nullptr;
  QToolButton* desktopButton_ = nullptr;
  // Changes on disk come in bursts (a copy of many files); one reload follows them.
  QFileSystemWatcher watcher_;
  QTimer reloadTimer_;
};

}  // namespace qm::gui
