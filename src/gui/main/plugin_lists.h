#pragma once
// The two lists of the Plugin View with their drag and drop: filter entries can be dragged,
// and a drop on a category of the same pane asks for Change Category into it.

#include <QListWidget>
#include <QTreeView>
#include <vector>

#include "gui/main/filter_entry_model.h"

namespace qm::gui {

// The filter entries in columns: the entry, the image modes it is offered in, where it runs.
class FilterList : public QTreeView {
  Q_OBJECT
 public:
  FilterList(int pane, QWidget* parent = nullptr);

  FilterEntryModel* entries() const { return model_; }
  int count() const { return model_->rowCount(); }
  // The entries' rows, top to bottom, that are selected.
  std::vector<int> selectedEntryRows() const;

 signals:
  void propertiesWanted();
  void backToCategories();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The filter's name comes first: Modes and Architecture give way in a narrow pane, until
  // the user sizes a column by hand.
  void fitColumns();

  FilterEntryModel* model_;
  bool fitting_ = false;
  bool sizedByUser_ = false;
};

class CategoryList : public QListWidget {
  Q_OBJECT
 public:
  CategoryList(int pane, QWidget* parent = nullptr);

  // The selection follows a drag over the list; a drag that leaves, or a drop that changed
  // nothing, puts back the selection from before the drag.
  void restoreSelectionBeforeDrag();

 signals:
  void changeCategoryWanted(int categoryIndex, const std::vector<std::size_t>& rows);
  void moveFilesWanted(int sourcePane);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Selects the category under the pointer alone; nullptr when there is none.
  QListWidgetItem* selectUnder(const QPoint& position);
  int pane_;
  std::vector<int> selectedBeforeDrag_;
  int currentBeforeDrag_ = -1;
};

}  // namespace qm::gui
