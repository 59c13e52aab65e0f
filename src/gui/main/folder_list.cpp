#include "gui/main/folder_list.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>

#include "core/plugins/file_listing.h"
#include "gui/main/context_selection.h"
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
    item->setToolTip(QDir::toNativeSeparators(path));
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
    item->setToolTip(QDir::toNativeSeparators(dir.absoluteFilePath(sub)));
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

bool FolderList::event(QEvent* event) {
  // F2 renames the folder here and Delete does nothing: the window's shortcuts for them act
  // on files.
  if (event->type() == QEvent::ShortcutOverride) {
    int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_F2 || key == Qt::Key_Delete) {
      event->accept();
      return true;
    }
  }
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2) {
    emit renameWanted();
    return true;
  }
  return QListWidget::event(event);
}

void FolderList::keyboardSearch(const QString& search) {
  if (search.isEmpty() || count() == 0) return;
  bool goOn = lastTyped_.isValid() && lastTyped_.elapsed() < QApplication::keyboardInputInterval();
  lastTyped_.start();
  // Typing one letter again goes to the next folder beginning with it.
  bool sameLetter = typed_.size() == 1 && search.compare(typed_, Qt::CaseInsensitive) == 0;
  typed_ = goOn && !sameLetter ? typed_ + search : search;
  int from = typed_.size() == 1 ? currentRow() + 1 : std::max(currentRow(), 0);
  for (int i = 0; i < count(); ++i) {
    int row = (from + i) % count();
    if (item(row)->text().trimmed().startsWith(typed_, Qt::CaseInsensitive)) {
      setCurrentRow(row);
      scrollToItem(item(row));
      return;
    }
  }
}

void FolderList::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    selectForContextMenu(*this, event->position().toPoint());
    emit contextMenuWanted(event->globalPosition().toPoint());
    return;
  }
  QListWidget::mousePressEvent(event);
}

}  // namespace qm::gui
