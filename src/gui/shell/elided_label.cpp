#include "gui/shell/elided_label.h"

#include <QPainter>
#include <QStyle>

namespace qm::gui {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

QSize ElidedLabel::sizeHint() const {
  return {fontMetrics().averageCharWidth() * 20, fontMetrics().height()};
}

QSize ElidedLabel::minimumSizeHint() const {
  return sizeHint();
}

void ElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect room = contentsRect();
  const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, room.width());
  setToolTip(shown == text() ? QString() : text());
  style()->drawItemText(&painter, room, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                        shown, foregroundRole());
}

}  // namespace qm::gui
