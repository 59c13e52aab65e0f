#include "gui/main/ffl_view.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/ff/ffl.h"
#include "core/plugins/file_bytes.h"
#include "gui/main/icons.h"

namespace qm::gui {
namespace {

constexpr int kPositionRole = Qt::UserRole + 1;

QString fromFile(const std::string& bytes) {
  return QString::fromStdString(cp1252ToUtf8(bytes));
}

}  // namespace

FflView::FflView(QWidget* parent)
    : QWidget(parent),
      list_(new QTreeWidget(this)),
      open_(new QToolButton(this)),
      status_(new QLabel(this)) {
  list_->setObjectName("fflList");
  list_->setHeaderLabels({"Category", "Filter Name", "Author", "Position"});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setSortingEnabled(false);
  list_->header()->setStretchLastSection(false);
  list_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
  open_->setObjectName("openLibraryButton");
  open_->setText("Open Library...");
  open_->setIcon(buttonIcon(ButtonPicture::OpenLibrary));
  open_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  open_->setAutoRaise(true);
  status_->setObjectName("fflStatus");
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* bar = new QHBoxLayout;
  bar->addWidget(open_);
  bar->addWidget(status_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 2, 0, 0);
  layout->addWidget(list_, 1);
  layout->addLayout(bar);
  connect(open_, &QToolButton::clicked, this, &FflView::openWanted);
  connect(list_, &QAbstractItemView::activated, this, [this] { emit entryActivated(); });
}

bool FflView::showLibrary(const std::filesystem::path& library) {
  if (library == library_ && list_->topLevelItemCount() > 0) return true;
  list_->clear();
  library_.clear();
  auto bytes = plugins::readWholeFile(library);
  std::optional<ff::FFLIndex> index;
  if (bytes) index = ff::IndexFFL(ByteView(bytes->data(), bytes->size()));
  QString name = QString::fromStdString(displayName(library));
  if (!index) {
    status_->setText(name + " is no Filter Factory library.");
    return false;
  }
  library_ = library;
  list_->setUpdatesEnabled(false);
  for (const auto& entry : index->entries) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(0, fromFile(entry.category));
    item->setText(1, fromFile(entry.title));
    item->setText(2, fromFile(entry.author));
    item->setText(3, QString::number(entry.position));
    item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    item->setData(0, kPositionRole, QVariant::fromValue<qulonglong>(entry.position));
    if (entry.placeholder)
      item->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
  }
  list_->setUpdatesEnabled(true);
  for (int c : {0, 2, 3}) list_->resizeColumnToContents(c);
  status_->setText(QString("%1 (%2, %3 entries)")
                       .arg(name, QString::fromStdString(index->header))
                       .arg(index->entries.size()));
  status_->setToolTip(QString::fromStdString(displayPath(library)));
  return true;
}

void FflView::forget() {
  library_.clear();
  list_->clear();
  status_->clear();
}

std::vector<std::uint64_t> FflView::selectedPositions() const {
  std::vector<std::uint64_t> positions;
  for (int i = 0; i < list_->topLevelItemCount(); ++i)
    if (list_->topLevelItem(i)->isSelected())
      positions.push_back(list_->topLevelItem(i)->data(0, kPositionRole).toULongLong());
  return positions;
}

void FflView::removeEntries(const std::vector<std::uint64_t>& positions) {
  for (int i = list_->topLevelItemCount() - 1; i >= 0; --i) {
    auto position = list_->topLevelItem(i)->data(0, kPositionRole).toULongLong();
    if (std::find(positions.begin(), positions.end(), position) != positions.end())
      delete list_->takeTopLevelItem(i);
  }
}

void FflView::selectAll() {
  list_->selectAll();
}

void FflView::toggleSelection() {
  for (int i = 0; i < list_->topLevelItemCount(); ++i)
    list_->topLevelItem(i)->setSelected(!list_->topLevelItem(i)->isSelected());
}

}  // namespace qm::gui
