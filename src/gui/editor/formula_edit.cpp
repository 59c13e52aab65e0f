#include "gui/editor/formula_edit.h"

#include <QFontDatabase>

#include "core/common/cp1252.h"
#include "core/editor/formula_catalogue.h"
#include "gui/editor/formula_highlighter.h"

namespace qm::gui {

FormulaEdit::FormulaEdit(QWidget* parent) : QPlainTextEdit(parent) {
  new FormulaHighlighter(document());
  setTabChangesFocus(true);
  QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  setFont(mono);
}

std::string FormulaEdit::formula() const {
  // Line breaks typed in the box are stored as CR LF, as sources keep them.
  QString text = toPlainText();
  text.replace("\n", "\r\n");
  return utf8ToCp1252(text.toStdString());
}

void FormulaEdit::setFormula(const std::string& bytes) {
  QString text = QString::fromStdString(cp1252ToUtf8(bytes));
  text.replace("\r\n", "\n").replace('\r', '\n');
  setPlainText(text);
}

void FormulaEdit::showDiagnostic(const std::optional<editor::Diagnostic>& diagnostic) {
  diagnostic_ = diagnostic;
  QList<QTextEdit::ExtraSelection> marks;
  if (diagnostic) {
    // The position counts stored bytes, where a line break is CR LF; the box holds LF only.
    const std::string stored = formula();
    int at = 0;
    for (std::size_t k = 0; k < diagnostic->position && k < stored.size(); ++k)
      if (!(stored[k] == '\r' && k + 1 < stored.size() && stored[k + 1] == '\n')) ++at;
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(document());
    const int end = static_cast<int>(document()->characterCount()) - 1;
    int from = std::min(at, std::max(end - 1, 0));
    mark.cursor.setPosition(from);
    mark.cursor.setPosition(
        std::min(from + static_cast<int>(diagnostic->length), std::max(end, from + 1)),
        QTextCursor::KeepAnchor);
    mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    mark.format.setUnderlineColor(Qt::red);
    mark.format.setToolTip(QString::fromStdString(cp1252ToUtf8(diagnostic->message)));
    marks.append(mark);
  }
  setExtraSelections(marks);
  setToolTip(diagnostic ? QString::fromStdString(cp1252ToUtf8(diagnostic->message)) : QString());
}

void FormulaEdit::insertEntry(const QString& text, bool placeCaretInParens) {
  QTextCursor cursor = textCursor();
  const int start = cursor.selectionStart();
  cursor.insertText(text);
  if (placeCaretInParens) {
    auto caret = editor::caretAfterInsert(text.toStdString(), static_cast<std::size_t>(start));
    cursor.setPosition(static_cast<int>(caret));
  }
  setTextCursor(cursor);
  setFocus();
}

void FormulaEdit::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  emit focused(this);
}

void FormulaEdit::keyPressEvent(QKeyEvent* event) {
  QPlainTextEdit::keyPressEvent(event);
  emit typed();
}

}  // namespace qm::gui
