#include "gui/main/filter_entry_model.h"

#include <QMimeData>
#include <set>

#include "gui/main/pane_drag.h"

namespace qm::gui {

FilterEntryModel::FilterEntryModel(int pane, QObject* parent)
    : QAbstractTableModel(parent), pane_(pane) {}

void FilterEntryModel::setEntries(std::vector<FilterListEntry> entries) {
  beginResetModel();
  entries_ = std::move(entries);
  endResetModel();
}

void FilterEntryModel::removeIf(const std::function<bool(const FilterListEntry&)>& remove) {
  for (int i = static_cast<int>(entries_.size()) - 1; i >= 0; --i) {
    if (!remove(entries_[static_cast<std::size_t>(i)])) continue;
    beginRemoveRows({}, i, i);
    entries_.erase(entries_.begin() + i);
    endRemoveRows();
  }
}

void FilterEntryModel::setText(int row, const QString& text) {
  if (row < 0 || row >= rowCount()) return;
  entries_[static_cast<std::size_t>(row)].text = text;
  emit dataChanged(index(row, Filter), index(row, Filter));
}

int FilterEntryModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int FilterEntryModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant FilterEntryModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const FilterListEntry& e = entries_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      if (index.column() == Modes) return e.modes;
      if (index.column() == Architecture) return e.architecture;
      return e.text;
    case Qt::ToolTipRole:
      return e.toolTip.isEmpty() ? QVariant() : QVariant(e.toolTip);
    case kFilterRowRole:
      return QVariant::fromValue<qulonglong>(e.row);
    default:
      return {};
  }
}

QVariant FilterEntryModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case Filter:
      return QStringLiteral("Filter");
    case Modes:
      return QStringLiteral("Modes");
    case Architecture:
      return QStringLiteral("Architecture");
    default:
      return {};
  }
}

Qt::ItemFlags FilterEntryModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList FilterEntryModel::mimeTypes() const {
  return {kPaneDragFormat};
}

QMimeData* FilterEntryModel::mimeData(const QModelIndexList& indexes) const {
  auto* data = new QMimeData;
  PaneDragSource source{pane_, plugins::PaneView::Plugin, {}};
  // A selected entry gives an index per column; its row travels once.
  std::set<int> seen;
  for (const QModelIndex& index : indexes) {
    if (!index.isValid() || !seen.insert(index.row()).second) continue;
    const std::size_t row = entries_[static_cast<std::size_t>(index.row())].row;
    if (row > 0) source.rows.push_back(row);
  }
  tagDrag(*data, source);
  return data;
}

}  // namespace qm::gui
