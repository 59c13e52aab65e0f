#include "gui/editor/graphic_slider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace qm::gui {
namespace {

struct StyleColours {
  QColor track, trackEdge, knob, knobEdge;
  bool round;
};

// Ten looks: metal, wood, glass, ... each a track and a knob colour pair.
const StyleColours kStyles[kSliderStyles] = {
    {{0x9a, 0xa0, 0xa8}, {0x50, 0x56, 0x5e}, {0xe8, 0xec, 0xf0}, {0x40, 0x46, 0x4e}, false},
    {{0x8b, 0x5a, 0x2b}, {0x4a, 0x2c, 0x10}, {0xf0, 0xd0, 0x90}, {0x6a, 0x40, 0x18}, true},
    {{0x9c, 0xc8, 0xe8}, {0x2a, 0x5a, 0x8a}, {0xff, 0xff, 0xff}, {0x2a, 0x5a, 0x8a}, true},
    {{0x30, 0x30, 0x38}, {0x10, 0x10, 0x14}, {0xff, 0x8c, 0x1a}, {0x80, 0x40, 0x00}, false},
    {{0x6b, 0x8e, 0x23}, {0x2f, 0x4f, 0x0f}, {0xf5, 0xf5, 0xdc}, {0x2f, 0x4f, 0x0f}, true},
    {{0x70, 0x20, 0x60}, {0x30, 0x08, 0x28}, {0xff, 0xc0, 0xe8}, {0x70, 0x20, 0x60}, true},
    {{0xd0, 0xd0, 0xd0}, {0x80, 0x80, 0x80}, {0x20, 0x60, 0xd0}, {0x10, 0x30, 0x70}, false},
    {{0x20, 0x40, 0x60}, {0x08, 0x18, 0x28}, {0x7f, 0xff, 0xd4}, {0x20, 0x70, 0x60}, true},
    {{0xc0, 0x90, 0x30}, {0x70, 0x50, 0x10}, {0xff, 0xf0, 0xa0}, {0x80, 0x60, 0x10}, false},
    {{0x50, 0x50, 0x50}, {0x20, 0x20, 0x20}, {0xe0, 0x30, 0x30}, {0x70, 0x10, 0x10}, true},
};

const StyleColours& colours(int style) {
  return kStyles[style >= 0 && style < kSliderStyles ? style : 0];
}

int knobWidthOf(const StyleColours& c, int height) {
  return c.round ? height : height * 2 / 3;
}

}  // namespace

QPixmap sliderTrack(int style, QSize size) {
  const auto& c = colours(style);
  QPixmap pm(size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal h = std::max(4, size.height() / 3);
  QRectF groove(1, (size.height() - h) / 2, size.width() - 2, h);
  QLinearGradient g(groove.topLeft(), groove.bottomLeft());
  g.setColorAt(0, c.trackEdge);
  g.setColorAt(0.5, c.track);
  g.setColorAt(1, c.track.lighter(120));
  p.setPen(c.trackEdge);
  p.setBrush(g);
  p.drawRoundedRect(groove, h / 2, h / 2);
  return pm;
}

QPixmap sliderKnob(int style, int height) {
  const auto& c = colours(style);
  const int w = knobWidthOf(c, height);
  QPixmap pm(w, height);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QRectF r(1, 1, w - 2, height - 2);
  QRadialGradient g(r.center() - QPointF(w / 5.0, height / 5.0), height);
  g.setColorAt(0, c.knob.lighter(115));
  g.setColorAt(1, c.knob.darker(130));
  p.setPen(QPen(c.knobEdge, 1.2));
  p.setBrush(g);
  if (c.round)
    p.drawEllipse(r);
  else
    p.drawRoundedRect(r, 3, 3);
  return pm;
}

GraphicSlider::GraphicSlider(QWidget* parent) : QAbstractSlider(parent) {
  setRange(0, 255);
  setOrientation(Qt::Horizontal);
  setFocusPolicy(Qt::StrongFocus);
}

void GraphicSlider::setStyleIndex(int style) {
  style_ = style;
  drawPictures();
  update();
}

// Drawing them is the costly part, so they are kept until the style or the size changes.
void GraphicSlider::drawPictures() {
  if (size().isEmpty()) {  // nothing to paint on yet
    track_ = knob_ = QPixmap();
    return;
  }
  track_ = sliderTrack(style_, size());
  knob_ = sliderKnob(style_, height());
}

int GraphicSlider::knobWidth() const {
  return knobWidthOf(colours(style_), height());
}

void GraphicSlider::resizeEvent(QResizeEvent* event) {
  QAbstractSlider::resizeEvent(event);
  drawPictures();
}

void GraphicSlider::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, track_);
  const int span = std::max(1, width() - knobWidth());
  const int x = (value() - minimum()) * span / std::max(1, maximum() - minimum());
  p.drawPixmap(x, 0, knob_);
  if (hasFocus()) {
    // The design's pictures carry no focus mark of their own.
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
  }
}

int GraphicSlider::valueAt(int x) const {
  const int kw = knobWidth();
  const int span = std::max(1, width() - kw);
  const int pos = std::clamp(x - kw / 2, 0, span);
  return minimum() + (pos * (maximum() - minimum()) + span / 2) / span;
}

void GraphicSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setSliderDown(true);
  setSliderPosition(valueAt(event->position().toPoint().x()));
}

void GraphicSlider::mouseMoveEvent(QMouseEvent* event) {
  if (isSliderDown()) setSliderPosition(valueAt(event->position().toPoint().x()));
}

void GraphicSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !isSliderDown()) return;
  setSliderPosition(valueAt(event->position().toPoint().x()));
  setSliderDown(false);
}

}  // namespace qm::gui
