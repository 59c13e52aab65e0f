#include "gui/main/folder_caption.h"

#include <QMouseEvent>

#include "core/settings/file_patterns.h"

namespace qm::gui {

FolderCaption::FolderCaption(QWidget* parent) : QLabel(parent) {
  setObjectName("folderCaption");
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Sunken);
  setMargin(2);
  setToolTip(kCaptionTooltip);
}

void FolderCaption::setPath(const QString& path) {
  path_ = QString::fromStdString(settings::folderCaption(path.toStdString()));
  setText(path_);
  DrawDirLabel();
}

void FolderCaption::DrawDirLabel() {
  int room = contentsRect().width() - 2 * margin();
  bool tooWide = fontMetrics().horizontalAdvance(path_) > room;
  setAlignment((tooWide ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  setToolTip(tooWide ? path_ : QString(kCaptionTooltip));
}

void FolderCaption::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  DrawDirLabel();
}

void FolderCaption::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) emit contextMenuWanted(event->globalPosition().toPoint());
  QLabel::mousePressEvent(event);
}

}  // namespace qm::gui
