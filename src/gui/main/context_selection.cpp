#include "gui/main/context_selection.h"

#include <QItemSelectionModel>

namespace qm::gui {

void selectForContextMenu(QAbstractItemView& view, const QPoint& pos) {
  QModelIndex index = view.indexAt(pos);
  QItemSelectionModel* selection = view.selectionModel();
  if (!index.isValid() || selection == nullptr) return;
  if (selection->isSelected(index)) {
    selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    return;
  }
  QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
  if (view.selectionBehavior() == QAbstractItemView::SelectRows) flags |= QItemSelectionModel::Rows;
  selection->setCurrentIndex(index, flags);
}

}  // namespace qm::gui
