#pragma once
// The sliders of a graphic design: a track picture and a knob picture from one of the
// editor's own style sets, chosen by the design's style digit.

#include <QAbstractSlider>
#include <QPixmap>

namespace qm::gui {

inline constexpr int kSliderStyles = 10;

// The track and knob of style n (0 to 9), drawn by the program.
QPixmap sliderTrack(int style, QSize size);
QPixmap sliderKnob(int style, int height);

class GraphicSlider final : public QAbstractSlider {
  Q_OBJECT
 public:
  explicit GraphicSlider(QWidget* parent = nullptr);
  void setStyleIndex(int style);
  int styleIndex() const { return style_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int valueAt(int x) const;
  int knobWidth() const;
  void drawPictures();
  int style_ = 0;
  QPixmap track_, knob_;
};

}  // namespace qm::gui
