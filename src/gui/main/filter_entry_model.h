#pragma once
// The entries of a Plugin View filter list with their Modes and Architecture columns, filled
// in one step so thousands of entries show at once.

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <vector>

namespace qm::gui {

// Item data of a filter entry: its catalogue row (0 for a filter built into Photoshop).
inline constexpr int kFilterRowRole = Qt::UserRole + 1;

struct FilterListEntry {
  QString text;  // with its "+ " / "- " prefix
  std::size_t row = 0;
  QString modes;
  QString architecture;
  QString toolTip;  // why the filter would be greyed out; empty when nothing is known
};

class FilterEntryModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { Filter, Modes, Architecture, ColumnCount };

  FilterEntryModel(int pane, QObject* parent = nullptr);

  void setEntries(std::vector<FilterListEntry> entries);
  const std::vector<FilterListEntry>& entries() const { return entries_; }
  // Removes the entries for which remove(entry) is true.
  void removeIf(const std::function<bool(const FilterListEntry&)>& remove);
  void setText(int row, const QString& text);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;

 private:
  int pane_;
  std::vector<FilterListEntry> entries_;
};

}  // namespace qm::gui
