#include "gui/main/duplicates_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "gui/main/app_context.h"

namespace qm::gui {
namespace {

constexpr int kPathRole = Qt::UserRole + 1;

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

DuplicatesWindow::DuplicatesWindow(AppContext& context, std::filesystem::path folder,
                                   std::function<void(const std::filesystem::path&)> openFolder,
                                   QWidget* parent)
    : QDialog(parent),
      context_(context),
      folder_(std::move(folder)),
      openFolder_(std::move(openFolder)),
      allFolders_(new QCheckBox("All Folders", this)),
      summary_(new QLabel(this)),
      groups_(new QTreeWidget(this)) {
  setObjectName("duplicatesWindow");
  setWindowTitle("Duplicates");
  allFolders_->setObjectName("duplicatesAllFolders");
  allFolders_->setToolTip("Every folder of the Folders list, not only this one");
  summary_->setObjectName("duplicatesSummary");
  groups_->setObjectName("duplicateGroups");
  groups_->setHeaderLabels({"Filter", "Files"});
  groups_->setContextMenuPolicy(Qt::CustomContextMenu);
  groups_->header()->setStretchLastSection(true);
  groups_->header()->resizeSection(0, fontMetrics().horizontalAdvance('x') * 40);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(allFolders_);
  layout->addWidget(groups_, 1);
  layout->addWidget(summary_);
  resize(720, 480);
  connect(allFolders_, &QCheckBox::toggled, this, [this] {
    if (worker_) {
      restart_ = true;
    } else {
      start();
    }
  });
  connect(groups_, &QTreeWidget::customContextMenuRequested, this, &DuplicatesWindow::menu);
  start();
}

DuplicatesWindow::~DuplicatesWindow() {
  restart_ = false;
  waitForGroups();
}

void DuplicatesWindow::start() {
  groups_->clear();
  summary_->setText("Reading the catalogue...");
  std::vector<std::filesystem::path> folders;
  if (allFolders_->isChecked()) {
    for (const auto& f : context_.options.folders) folders.emplace_back(f);
  } else {
    folders.push_back(folder_);
  }
  plugins::ScanOptions options;
  options.recursive = context_.options.scanSubDirs;
  options.includeSources = context_.options.includeSources;
  auto groups = std::make_shared<std::vector<catalogue::DuplicateGroup>>();
  worker_ = QThread::create([=, table = context_.typeTable, ffOptions = context_.ffOptions,
                             cache = context_.catalogueCache] {
    std::vector<plugins::CatalogueRow> rows;
    SilentProgress quiet;
    for (const auto& folder : folders) {
      std::error_code ec;
      if (!std::filesystem::is_directory(folder, ec)) continue;
      plugins::Catalogue catalogue;
      catalogue.scan(folder, options, table, ffOptions, quiet, cache.get());
      rows.insert(rows.end(), catalogue.rows().begin(), catalogue.rows().end());
    }
    *groups = catalogue::findDuplicates(rows);
  });
  connect(worker_, &QThread::finished, this, [this, groups] {
    worker_->deleteLater();
    worker_ = nullptr;
    if (restart_) {
      restart_ = false;
      start();
      return;
    }
    showGroups(*groups);
  });
  worker_->start();
}

void DuplicatesWindow::waitForGroups() {
  while (worker_) {
    worker_->wait();
    QCoreApplication::sendPostedEvents(this);
    QCoreApplication::sendPostedEvents(worker_);
  }
}

void DuplicatesWindow::showGroups(const std::vector<catalogue::DuplicateGroup>& groups) {
  groups_->setUpdatesEnabled(false);
  paths_.clear();
  int identical = 0;
  for (const auto& g : groups) {
    auto* top = new QTreeWidgetItem(groups_);
    top->setText(0, qs(cp1252ToUtf8(g.category)) + ": " + qs(g.title));
    top->setText(
        1, QString::number(g.paths.size()) + " files" + (g.identical ? ", identical bytes" : ""));
    if (g.identical) {
      QFont bold = top->font(0);
      bold.setBold(true);
      top->setFont(1, bold);
      ++identical;
    }
    for (const auto& path : g.paths) {
      auto* file = new QTreeWidgetItem(top);
      file->setText(0, qs(displayName(path)));
      file->setText(1, qs(displayPath(path.parent_path())));
      // By index: a name that is not valid UTF-8 still opens its real folder.
      file->setData(0, kPathRole, static_cast<qulonglong>(paths_.size()));
      paths_.push_back(path);
    }
    top->setExpanded(true);
  }
  groups_->setUpdatesEnabled(true);
  summary_->setText(groups.empty() ? QStringLiteral("No filter is held by more than one file.")
                                   : QString("%1 filters in more than one file, %2 of them in "
                                             "files with identical bytes.")
                                         .arg(groups.size())
                                         .arg(identical));
}

void DuplicatesWindow::menu(const QPoint& at) {
  QTreeWidgetItem* item = groups_->itemAt(at);
  if (!item || !item->parent()) return;
  const auto index = item->data(0, kPathRole).toULongLong();
  if (index >= paths_.size()) return;
  const std::filesystem::path path = paths_[index];
  QMenu menu(this);
  QAction* open = menu.addAction("Open Folder");
  open->setObjectName("openDuplicateFolder");
  connect(open, &QAction::triggered, this, [this, path] { openFolder_(path.parent_path()); });
  menu.exec(groups_->viewport()->mapToGlobal(at));
}

}  // namespace qm::gui
