#include "gui/main/plugin_view.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QSplitter>
#include <QVBoxLayout>

#include "core/common/cp1252.h"
#include "core/plugins/enable_disable.h"
#include "core/plugins/image_modes.h"
#include "core/plugins/photoshop_modes.h"
#include "gui/main/app_context.h"
#include "gui/main/plugin_lists.h"
#include "gui/main/throttled_progress.h"
#include "gui/shell/qt_progress.h"

namespace qm::gui {
namespace {

QString fromFile(const std::string& bytes) {
  return QString::fromStdString(cp1252ToUtf8(bytes));
}
QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The widest entry sets the list's horizontal extent, so a scroll bar appears when needed.
void fitWidth(QListWidget* list) {
  int widest = 0;
  for (int i = 0; i < list->count(); ++i)
    widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->item(i)->text()));
  list->setMinimumWidth(0);
  list->setHorizontalScrollBarPolicy(widest > list->viewport()->width() ? Qt::ScrollBarAsNeeded
                                                                        : Qt::ScrollBarAlwaysOff);
}

// The Modes and Architecture columns and the tooltip of a row's entry.
FilterListEntry entryFor(std::string text, std::size_t number,
                         const plugins::Catalogue& catalogue) {
  FilterListEntry entry{qs(text), number, {}, {}, {}};
  if (number == 0 || number > catalogue.rowCount()) return entry;
  const plugins::CatalogueRow& row = catalogue.row(number);
  if (row.modes) {
    entry.modes = QString::fromStdString(plugins::modesColumnText(*row.modes));
    entry.toolTip = QString::fromStdString(plugins::modesRestriction(*row.modes));
  }
  if (row.architecture)
    entry.architecture = *row.architecture == "arm64" ? QStringLiteral("ARM64")
                                                      : QString::fromStdString(*row.architecture);
  return entry;
}

}  // namespace

PluginView::PluginView(int pane, AppContext& context, QWidget* parent)
    : QWidget(parent),
      pane_(pane),
      context_(context),
      oldMode_(new QCheckBox(qs(plugins::oldModeCaption(pane)), this)),
      newMode_(new QCheckBox(qs(plugins::newModeCaption(pane)), this)),
      categories_(new CategoryList(pane, this)),
      filters_(new FilterList(pane, this)),
      status_(new QLabel(this)),
      listsOrNotice_(new QStackedWidget(this)),
      notice_(new QLabel(qs(plugins::kNoPluginsFound), this)) {
  oldMode_->setObjectName("oldModeBox");
  newMode_->setObjectName("newModeBox");
  status_->setObjectName("pluginStatus");
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  status_->setFrameShape(QFrame::StyledPanel);
  status_->setFrameShadow(QFrame::Sunken);
  auto* boxes = new QHBoxLayout;
  boxes->addWidget(oldMode_);
  boxes->addWidget(newMode_);
  boxes->addStretch(1);
  notice_->setObjectName("noPluginsNotice");
  notice_->setWordWrap(true);
  notice_->setAlignment(Qt::AlignCenter);
  notice_->setMargin(12);
  // The label wraps the text to the pane's width itself.
  notice_->setText(notice_->text().replace("\r\n", " ").replace('\n', ' '));
  auto* lists = new QSplitter(Qt::Horizontal, this);
  lists->addWidget(categories_);
  lists->addWidget(filters_);
  lists->setStretchFactor(0, 2);
  lists->setStretchFactor(1, 3);
  lists->setChildrenCollapsible(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 2, 0, 0);
  layout->setSpacing(2);
  layout->addLayout(boxes);
  listsOrNotice_->addWidget(lists);
  listsOrNotice_->addWidget(notice_);
  layout->addWidget(listsOrNotice_, 1);
  layout->addWidget(status_);

  connect(categories_, &QListWidget::itemSelectionChanged, this, &PluginView::categoryClick);
  connect(filters_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &PluginView::filterClick);
  connect(oldMode_, &QCheckBox::toggled, this, &PluginView::categoryClick);
  connect(newMode_, &QCheckBox::toggled, this, &PluginView::categoryClick);
  connect(categories_, &CategoryList::changeCategoryWanted, this,
          [this](int index, const std::vector<std::size_t>& rows) {
            const auto& all = catalogue_.categories();
            if (index < 0 || static_cast<std::size_t>(index) >= all.size()) return;
            const int fills = categoryFills_;
            emit changeCategoryWanted(all[static_cast<std::size_t>(index)], rows);
            // Refused or nothing moved: the lists show what they showed before the drag.
            if (fills == categoryFills_) categories_->restoreSelectionBeforeDrag();
          });
  connect(categories_, &CategoryList::moveFilesWanted, this, &PluginView::moveFilesWanted);
  connect(filters_, &FilterList::propertiesWanted, this, &PluginView::propertiesWanted);
  connect(filters_, &FilterList::backToCategories, categories_, qOverload<>(&QWidget::setFocus));
}

PluginView::~PluginView() {
  waitForScan();
}

bool PluginView::enter(const std::filesystem::path& folder, QtProgress& progress,
                       bool filterFactoryOnly) {
  if (busy()) return false;
  if (catalogue_.upToDate(folder)) return false;
  startScan(folder, progress, filterFactoryOnly);
  return true;
}

void PluginView::rescan(const std::filesystem::path& folder, QtProgress& progress,
                        bool filterFactoryOnly) {
  if (busy()) return;
  catalogue_.markStale();
  startScan(folder, progress, filterFactoryOnly);
}

void PluginView::startScan(const std::filesystem::path& folder, QtProgress& progress,
                           bool filterFactoryOnly) {
  categories_->clear();
  filters_->entries()->setEntries({});
  listsOrNotice_->setCurrentIndex(0);
  progress.reset();
  plugins::ScanOptions options;
  options.recursive = context_.options.scanSubDirs;
  options.filterFactoryOnly = filterFactoryOnly;
  options.includeSources = context_.options.includeSources;
  statusConnection_ = connect(&progress, &QtProgress::statusChanged, status_, &QLabel::setText);
  auto result = std::make_shared<plugins::ScanResult>();
  // The worker touches only the catalogue, the type table, the options and the cache (which
  // guards itself), none of which the window changes while busy() is true.
  worker_ = QThread::create([this, folder, options, result, &progress] {
    // The label can show a few names a second; a queued signal per file would cost more
    // than reading the file.
    ThrottledProgress throttled(progress);
    *result = catalogue_.scan(folder, options, context_.typeTable, context_.ffOptions, throttled,
                              context_.catalogueCache.get());
  });
  connect(worker_, &QThread::finished, this, [this, result] { scanDone(*result); });
  QApplication::setOverrideCursor(Qt::WaitCursor);
  emit scanStarted();
  worker_->start();
}

void PluginView::waitForScan() {
  if (!worker_) return;
  worker_->wait();
  QCoreApplication::sendPostedEvents(this);
  QCoreApplication::sendPostedEvents(worker_);
  if (worker_) scanDone(plugins::ScanResult{plugins::ScanStatus::Cancelled, catalogue_.rowCount()});
}

void PluginView::scanDone(plugins::ScanResult result) {
  if (!worker_) return;
  worker_->deleteLater();
  worker_ = nullptr;
  disconnect(statusConnection_);
  QApplication::restoreOverrideCursor();
  fillCategories();
  // A stopped scan's rows are only part of the folder: the pane says so where the folder is
  // named.
  stopped_ = result.status == plugins::ScanStatus::Cancelled
                 ? QString::fromStdString(plugins::scanStoppedText(result))
                 : QString();
  status_->setText(stopped_.isEmpty() ? QString::fromStdString(catalogue_.categoryClickStatus())
                                      : stopped_);
  bool found = result.lastRow > 0;
  // A cancelled scan says nothing about the folder.
  bool nothingThere = !found && result.status != plugins::ScanStatus::Cancelled;
  listsOrNotice_->setCurrentIndex(nothingThere ? 1 : 0);
  emit scanFinished(found);
}

void PluginView::fillCategories() {
  ++categoryFills_;
  QStringList selected;
  for (const QListWidgetItem* item : categories_->selectedItems()) selected << item->text();
  categories_->setUpdatesEnabled(false);
  categories_->blockSignals(true);
  categories_->clear();
  // The categories selected before stay selected, so the filter list still fits.
  for (const auto& category : catalogue_.categories()) {
    auto* item = new QListWidgetItem(fromFile(category), categories_);
    item->setSelected(selected.contains(item->text()));
  }
  categories_->blockSignals(false);
  categories_->setUpdatesEnabled(true);
  fitWidth(categories_);
}

bool PluginView::photoshopMode() const {
  return oldMode_->isChecked() || newMode_->isChecked();
}

std::vector<std::string> PluginView::selectedCategories() const {
  std::vector<std::string> selected;
  const auto& all = catalogue_.categories();
  for (int i = 0; i < categories_->count() && static_cast<std::size_t>(i) < all.size(); ++i)
    if (categories_->item(i)->isSelected()) selected.push_back(all[static_cast<std::size_t>(i)]);
  return selected;
}

void PluginView::categoryClick() {
  if (busy()) return;
  auto selected = selectedCategories();
  if (selected.empty()) return;
  status_->setText(stopped_.isEmpty() ? QString::fromStdString(catalogue_.categoryClickStatus())
                                      : stopped_);
  std::vector<FilterListEntry> entries;
  for (auto& entry : catalogue_.filterEntries(selected, photoshopMode(), context_.typeTable))
    entries.push_back(entryFor(std::move(entry.text), entry.row, catalogue_));
  // One reset of the model, whatever the number of entries.
  filters_->entries()->setEntries(std::move(entries));
}

void PluginView::filterClick() {
  const QModelIndex current = filters_->currentIndex();
  if (busy() || !current.isValid() || !filters_->selectionModel()->isRowSelected(current.row(), {}))
    return;
  auto status = catalogue_.filterClickStatus(current.data(kFilterRowRole).toULongLong(),
                                             oldMode_->isChecked());
  if (!status) return;
  QString full = QString::fromStdString(status->full);
  bool fits = status_->fontMetrics().horizontalAdvance(full) <= status_->contentsRect().width();
  status_->setText(fits ? full : QString::fromStdString(status->shortForm));
  status_->setToolTip(full);
}

std::vector<std::size_t> PluginView::selectedRows() const {
  std::vector<std::size_t> rows;
  const auto& entries = filters_->entries()->entries();
  for (int i : filters_->selectedEntryRows()) {
    const std::size_t row = entries[static_cast<std::size_t>(i)].row;
    if (row > 0) rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> PluginView::selectedBuiltIns() const {
  std::vector<std::string> names;
  const auto& entries = filters_->entries()->entries();
  for (int i : filters_->selectedEntryRows()) {
    const auto& entry = entries[static_cast<std::size_t>(i)];
    if (entry.row == 0) names.push_back(entry.text.toStdString());
  }
  return names;
}

void PluginView::selectAll() {
  filters_->selectAll();
}

void PluginView::toggleSelection() {
  const int count = filters_->count();
  if (count == 0) return;
  QItemSelection all(filters_->entries()->index(0, 0),
                     filters_->entries()->index(count - 1, FilterEntryModel::ColumnCount - 1));
  filters_->selectionModel()->select(all, QItemSelectionModel::Toggle);
}

bool PluginView::entryOfFiles(std::size_t row,
                              const std::vector<std::filesystem::path>& files) const {
  if (row == 0 || row > catalogue_.rowCount()) return false;
  const auto& path = catalogue_.row(row).path;
  return std::find(files.begin(), files.end(), path) != files.end();
}

void PluginView::removeEntriesFor(const std::vector<std::filesystem::path>& files) {
  filters_->entries()->removeIf(
      [&](const FilterListEntry& entry) { return entryOfFiles(entry.row, files); });
}

void PluginView::deselectEntriesFor(const std::vector<std::filesystem::path>& files) {
  const auto& entries = filters_->entries()->entries();
  for (int i : filters_->selectedEntryRows())
    if (entryOfFiles(entries[static_cast<std::size_t>(i)].row, files))
      filters_->selectionModel()->select(filters_->entries()->index(i, 0),
                                         QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}

void PluginView::setEntryState(const std::filesystem::path& file, bool enabled) {
  const auto& entries = filters_->entries()->entries();
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entryOfFiles(entries[i].row, {file}))
      filters_->entries()->setText(
          static_cast<int>(i),
          qs(plugins::withStatePrefix(entries[i].text.toStdString(), enabled)));
}

void PluginView::showCategories(const std::optional<std::string>& select) {
  fillCategories();
  if (!select) return;
  const auto& all = catalogue_.categories();
  categories_->blockSignals(true);
  for (std::size_t i = 0; i < all.size() && i < static_cast<std::size_t>(categories_->count()); ++i)
    categories_->item(static_cast<int>(i))->setSelected(all[i] == *select);
  categories_->blockSignals(false);
  categoryClick();
}

void PluginView::CheckPhotoshopMode() {
  if (!catalogue_.photoshopModeNeedsRefresh(oldMode_->isChecked())) return;
  setUpdatesEnabled(false);
  oldMode_->setChecked(false);
  oldMode_->setChecked(true);
  setUpdatesEnabled(true);
}

}  // namespace qm::gui
