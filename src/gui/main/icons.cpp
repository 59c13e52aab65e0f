#include "gui/main/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "core/plugins/file_listing.h"

namespace qm::gui {
namespace {

using Painter = void (*)(QPainter&, const QColor&, const QString&);

// A sheet of paper with a folded corner, a coloured band and a short label: every file type
// icon shares it, so the list reads as one family.
void paper(QPainter& p, const QColor& band, const QString& label) {
  QPainterPath sheet;
  sheet.moveTo(6, 2);
  sheet.lineTo(20, 2);
  sheet.lineTo(27, 9);
  sheet.lineTo(27, 30);
  sheet.lineTo(6, 30);
  sheet.closeSubpath();
  p.setPen(QPen(QColor(90, 90, 90), 1));
  p.setBrush(QColor(250, 250, 250));
  p.drawPath(sheet);
  p.setBrush(QColor(215, 215, 215));
  p.drawPolygon(QPolygonF({QPointF(20, 2), QPointF(20, 9), QPointF(27, 9)}));
  if (!band.isValid()) return;
  p.setPen(Qt::NoPen);
  p.setBrush(band);
  p.drawRoundedRect(QRectF(2, 16, 24, 11), 2, 2);
  QFont font = p.font();
  font.setPixelSize(8);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(2, 16, 24, 11), Qt::AlignCenter, label);
}

void folder(QPainter& p, const QColor& colour, const QString&) {
  p.setPen(QPen(colour.darker(150), 1));
  p.setBrush(colour.darker(115));
  p.drawRoundedRect(QRectF(2, 6, 12, 6), 2, 2);
  p.setBrush(colour);
  p.drawRoundedRect(QRectF(2, 9, 28, 19), 2, 2);
}

void picture(QPainter& p, const QColor& colour, const QString&) {
  p.setPen(QPen(QColor(90, 90, 90), 1));
  p.setBrush(QColor(200, 230, 250));
  p.drawRect(QRectF(3, 5, 26, 22));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 200, 60));
  p.drawEllipse(QRectF(19, 8, 6, 6));
  p.setBrush(colour);
  p.drawPolygon(QPolygonF({QPointF(4, 26), QPointF(13, 13), QPointF(21, 26)}));
}

QIcon drawn(Painter draw, const QColor& colour, const QString& label = {}) {
  QIcon icon;
  for (int size : {16, 32}) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    {
      QPainter p(&pixmap);
      p.setRenderHint(QPainter::Antialiasing);
      draw(p, colour, label);
    }
    icon.addPixmap(size == 32
                       ? pixmap
                       : pixmap.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  }
  return icon;
}

void viewModes(QPainter& p, const QColor& colour, const QString&) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  for (int row = 0; row < 3; ++row) {
    p.drawRect(QRectF(4, 6 + row * 8, 5, 5));
    p.drawRect(QRectF(12, 7 + row * 8, 16, 3));
  }
}

void synchronize(QPainter& p, const QColor& colour, const QString&) {
  p.setPen(QPen(colour, 2.5));
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(5, 11), QPointF(25, 11));
  p.drawLine(QPointF(7, 21), QPointF(27, 21));
  p.setBrush(colour);
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygonF({QPointF(27, 11), QPointF(20, 5), QPointF(20, 17)}));
  p.drawPolygon(QPolygonF({QPointF(4, 21), QPointF(11, 15), QPointF(11, 27)}));
}

void folderTree(QPainter& p, const QColor& colour, const QString&) {
  p.setPen(QPen(QColor(90, 90, 90), 1.5));
  p.drawLine(QPointF(7, 8), QPointF(7, 25));
  p.drawLine(QPointF(7, 16), QPointF(13, 16));
  p.drawLine(QPointF(7, 25), QPointF(13, 25));
  p.setBrush(colour);
  p.setPen(QPen(colour.darker(150), 1));
  p.drawRect(QRectF(3, 3, 10, 6));
  p.drawRect(QRectF(14, 13, 14, 6));
  p.drawRect(QRectF(14, 22, 14, 6));
}

void desktop(QPainter& p, const QColor& colour, const QString&) {
  p.setPen(QPen(QColor(70, 70, 70), 1.5));
  p.setBrush(colour);
  p.drawRoundedRect(QRectF(3, 4, 26, 18), 2, 2);
  p.setBrush(QColor(70, 70, 70));
  p.drawRect(QRectF(13, 22, 6, 4));
  p.drawRect(QRectF(9, 26, 14, 2));
}

void logo(QPainter& p, const QColor& colour, const QString&) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(QRectF(2, 2, 28, 28));
  p.setBrush(Qt::white);
  QPainterPath quill;
  quill.moveTo(9, 24);
  quill.cubicTo(12, 14, 18, 8, 24, 7);
  quill.cubicTo(22, 14, 17, 20, 11, 23);
  quill.closeSubpath();
  p.drawPath(quill);
}

}  // namespace

QIcon fileTypeIcon(int index) {
  switch (index) {
    case plugins::kIcon8bf:
      return drawn(paper, QColor(40, 110, 200), "8BF");
    case plugins::kIconPrm:
      return drawn(paper, QColor(130, 60, 170), "PRM");
    case plugins::kIconAex:
      return drawn(paper, QColor(60, 60, 140), "AEX");
    case plugins::kIconFfl:
      return drawn(paper, QColor(20, 140, 110), "FFL");
    case plugins::kIconZip:
      return drawn(paper, QColor(180, 130, 30), "ZIP");
    case plugins::kIconPaintResource:
      return drawn(paper, QColor(200, 80, 60), "RES");
    case plugins::kIconFolder:
      return drawn(folder, QColor(240, 200, 90));
    case plugins::kIconPicture:
      return drawn(picture, QColor(70, 150, 70));
    default:
      return drawn(paper, QColor());
  }
}

const QIcon& FileIcons::forIndex(int index) const {
  if (index < 0 || index >= static_cast<int>(icons_.size())) index = plugins::kIconOther;
  QIcon& icon = icons_[static_cast<std::size_t>(index)];
  if (icon.isNull()) icon = fileTypeIcon(index);
  return icon;
}

const QIcon& FileIcons::button(ButtonPicture picture) const {
  QIcon& icon = buttons_.at(static_cast<std::size_t>(picture));
  if (icon.isNull()) icon = buttonIcon(picture);
  return icon;
}

QIcon buttonIcon(ButtonPicture picture) {
  switch (picture) {
    case ButtonPicture::ViewMode:
      return drawn(viewModes, QColor(60, 90, 140));
    case ButtonPicture::Synchronize:
      return drawn(synchronize, QColor(40, 120, 60));
    case ButtonPicture::FolderBox:
      return drawn(folderTree, QColor(240, 200, 90));
    case ButtonPicture::Desktop:
      return drawn(desktop, QColor(90, 150, 210));
    case ButtonPicture::Logo:
      return drawn(logo, QColor(50, 80, 150));
    case ButtonPicture::OpenLibrary:
      return drawn(paper, QColor(20, 140, 110), "FFL");
  }
  return {};
}

}  // namespace qm::gui
