#pragma once
// Picture1 of the Picture Editor: draws the picture at the zoom factor, sized to it, so the
// scroll area around it scrolls. Only the visible part is drawn, whatever the zoom.

#include <QImage>
#include <QWidget>

namespace qm::gui {

class PictureCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit PictureCanvas(QWidget* parent = nullptr);
  void show(const QImage& image, int zoom);
  const QImage& image() const { return image_; }
  int zoom() const { return zoom_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
  int zoom_ = 100;
};

}  // namespace qm::gui
