#pragma once
// A text or slider-name label that the user edits in place: a click lays an edit box over it
// with the current text, leaving the box writes the text back.

#include <QLabel>
#include <QLineEdit>

namespace qm::gui {

class EditableLabel final : public QLabel {
  Q_OBJECT
 public:
  explicit EditableLabel(QWidget* parent = nullptr);
  void setStruckThrough(bool on);
  bool struckThrough() const { return font().strikeOut(); }
  // Opens the in-place editor (what a click does).
  void beginEdit();
  QLineEdit* editor() const { return editor_; }

 signals:
  void edited(const QString& text);

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void commit();
  QLineEdit* editor_ = nullptr;
};

}  // namespace qm::gui
