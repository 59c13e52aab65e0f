#include "gui/editor/design_look.h"

#include <QPainterPath>

namespace qm::gui {
namespace {

QRect rectOf(const editor::DesignRect& r) {
  return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

QRegion regionOf(const editor::Shape& shape) {
  const QRect r = rectOf(shape.rect);
  switch (shape.kind) {
    case editor::ShapeKind::Rect:
      return QRegion(r);
    case editor::ShapeKind::Ellipse:
      return QRegion(r, QRegion::Ellipse);
    case editor::ShapeKind::RoundRect: {
      QPainterPath path;
      path.addRoundedRect(QRectF(r), shape.cornerWidth / 2.0, shape.cornerHeight / 2.0);
      return QRegion(path.toFillPolygon().toPolygon());
    }
    case editor::ShapeKind::Unknown:
      break;
  }
  return {};
}

QRegion combine(const QRegion& a, const QRegion& b, editor::CombineMode mode) {
  switch (mode) {
    case editor::CombineMode::And:
      return a.intersected(b);
    case editor::CombineMode::Or:
      return a.united(b);
    case editor::CombineMode::Xor:
      return a.xored(b);
    case editor::CombineMode::Diff:
      return a.subtracted(b);
    case editor::CombineMode::Copy:
      return a;
  }
  return a;
}

}  // namespace

QRegion designOutline(const editor::Outline* outline, int width, int height) {
  QRegion whole(0, 0, width, height);
  if (!outline) return whole;
  QRegion result = regionOf(outline->first);
  bool first = true;
  for (const auto& step : outline->steps) {
    // A step without a mode leaves the outline as it was; before any combination that is
    // the full window.
    if (!step.mode) {
      if (first) result = whole;
    } else {
      result = combine(result, regionOf(step.shape), *step.mode);
    }
    first = false;
  }
  return result;
}

}  // namespace qm::gui
