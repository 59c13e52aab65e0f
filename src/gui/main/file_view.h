#pragma once
// The File View of one pane: the list view in its four styles (Large Icons, Small Icons, List,
// Details) over one model, and the plain file list of the Classic mode.

#include <QListView>
#include <QListWidget>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTreeView>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "core/settings/pane_modes.h"

namespace qm::gui {

class FileIcons;

class FileView : public QStackedWidget {
  Q_OBJECT
 public:
  FileView(const FileIcons& icons, QWidget* parent = nullptr);

  // FillDirList: refills from folder with pattern; showFolders lists " .." and sub folders.
  void fill(const std::filesystem::path& folder, const QString& pattern, bool showFolders);

  void setMode(settings::FileViewMode mode);
  settings::FileViewMode mode() const;  // read back from the widgets

  // Sorting of the Details columns: the column and the direction remembered per column.
  void setSort(int column, bool ascending);
  int sortColumn() const { return sortColumn_; }
  bool sortAscending() const { return ascending_[static_cast<std::size_t>(sortColumn_)]; }

  // Selected file names (folders excluded), in list order.
  QStringList selectedFiles() const;
  // Selected sub folders of the list (shown when the folder box is hidden), " .." left out.
  QStringList selectedFolderNames() const;
  // The same as the names' bytes on the disk.
  std::vector<std::string> selectedNativeNames() const;
  // The bytes on the disk of the listed item shown as shown (shown itself when none is).
  std::string nativeName(const QString& shown) const;
  // The item with the keyboard focus; empty when none.
  QString currentName() const;
  // The first selected item in list order, files and sub folders alike (" .." left out);
  // empty when nothing is selected.
  QString firstSelectedName() const;
  bool selectName(const QString& name);
  // After a refill: selects those of names still listed and makes current the current one.
  void reselect(const QStringList& names, const QString& current);
  void selectAll();
  void toggleSelection();
  QAbstractItemView* activeView() const;
  QListWidget* classicList() const { return classic_; }
  QTreeView* detailsView() const { return details_; }
  QListView* iconView() const { return icons_; }
  int itemCount() const;

 signals:
  void fileActivated(const QString& name);
  void folderActivated(const QString& name);  // a sub folder item, or " .." for the parent
  void parentRequested();                     // Backspace
  void propertiesRequested();                 // Alt+Enter
  void pressed();                             // a mouse press on a list
  void contextMenuWanted(const QPoint& globalPos);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void activate(const QModelIndex& index);
  void headerClicked(int column);
  void applySort();
  bool activateCurrent();
  void fitNameColumn();

  const FileIcons& fileIcons_;
  QStandardItemModel model_;
  QListView* icons_;
  QTreeView* details_;
  QListWidget* classic_;
  settings::FileViewMode listStyle_ = settings::FileViewMode::LargeIcons;
  int sortColumn_ = 0;
  std::array<bool, 3> ascending_{true, true, true};
};

}  // namespace qm::gui
