#include "gui/picture/picture_canvas.h"

#include <QPaintEvent>
#include <QPainter>

#include "core/picture/zoom.h"

namespace qm::gui {

PictureCanvas::PictureCanvas(QWidget* parent) : QWidget(parent) {
  setObjectName("Picture1");
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureCanvas::show(const QImage& image, int zoom) {
  image_ = image;
  zoom_ = zoom;
  const auto size = picture::zoomedSize({image.width(), image.height()}, zoom);
  setFixedSize(image.isNull() ? QSize(0, 0) : QSize(size.width, size.height));
  update();
}

void PictureCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), palette().window());
  if (image_.isNull()) return;
  // Enlarged pictures show their pixels; reduced ones are smoothed so thin lines stay.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < 100);
  const double scale = zoom_ / 100.0;
  const QRectF wanted(event->rect());
  // Whole source pixels, so a partly visible pixel is drawn at its full size.
  const QRect source = QRectF(wanted.x() / scale, wanted.y() / scale, wanted.width() / scale,
                              wanted.height() / scale)
                           .toAlignedRect()
                           .intersected(image_.rect());
  const QRectF target(source.x() * scale, source.y() * scale, source.width() * scale,
                      source.height() * scale);
  painter.drawImage(target, image_, QRectF(source));
}

}  // namespace qm::gui
