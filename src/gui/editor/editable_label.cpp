#include "gui/editor/editable_label.h"

#include <QMouseEvent>

namespace qm::gui {

EditableLabel::EditableLabel(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::IBeamCursor);
  setToolTip("Click to edit");
}

void EditableLabel::setStruckThrough(bool on) {
  QFont f = font();
  f.setStrikeOut(on);
  setFont(f);
}

void EditableLabel::beginEdit() {
  if (!editor_) {
    // The edit box lives on the parent so it can cover the label exactly.
    editor_ = new QLineEdit(parentWidget());
    editor_->setObjectName("Text10");
    connect(editor_, &QLineEdit::editingFinished, this, &EditableLabel::commit);
  }
  editor_->setGeometry(geometry());
  editor_->setText(text());
  editor_->selectAll();
  editor_->show();
  editor_->raise();
  editor_->setFocus();
}

void EditableLabel::commit() {
  if (!editor_ || !editor_->isVisible()) return;
  editor_->hide();
  if (editor_->text() == text()) return;
  setText(editor_->text());
  emit edited(text());
}

void EditableLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    beginEdit();
  else
    QLabel::mousePressEvent(event);
}

}  // namespace qm::gui
