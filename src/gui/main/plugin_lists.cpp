#include "gui/main/plugin_lists.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

#include "gui/main/pane_drag.h"

namespace qm::gui {

FilterList::FilterList(int pane, QWidget* parent)
    : QTreeView(parent), model_(new FilterEntryModel(pane, this)) {
  setObjectName("filterList");
  setModel(model_);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  // Every entry is one line, so the view never measures thousands of them.
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setDragEnabled(true);
  setDragDropMode(QAbstractItemView::DragOnly);
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(FilterEntryModel::Filter, QHeaderView::Stretch);
  fitColumns();
  connect(header(), &QHeaderView::sectionResized, this, [this](int section) {
    if (!fitting_ && section != FilterEntryModel::Filter) sizedByUser_ = true;
  });
}

void FilterList::fitColumns() {
  if (sizedByUser_) return;
  const QFontMetrics metrics = fontMetrics();
  const int room = viewport()->width();
  fitting_ = true;
  header()->resizeSection(
      FilterEntryModel::Modes,
      std::min(metrics.horizontalAdvance("RGB, Grey, CMYK, Lab, 16-bit") + 12, room / 4));
  header()->resizeSection(FilterEntryModel::Architecture,
                          std::min(metrics.horizontalAdvance("Architecture") + 16, room / 4));
  fitting_ = false;
}

void FilterList::resizeEvent(QResizeEvent* event) {
  QTreeView::resizeEvent(event);
  fitColumns();
}

std::vector<int> FilterList::selectedEntryRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void FilterList::keyPressEvent(QKeyEvent* event) {
  bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && event->modifiers() & Qt::AltModifier) {
    emit propertiesWanted();
    return;
  }
  if (event->key() == Qt::Key_Backspace) {
    emit backToCategories();
    return;
  }
  QTreeView::keyPressEvent(event);
}

CategoryList::CategoryList(int pane, QWidget* parent) : QListWidget(parent), pane_(pane) {
  setObjectName("categoryList");
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
}

void CategoryList::dragEnterEvent(QDragEnterEvent* event) {
  if (!dragSource(event->mimeData())) return event->ignore();
  selectedBeforeDrag_.clear();
  for (int i = 0; i < count(); ++i)
    if (item(i)->isSelected()) selectedBeforeDrag_.push_back(i);
  currentBeforeDrag_ = currentRow();
  event->acceptProposedAction();
}

void CategoryList::dragLeaveEvent(QDragLeaveEvent* event) {
  restoreSelectionBeforeDrag();
  QListWidget::dragLeaveEvent(event);
}

void CategoryList::restoreSelectionBeforeDrag() {
  // One selection change at the end, so the filter list is rebuilt once.
  blockSignals(true);
  clearSelection();
  if (currentBeforeDrag_ >= 0 && currentBeforeDrag_ < count())
    setCurrentRow(currentBeforeDrag_, QItemSelectionModel::NoUpdate);
  for (int i : selectedBeforeDrag_)
    if (i < count()) item(i)->setSelected(true);
  blockSignals(false);
  emit itemSelectionChanged();
}

QListWidgetItem* CategoryList::selectUnder(const QPoint& position) {
  QModelIndex top = indexAt(QPoint(1, 1));
  int height = count() ? sizeHintForRow(0) : 0;
  auto index =
      plugins::categoryIndexAt(top.isValid() ? top.row() : 0, position.y(), height, count());
  clearSelection();
  if (!index) return nullptr;
  QListWidgetItem* under = item(*index);
  under->setSelected(true);
  setCurrentItem(under, QItemSelectionModel::Select);
  return under;
}

void CategoryList::dragMoveEvent(QDragMoveEvent* event) {
  auto source = dragSource(event->mimeData());
  if (!source) return event->ignore();
  auto action =
      plugins::decideDrop(source->pane, source->view, pane_, plugins::DropList::CategoryList);
  if (action == plugins::DropAction::ChangeCategory) selectUnder(event->position().toPoint());
  if (action == plugins::DropAction::None) return event->ignore();
  event->acceptProposedAction();
}

void CategoryList::dropEvent(QDropEvent* event) {
  auto source = dragSource(event->mimeData());
  if (!source) return event->ignore();
  auto action =
      plugins::decideDrop(source->pane, source->view, pane_, plugins::DropList::CategoryList);
  event->acceptProposedAction();
  if (action == plugins::DropAction::ChangeCategory) {
    if (QListWidgetItem* target = selectUnder(event->position().toPoint()))
      emit changeCategoryWanted(row(target), source->rows);
  } else if (action == plugins::DropAction::MoveFiles) {
    emit moveFilesWanted(source->pane);
  }
}

}  // namespace qm::gui
