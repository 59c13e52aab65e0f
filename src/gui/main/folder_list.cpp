#include "gui/main/folder_list.h"

#include <QDir>
#include <QKeyEvent>

#include "core/plugins/file_listing.h"
#include "gui/main/icons.h"

namespace qm::gui {
namespace {

constexpr int kPathRole = Qt::UserRole + 1;

}  // namespace

FolderList::FolderList(const FileIcons& icons, QWidget* parent)
    : QListWidget(parent), icons_(icons) {
  setObjectName("folderList");
  setIconSize(QSize(16, 16));
  connect(this, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { emit folderChosen(item->data(kPathRole).toString()); });
}

void FolderList::showFolder(const std::filesystem::path& folder) {
  folder_ = folder;
  clear();
  QDir dir(QString::fromStdString(folder.string()));
  QStringList chain;
  for (QDir up = dir;;) {
    chain.prepend(up.absolutePath());
    if (up.isRoot() || !up.cdUp()) break;
  }
  int depth = 0;
  for (const QString& path : chain) {
    QString name = depth == 0 ? path : QDir(path).dirName();
    auto* item = new QListWidgetItem(icons_.forIndex(plugins::kIconFolder),
                                     QString(depth * 2, ' ') + name, this);
    item->setData(kPathRole, path);
    ++depth;
  }
  QListWidgetItem* current = item(count() - 1);
  QFont bold = font();
  bold.setBold(true);
  current->setFont(bold);
  for (const QString& sub :
       dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QListWidgetItem(icons_.forIndex(plugins::kIconFolder),
                                     QString(depth * 2, ' ') + sub, this);
    item->setData(kPathRole, dir.absoluteFilePath(sub));
  }
  setCurrentItem(current);
}

std::filesystem::path FolderList::highlighted() const {
  QListWidgetItem* item = currentItem();
  return item ? std::filesystem::path(item->data(kPathRole).toString().toStdString()) : folder_;
}

void FolderList::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
    emit folderChosen(currentItem()->data(kPathRole).toString());
    return;
  }
  if (event->key() == Qt::Key_Backspace) {
    // At a root the parent is the root itself: the list stays where it is.
    QDir dir(QString::fromStdString(folder_.string()));
    if (dir.cdUp()) emit folderChosen(dir.absolutePath());
    return;
  }
  QListWidget::keyPressEvent(event);
}

void FolderList::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    emit contextMenuWanted(event->globalPosition().toPoint());
    return;
  }
  QListWidget::mousePressEvent(event);
}

}  // namespace qm::gui
