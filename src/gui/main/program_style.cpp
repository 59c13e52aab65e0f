#include "gui/main/program_style.h"

#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace qm::gui {
namespace {

// Two chevrons pointing along the bar, in the text colour.
QIcon extensionIcon(bool horizontal, const QColor& colour) {
  QIcon icon;
  for (int size : {16, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    if (!horizontal) p.translate(16, 0), p.rotate(90);
    p.setPen(QPen(colour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (double x : {4.0, 8.5}) p.drawPolyline(QPolygonF({{x, 4}, {x + 3.5, 8}, {x, 12}}));
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                 const QWidget* widget) const {
  if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton) {
    QPalette palette = option ? option->palette : widget ? widget->palette() : standardPalette();
    QColor colour = palette.color(QPalette::ButtonText);
    return extensionIcon(icon == SP_ToolBarHorizontalExtensionButton, colour);
  }
  return QProxyStyle::standardIcon(icon, option, widget);
}

}  // namespace qm::gui
