#pragma once
// The large preview: the whole preview picture filtered, zoomable with the wheel, pannable by
// dragging, with a split line that shows the picture before the filter on its left.

#include <QImage>
#include <QWidget>

namespace qm::gui {

class LargePreview final : public QWidget {
  Q_OBJECT
 public:
  explicit LargePreview(QWidget* parent = nullptr);
  void setImages(const QImage& before, const QImage& after);
  double zoom() const { return zoom_; }
  // The split line as a fraction of the picture's width (0: all filtered).
  double split() const;
  const QImage& after() const { return after_; }
  // "Save As" for the filtered picture.
  void saveAs();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QRectF pictureRect() const;
  double lineX() const;
  QImage before_, after_;
  double zoom_ = 1.0;
  double lineAt_ = 0.5;  // the split line, as a fraction of the window's width
  QPointF offset_;
  QPointF dragFrom_;
  bool draggingSplit_ = false;
  bool panning_ = false;
};

}  // namespace qm::gui
