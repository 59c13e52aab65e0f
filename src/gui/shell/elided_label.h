#pragma once
// A one-line label for a path or a file line: a text too long for its room is cut in the
// middle (both the folder's start and the name's end stay readable) and shown whole in the
// tooltip. Its size never follows the text, so a dialog keeps its size from one text to the
// next.

#include <QLabel>

namespace qm::gui {

class ElidedLabel final : public QLabel {
  Q_OBJECT
 public:
  explicit ElidedLabel(QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace qm::gui
