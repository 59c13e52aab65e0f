#include "gui/main/file_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <algorithm>

#include "core/plugins/file_listing.h"
#include "gui/main/context_selection.h"
#include "gui/main/icons.h"

namespace qm::gui {
namespace {

constexpr int kSortRole = Qt::UserRole + 1;
constexpr int kFolderRole = Qt::UserRole + 2;
constexpr int kKeyRole = Qt::UserRole + 3;   // the column's own order, without the kind
constexpr int kKindRole = Qt::UserRole + 4;  // ItemKind of the row
// The name's bytes as on the disk: a name that is not valid UTF-8 is shown with U+FFFD but
// still acted on by its real bytes.
constexpr int kNativeRole = Qt::UserRole + 5;

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

// " .." first, then the sub folders, then the files, whatever the column and direction.
enum ItemKind { ParentItem = 0, FolderItem = 1, FileItem = 2 };

QString sortKey(int kind, bool ascending, const QString& key) {
  return QString::number(ascending ? kind : 9 - kind) + key;
}

// Each item of the icon and list styles is as wide as its name up to a limit; longer names
// are cut in the middle (the view's elide mode) and shown whole in the tooltip.
class NameWidthDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void setMaximumWidth(int width) { maximum_ = width; }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    return {std::min(size.width(), maximum_), size.height()};
  }

 private:
  int maximum_ = 240;
};

QString sizeKey(const std::string& sizeText) {
  QString digits;
  for (char c : sizeText)
    if (c >= '0' && c <= '9') digits += c;
  return digits.rightJustified(20, '0');
}

}  // namespace

FileView::FileView(const FileIcons& icons, QWidget* parent)
    : QStackedWidget(parent),
      fileIcons_(icons),
      icons_(new QListView(this)),
      details_(new QTreeView(this)),
      classic_(new QListWidget(this)) {
  model_.setHorizontalHeaderLabels({"Name", "Size", "Date"});
  model_.setSortRole(kSortRole);
  icons_->setObjectName("listView");
  icons_->setModel(&model_);
  icons_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  icons_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  icons_->setResizeMode(QListView::Adjust);
  icons_->setWrapping(true);
  icons_->setUniformItemSizes(false);
  icons_->setTextElideMode(Qt::ElideMiddle);
  icons_->setItemDelegate(new NameWidthDelegate(icons_));
  icons_->setDragEnabled(true);
  details_->setObjectName("detailsView");
  details_->setModel(&model_);
  details_->setRootIsDecorated(false);
  details_->setUniformRowHeights(true);
  details_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  details_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  details_->setSortingEnabled(false);
  details_->setDragEnabled(true);
  details_->setSelectionModel(icons_->selectionModel());
  details_->header()->setSectionsClickable(true);
  details_->header()->setSortIndicatorShown(true);
  details_->header()->setStretchLastSection(false);
  details_->header()->setSectionResizeMode(QHeaderView::Interactive);
  details_->setTextElideMode(Qt::ElideMiddle);
  details_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  classic_->setObjectName("fileList");
  classic_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  classic_->setDragEnabled(true);
  addWidget(icons_);
  addWidget(details_);
  addWidget(classic_);
  connect(details_->header(), &QHeaderView::sectionClicked, this, &FileView::headerClicked);
  connect(icons_, &QAbstractItemView::activated, this, &FileView::activate);
  connect(details_, &QAbstractItemView::activated, this, &FileView::activate);
  connect(classic_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { emit fileActivated(item->text()); });
  for (QWidget* w : {static_cast<QWidget*>(icons_), static_cast<QWidget*>(details_),
                     static_cast<QWidget*>(classic_)}) {
    w->installEventFilter(this);
    static_cast<QAbstractScrollArea*>(w)->viewport()->installEventFilter(this);
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& at) {
      auto* view = static_cast<QAbstractItemView*>(w);
      selectForContextMenu(*view, at);
      emit contextMenuWanted(view->viewport()->mapToGlobal(at));
    });
  }
  setMode(settings::FileViewMode::LargeIcons);
}

void FileView::fill(const std::filesystem::path& folder, const QString& pattern, bool showFolders) {
  auto items = plugins::FillDirList(folder, pattern.toStdString(), showFolders);
  model_.removeRows(0, model_.rowCount());
  classic_->clear();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const auto& item = items[i];
    int kind = !item.isFolder ? FileItem : item.name == " .." ? ParentItem : FolderItem;
    auto* name = new QStandardItem(fileIcons_.forIndex(item.icon), qs(item.name));
    name->setToolTip(qs(item.name));
    // The listing comes in the order of every list; its place is the name's sort key.
    name->setData(QString::number(i).rightJustified(20, '0'), kKeyRole);
    name->setData(item.isFolder, kFolderRole);
    name->setData(QByteArray::fromStdString(item.name), kNativeRole);
    auto* size = new QStandardItem(qs(item.sizeText));
    size->setData(sizeKey(item.sizeText), kKeyRole);
    size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* date = new QStandardItem(qs(item.dateText));
    date->setData(qs(item.dateText), kKeyRole);
    for (QStandardItem* cell : {name, size, date}) cell->setData(kind, kKindRole);
    model_.appendRow({name, size, date});
    if (!item.isFolder) {
      auto* line = new QListWidgetItem(qs(item.name), classic_);
      line->setData(kNativeRole, QByteArray::fromStdString(item.name));
      line->setToolTip(line->text());
    }
  }
  fitNameColumn();
  // The listing comes in name order already.
  if (sortColumn_ != 0 || !ascending_[0]) applySort();
}

void FileView::setMode(settings::FileViewMode mode) {
  using settings::FileViewMode;
  if (mode == FileViewMode::Classic) {
    setCurrentWidget(classic_);
    return;
  }
  listStyle_ = mode;
  if (mode == FileViewMode::Details) {
    setCurrentWidget(details_);
    fitNameColumn();
    return;
  }
  bool large = mode == FileViewMode::LargeIcons;
  icons_->setViewMode(large ? QListView::IconMode : QListView::ListMode);
  icons_->setIconSize(large ? QSize(32, 32) : QSize(16, 16));
  icons_->setFlow(mode == FileViewMode::List ? QListView::TopToBottom : QListView::LeftToRight);
  icons_->setWrapping(true);
  icons_->setGridSize(QSize());
  icons_->setWordWrap(false);
  static_cast<NameWidthDelegate*>(icons_->itemDelegate())->setMaximumWidth(large ? 160 : 260);
  icons_->setMovement(QListView::Static);
  icons_->setSpacing(large ? 0 : 2);
  setCurrentWidget(icons_);
}

settings::FileViewMode FileView::mode() const {
  if (currentWidget() == classic_) return settings::FileViewMode::Classic;
  if (currentWidget() == details_) return settings::FileViewMode::Details;
  return listStyle_;
}

void FileView::setSort(int column, bool ascending) {
  if (column < 0 || column > 2) column = 0;
  sortColumn_ = column;
  ascending_[static_cast<std::size_t>(column)] = ascending;
  applySort();
}

void FileView::headerClicked(int column) {
  auto c = static_cast<std::size_t>(column);
  // A second click on the sort column turns it round; another column comes back in the
  // direction it had last.
  if (column == sortColumn_) ascending_[c] = !ascending_[c];
  sortColumn_ = column;
  applySort();
}

void FileView::applySort() {
  const bool ascending = sortAscending();
  Qt::SortOrder order = ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
  for (int row = 0; row < model_.rowCount(); ++row) {
    QStandardItem* cell = model_.item(row, sortColumn_);
    cell->setData(
        sortKey(cell->data(kKindRole).toInt(), ascending, cell->data(kKeyRole).toString()),
        kSortRole);
  }
  model_.sort(sortColumn_, order);
  details_->header()->setSortIndicator(sortColumn_, order);
}

QAbstractItemView* FileView::activeView() const {
  return static_cast<QAbstractItemView*>(currentWidget());
}

int FileView::itemCount() const {
  return currentWidget() == classic_ ? classic_->count() : model_.rowCount();
}

QStringList FileView::selectedFiles() const {
  QStringList names;
  if (currentWidget() == classic_) {
    for (int i = 0; i < classic_->count(); ++i)
      if (classic_->item(i)->isSelected()) names << classic_->item(i)->text();
    return names;
  }
  for (int row = 0; row < model_.rowCount(); ++row) {
    QModelIndex index = model_.index(row, 0);
    if (icons_->selectionModel()->isSelected(index) && !index.data(kFolderRole).toBool())
      names << index.data().toString();
  }
  return names;
}

QStringList FileView::selectedFolderNames() const {
  QStringList names;
  if (currentWidget() == classic_) return names;
  for (int row = 0; row < model_.rowCount(); ++row) {
    QModelIndex index = model_.index(row, 0);
    if (icons_->selectionModel()->isSelected(index) && index.data(kFolderRole).toBool() &&
        index.data().toString() != " ..")
      names << index.data().toString();
  }
  return names;
}

std::vector<std::string> FileView::selectedNativeNames() const {
  std::vector<std::string> names;
  if (currentWidget() == classic_) {
    for (int i = 0; i < classic_->count(); ++i)
      if (classic_->item(i)->isSelected())
        names.push_back(classic_->item(i)->data(kNativeRole).toByteArray().toStdString());
    return names;
  }
  for (int row = 0; row < model_.rowCount(); ++row) {
    QModelIndex index = model_.index(row, 0);
    if (icons_->selectionModel()->isSelected(index) && !index.data(kFolderRole).toBool())
      names.push_back(index.data(kNativeRole).toByteArray().toStdString());
  }
  return names;
}

std::string FileView::nativeName(const QString& shown) const {
  for (int row = 0; row < model_.rowCount(); ++row) {
    QModelIndex index = model_.index(row, 0);
    if (index.data().toString() == shown)
      return index.data(kNativeRole).toByteArray().toStdString();
  }
  return shown.toStdString();
}

QString FileView::currentName() const {
  if (currentWidget() == classic_)
    return classic_->currentItem() ? classic_->currentItem()->text() : QString();
  QModelIndex index = icons_->selectionModel()->currentIndex();
  return index.isValid() ? model_.index(index.row(), 0).data().toString() : QString();
}

QString FileView::firstSelectedName() const {
  if (currentWidget() == classic_) {
    QStringList names = selectedFiles();
    return names.isEmpty() ? QString() : names.front();
  }
  for (int row = 0; row < model_.rowCount(); ++row) {
    QModelIndex index = model_.index(row, 0);
    if (icons_->selectionModel()->isSelected(index) && index.data().toString() != " ..")
      return index.data().toString();
  }
  return {};
}

bool FileView::selectName(const QString& name) {
  for (int i = 0; i < classic_->count(); ++i)
    if (classic_->item(i)->text() == name) classic_->setCurrentRow(i);
  for (int row = 0; row < model_.rowCount(); ++row) {
    QModelIndex index = model_.index(row, 0);
    if (index.data().toString() != name) continue;
    icons_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    activeView()->scrollTo(index);
    return true;
  }
  return false;
}

void FileView::reselect(const QStringList& names, const QString& current) {
  for (int i = 0; i < classic_->count(); ++i) {
    QListWidgetItem* item = classic_->item(i);
    if (item->text() == current) classic_->setCurrentItem(item, QItemSelectionModel::NoUpdate);
    item->setSelected(names.contains(item->text()));
  }
  QItemSelection selection;
  for (int row = 0; row < model_.rowCount(); ++row) {
    QModelIndex index = model_.index(row, 0);
    QString name = index.data().toString();
    if (name == current)
      icons_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    if (names.contains(name)) selection.select(index, model_.index(row, 2));
  }
  icons_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void FileView::selectAll() {
  if (currentWidget() == classic_) {
    // The list is disabled while its items are set, to avoid flicker.
    classic_->setUpdatesEnabled(false);
    classic_->selectAll();
    classic_->setUpdatesEnabled(true);
    return;
  }
  icons_->selectAll();
}

void FileView::toggleSelection() {
  if (currentWidget() == classic_) {
    classic_->setUpdatesEnabled(false);
    for (int i = 0; i < classic_->count(); ++i)
      classic_->item(i)->setSelected(!classic_->item(i)->isSelected());
    classic_->setUpdatesEnabled(true);
    return;
  }
  QItemSelection all(model_.index(0, 0), model_.index(model_.rowCount() - 1, 2));
  icons_->selectionModel()->select(all, QItemSelectionModel::Toggle);
}

void FileView::activate(const QModelIndex& index) {
  QModelIndex name = model_.index(index.row(), 0);
  if (name.data(kFolderRole).toBool())
    emit folderActivated(name.data().toString());
  else
    emit fileActivated(name.data().toString());
}

bool FileView::activateCurrent() {
  if (currentWidget() == classic_) {
    if (!classic_->currentItem()) return false;
    emit fileActivated(classic_->currentItem()->text());
    return true;
  }
  QModelIndex index = icons_->selectionModel()->currentIndex();
  if (!index.isValid()) return false;
  activate(index);
  return true;
}

// Names as wide as the longest one, up to what the pane leaves beside size and date; longer
// names are cut in the middle and shown whole in their tooltip.
void FileView::fitNameColumn() {
  for (int column : {0, 1, 2}) details_->resizeColumnToContents(column);
  int room = details_->viewport()->width() - details_->columnWidth(1) - details_->columnWidth(2);
  int wanted = details_->columnWidth(0);
  int least = details_->header()->minimumSectionSize() + details_->iconSize().width();
  details_->setColumnWidth(0, std::max(least, std::min(wanted, room)));
}

bool FileView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) emit pressed();
  if (event->type() == QEvent::Resize && watched == details_->viewport()) fitNameColumn();
  if (event->type() != QEvent::KeyPress) return QStackedWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  if (enter && key->modifiers() & Qt::AltModifier) {
    emit propertiesRequested();
    return true;
  }
  if (enter) return activateCurrent();
  if (key->key() == Qt::Key_Backspace) {
    emit parentRequested();
    return true;
  }
  return QStackedWidget::eventFilter(watched, event);
}

}  // namespace qm::gui
