#include "gui/editor/editable_label.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace qm::gui {

EditableLabel::EditableLabel(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::IBeamCursor);
  setToolTip("Click or press F2 to edit");
  setFocusPolicy(Qt::StrongFocus);
}

void EditableLabel::setStruckThrough(bool on) {
  QFont f = font();
  f.setStrikeOut(on);
  setFont(f);
}

void EditableLabel::beginEdit() {
  if (!isEnabled()) return;
  if (!editor_) {
    // The edit box lives on the parent so it can cover the label exactly.
    editor_ = new QLineEdit(parentWidget());
    editor_->setObjectName("Text10");
    editor_->installEventFilter(this);
    connect(editor_, &QLineEdit::editingFinished, this, [this] { finishEdit(true); });
  }
  editor_->setGeometry(geometry());
  editor_->setText(text());
  editor_->selectAll();
  editor_->show();
  editor_->raise();
  editor_->setFocus(Qt::OtherFocusReason);
}

void EditableLabel::finishEdit(bool keep) {
  // Hiding the box or moving focus off it finishes the edit again; once is enough.
  if (!editor_ || !editor_->isVisible() || finishing_) return;
  finishing_ = true;
  const QString typed = editor_->text();
  // The keyboard user carries on from the label, not from wherever Qt would send focus.
  if (editor_->hasFocus()) setFocus(Qt::OtherFocusReason);
  editor_->hide();
  finishing_ = false;
  if (!keep || typed == text()) return;
  setText(typed);
  emit edited(text());
}

bool EditableLabel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editor_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
      finishEdit(false);
      return true;
    }
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
      finishEdit(true);
      focusNextPrevChild(key == Qt::Key_Tab);
      return true;
    }
  }
  return QLabel::eventFilter(watched, event);
}

void EditableLabel::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        beginEdit();
        return;
      }
      break;
    default:
      break;
  }
  QLabel::keyPressEvent(event);
}

void EditableLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    beginEdit();
  else
    QLabel::mousePressEvent(event);
}

QRect EditableLabel::textRect() const {
  // Two pixels clear of the edge, where the focus frame is drawn.
  const int m = margin() + (indent() > 0 ? indent() : 0) + 2;
  return contentsRect().adjusted(m, margin(), -m, -margin());
}

QString EditableLabel::shownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideMiddle, std::max(0, textRect().width()));
}

QString EditableLabel::tipText() const {
  if (shownText() == text()) return toolTip();
  return toolTip().isEmpty() ? text() : text() + "\n" + toolTip();
}

bool EditableLabel::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const QString tip = tipText();
    if (tip.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, this);
    return true;
  }
  return QLabel::event(event);
}

void EditableLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  drawFrame(&p);
  // One line, elided, where a plain label would cut the text off at its edge.
  style()->drawItemText(&p, textRect(), QStyle::visualAlignment(layoutDirection(), alignment()),
                        palette(), isEnabled(), shownText(), foregroundRole());
  if (hasFocus()) {
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
  }
}

}  // namespace qm::gui
