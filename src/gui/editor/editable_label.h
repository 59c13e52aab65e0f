#pragma once
// A text or slider-name label that the user edits in place: a click, F2, Enter or Space lays
// an edit box over it with the current text; Enter or leaving the box writes the text back,
// Escape keeps the old one. A text too long for the label shows elided in the middle, whole
// in its tooltip.

#include <QLabel>
#include <QLineEdit>

namespace qm::gui {

class EditableLabel final : public QLabel {
  Q_OBJECT
 public:
  explicit EditableLabel(QWidget* parent = nullptr);
  void setStruckThrough(bool on);
  bool struckThrough() const { return font().strikeOut(); }
  // Opens the in-place editor.
  void beginEdit();
  QLineEdit* editor() const { return editor_; }
  // The text as drawn at the label's present width.
  QString shownText() const;
  // The tooltip shown: the whole text first when it is elided.
  QString tipText() const;

 signals:
  void edited(const QString& text);

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect textRect() const;
  // Closes the editor; keep: write its text back.
  void finishEdit(bool keep);
  QLineEdit* editor_ = nullptr;
  bool finishing_ = false;
};

}  // namespace qm::gui
