#include "gui/main/search_panel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QVBoxLayout>
#include <atomic>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/plugins/image_modes.h"
#include "gui/main/app_context.h"

namespace qm::gui {
namespace {

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

// Stops a reading of the rows when the panel goes away or the scope changes.
class StopFlag final : public Progress {
 public:
  void status(std::string_view) override {}
  void percent(int) override {}
  bool cancelled() override { return stop.load(); }
  std::atomic<bool> stop{false};
};

}  // namespace

void SearchResultModel::setRows(std::vector<const plugins::CatalogueRow*> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

const plugins::CatalogueRow* SearchResultModel::rowAt(int row) const {
  if (row < 0 || row >= rowCount()) return nullptr;
  return rows_[static_cast<std::size_t>(row)];
}

int SearchResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SearchResultModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant SearchResultModel::data(const QModelIndex& index, int role) const {
  const plugins::CatalogueRow* row = rowAt(index.row());
  if (!row) return {};
  if (role == Qt::ToolTipRole) {
    if (!row->modes) return {};
    return qs(plugins::modesRestriction(*row->modes));
  }
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case Title:
      return qs(row->title);
    case Category:
      return qs(cp1252ToUtf8(row->category));
    case Modes:
      return row->modes ? qs(plugins::modesColumnText(*row->modes)) : QString();
    case Architecture:
      if (!row->architecture) return {};
      return *row->architecture == "arm64" ? QStringLiteral("ARM64") : qs(*row->architecture);
    case Folder:
      return qs(displayPath(row->path.parent_path()));
    default:
      return {};
  }
}

QVariant SearchResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kHeaders[] = {"Filter", "Category", "Modes", "Architecture", "Folder"};
  if (section < 0 || section >= ColumnCount) return {};
  return QString::fromLatin1(kHeaders[section]);
}

SearchPanel::SearchPanel(AppContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      box_(new QLineEdit(this)),
      allFolders_(new QCheckBox("All Folders", this)),
      results_(new QTreeView(this)),
      model_(new SearchResultModel(this)) {
  box_->setObjectName("searchBox");
  box_->setPlaceholderText("Search categories, titles and file names (Ctrl+F)");
  box_->setClearButtonEnabled(true);
  box_->installEventFilter(this);
  allFolders_->setObjectName("searchAllFolders");
  allFolders_->setToolTip("Search every folder of the Folders list, not only this one");
  results_->setObjectName("searchResults");
  results_->setModel(model_);
  results_->setRootIsDecorated(false);
  results_->setUniformRowHeights(true);
  results_->setSelectionBehavior(QAbstractItemView::SelectRows);
  results_->setContextMenuPolicy(Qt::CustomContextMenu);
  results_->header()->setStretchLastSection(true);
  results_->setVisible(false);
  const QFontMetrics metrics = fontMetrics();
  results_->header()->resizeSection(SearchResultModel::Title, metrics.horizontalAdvance('x') * 28);
  results_->header()->resizeSection(SearchResultModel::Category,
                                    metrics.horizontalAdvance('x') * 18);

  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(box_, 1);
  row->addWidget(allFolders_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addLayout(row);
  layout->addWidget(results_, 1);

  connect(box_, &QLineEdit::textChanged, this, &SearchPanel::queryChanged);
  connect(allFolders_, &QCheckBox::toggled, this, [this] {
    stale_ = true;
    if (stopWorker_) stopWorker_();
    queryChanged();
  });
  connect(results_, &QTreeView::customContextMenuRequested, this, &SearchPanel::resultsMenu);
  connect(results_, &QTreeView::activated, this, [this](const QModelIndex& index) {
    if (const plugins::CatalogueRow* row = model_->rowAt(index.row()))
      emit openFolderWanted(row->path.parent_path());
  });
}

SearchPanel::~SearchPanel() {
  closing_ = true;
  if (stopWorker_) stopWorker_();
  waitForIndex();
}

void SearchPanel::setFolder(const std::filesystem::path& folder) {
  if (folder == folder_) return;
  folder_ = folder;
  if (allFolders_->isChecked()) return;
  stale_ = true;
  if (stopWorker_) stopWorker_();
  if (!box_->text().isEmpty()) queryChanged();
}

void SearchPanel::focusSearch() {
  box_->setFocus(Qt::ShortcutFocusReason);
  box_->selectAll();
}

void SearchPanel::clear() {
  box_->clear();
}

bool SearchPanel::eventFilter(QObject* watched, QEvent* event) {
  const bool escape =
      (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
  if (watched != box_ || !escape || box_->text().isEmpty())
    return QWidget::eventFilter(watched, event);
  // The window's Escape stops long work; in a box holding words it clears them first.
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  box_->clear();
  return true;
}

void SearchPanel::queryChanged() {
  const bool searching = !catalogue::searchWords(box_->text().toStdString()).empty();
  results_->setVisible(searching);
  emit resultsShown(searching);
  if (!searching) {
    model_->setRows({});
    // The next search reads the folders again, so it sees what changed meanwhile.
    stale_ = true;
    return;
  }
  if (stale_ && !worker_) startIndex();
  if (!worker_) showMatches();
}

void SearchPanel::startIndex() {
  stale_ = false;
  index_.reset();
  model_->setRows({});
  std::vector<std::filesystem::path> folders;
  if (allFolders_->isChecked()) {
    for (const auto& f : context_.options.folders) folders.emplace_back(f);
  } else if (!folder_.empty()) {
    folders.push_back(folder_);
  }
  plugins::ScanOptions options;
  options.recursive = context_.options.scanSubDirs;
  options.includeSources = context_.options.includeSources;
  auto rows = std::make_shared<std::vector<plugins::CatalogueRow>>();
  auto index = std::make_shared<std::unique_ptr<catalogue::SearchIndex>>();
  auto stop = std::make_shared<StopFlag>();
  // The worker has its own copies of what the window may change meanwhile.
  worker_ = QThread::create([=, table = context_.typeTable, ffOptions = context_.ffOptions,
                             cache = context_.catalogueCache] {
    for (const auto& folder : folders) {
      std::error_code ec;
      if (!std::filesystem::is_directory(folder, ec)) continue;
      plugins::Catalogue catalogue;
      catalogue.scan(folder, options, table, ffOptions, *stop, cache.get());
      rows->insert(rows->end(), catalogue.rows().begin(), catalogue.rows().end());
      if (stop->cancelled()) return;
    }
    *index = std::make_unique<catalogue::SearchIndex>(*rows);
  });
  connect(worker_, &QThread::finished, this, [this, rows, index] {
    rows_ = rows;
    index_ = std::move(*index);
    indexDone();
  });
  stopWorker_ = [stop] { stop->stop = true; };
  worker_->start();
}

void SearchPanel::indexDone() {
  worker_->deleteLater();
  worker_ = nullptr;
  stopWorker_ = {};
  // The scope changed while reading: read again for the new one.
  if (stale_ && !closing_ && !box_->text().isEmpty()) {
    startIndex();
    return;
  }
  showMatches();
}

void SearchPanel::waitForIndex() {
  if (!worker_) return;
  worker_->wait();
  QCoreApplication::sendPostedEvents(this);
  QCoreApplication::sendPostedEvents(worker_);
}

void SearchPanel::showMatches() {
  if (!index_ || !rows_) return;
  std::vector<const plugins::CatalogueRow*> found;
  for (std::size_t i : index_->find(box_->text().toStdString())) found.push_back(&(*rows_)[i]);
  model_->setRows(std::move(found));
}

void SearchPanel::resultsMenu(const QPoint& at) {
  const plugins::CatalogueRow* row = model_->rowAt(results_->indexAt(at).row());
  if (!row) return;
  QMenu menu(this);
  QAction* open = menu.addAction("Open Folder");
  open->setObjectName("openResultFolder");
  const std::filesystem::path folder = row->path.parent_path();
  connect(open, &QAction::triggered, this, [this, folder] { emit openFolderWanted(folder); });
  menu.exec(results_->viewport()->mapToGlobal(at));
}

}  // namespace qm::gui
