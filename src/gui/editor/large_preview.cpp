#include "gui/editor/large_preview.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QWheelEvent>

#include "platform/image_codec.h"

namespace qm::gui {

LargePreview::LargePreview(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("LargePreview");
  setWindowTitle("Large Preview");
  setMinimumSize(320, 240);
  resize(900, 680);
  setMouseTracking(true);
  setToolTip("Wheel: zoom, drag: pan, drag the line: compare before and after");
}

void LargePreview::setImages(const QImage& before, const QImage& after) {
  before_ = before;
  after_ = after;
  // Start with the whole picture filling the window (a small one at most four times enlarged).
  if (!after_.isNull())
    zoom_ = std::min({4.0, double(width()) / after_.width(), double(height()) / after_.height()});
  offset_ = {};
  update();
}

double LargePreview::lineX() const {
  // The line stays where the user put it in the window while the picture zooms and pans under
  // it; it never leaves the picture's visible part.
  const QRectF target = pictureRect();
  const double left = std::max(target.left(), 0.0);
  const double right = std::min(target.right(), double(width()));
  const double x = width() * lineAt_;
  return left <= right ? std::clamp(x, left, right) : x;
}

double LargePreview::split() const {
  const QRectF target = pictureRect();
  if (target.width() <= 0) return 0;
  return std::clamp((lineX() - target.left()) / target.width(), 0.0, 1.0);
}

QRectF LargePreview::pictureRect() const {
  const QSizeF size(after_.width() * zoom_, after_.height() * zoom_);
  const QPointF centre(width() / 2.0, height() / 2.0);
  return QRectF(centre - QPointF(size.width() / 2, size.height() / 2) + offset_, size);
}

void LargePreview::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(0x30, 0x30, 0x30));
  if (after_.isNull()) return;
  p.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < 1.0);
  const QRectF target = pictureRect();
  p.drawImage(target, after_);
  const double lineX = this->lineX();
  if (!before_.isNull() && lineX > target.left()) {
    p.save();
    p.setClipRect(QRectF(target.left(), target.top(), lineX - target.left(), target.height()));
    p.drawImage(target, before_);
    p.restore();
  }
  p.setPen(QPen(Qt::white, 2));
  p.drawLine(QPointF(lineX, target.top()), QPointF(lineX, target.bottom()));
  p.setPen(Qt::white);
  // The labels stay in the window too, however far the picture's top is scrolled away.
  const double labelTop = std::clamp(target.top() + 4, 4.0, std::max(4.0, height() - 40.0));
  p.drawText(QRectF(lineX - 70, labelTop, 64, 18), Qt::AlignRight, "before");
  p.drawText(QRectF(lineX + 6, labelTop, 64, 18), Qt::AlignLeft, "after");
  p.drawText(rect().adjusted(8, 0, -8, -6), Qt::AlignRight | Qt::AlignBottom,
             QString("%1%").arg(qRound(zoom_ * 100)));
}

void LargePreview::wheelEvent(QWheelEvent* event) {
  const double factor = event->angleDelta().y() > 0 ? 1.25 : 0.8;
  const double next = std::clamp(zoom_ * factor, 0.05, 32.0);
  // Zoom about the pointer: the picture point under it stays under it.
  const QPointF pointer = event->position();
  const QPointF centre(width() / 2.0, height() / 2.0);
  offset_ = pointer - centre - (pointer - centre - offset_) * (next / zoom_);
  zoom_ = next;
  update();
}

void LargePreview::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  draggingSplit_ = std::abs(event->position().x() - lineX()) < 6;
  panning_ = !draggingSplit_;
  dragFrom_ = event->position();
}

void LargePreview::mouseMoveEvent(QMouseEvent* event) {
  if (draggingSplit_ && width() > 0) {
    lineAt_ = std::clamp(event->position().x() / width(), 0.0, 1.0);
    update();
  } else if (panning_) {
    offset_ += event->position() - dragFrom_;
    dragFrom_ = event->position();
    update();
  } else {
    setCursor(std::abs(event->position().x() - lineX()) < 6 ? Qt::SplitHCursor
                                                            : Qt::OpenHandCursor);
  }
}

void LargePreview::mouseReleaseEvent(QMouseEvent*) {
  draggingSplit_ = panning_ = false;
}

void LargePreview::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction("Save filtered picture", this, &LargePreview::saveAs);
  menu.addAction("Fit to window", this, [this] { setImages(before_, after_); });
  menu.addAction("Actual size", this, [this] {
    zoom_ = 1.0;
    offset_ = {};
    update();
  });
  menu.exec(event->globalPos());
}

void LargePreview::saveAs() {
  QString file = QFileDialog::getSaveFileName(this, "Save As", QString(),
                                              "Pictures (*.png *.jpg *.bmp *.tif *.webp)");
  if (file.isEmpty()) return;
  if (!platform::writePicture(after_, file.toStdString()).empty())
    QMessageBox::warning(this, "Save As", QString("%1 could not be written.").arg(file));
}

}  // namespace qm::gui
