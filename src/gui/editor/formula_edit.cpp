#include "gui/editor/formula_edit.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QMenu>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QToolTip>
#include <chrono>

#include "core/common/cp1252.h"
#include "core/editor/formula_catalogue.h"
#include "gui/editor/formula_highlighter.h"

namespace qm::gui {
namespace {

constexpr int kInsertRole = Qt::UserRole + 1;

QString fromBytes(const std::string& cp1252) {
  return QString::fromStdString(cp1252ToUtf8(cp1252));
}

}  // namespace

FormulaEdit::FormulaEdit(QWidget* parent) : QPlainTextEdit(parent) {
  new FormulaHighlighter(document());
  setTabChangesFocus(true);
  QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  setFont(mono);
  completions_ = new QStandardItemModel(this);
  completer_ = new QCompleter(completions_, this);
  completer_->setWidget(this);
  completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  completer_->setMaxVisibleItems(10);
  completer_->popup()->setObjectName("completionList");
  connect(completer_, QOverload<const QModelIndex&>::of(&QCompleter::activated), this,
          &FormulaEdit::acceptCompletion);
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, &FormulaEdit::refreshMarks);
  sinceKey_.start();
}

std::string FormulaEdit::formula() const {
  // Line breaks typed in the box are stored as CR LF, as sources keep them.
  QString text = toPlainText();
  text.replace("\n", "\r\n");
  return utf8ToCp1252(text.toStdString());
}

void FormulaEdit::setFormula(const std::string& bytes) {
  QString text = fromBytes(bytes);
  text.replace("\r\n", "\n").replace('\r', '\n');
  setPlainText(text);
}

std::u16string FormulaEdit::text16() const {
  return toPlainText().toStdU16String();
}

int FormulaEdit::boxPosition(std::size_t storedOffset) const {
  // Windows-1252 is one character a byte; only the stored CR LF pairs shrink to one here.
  const std::string stored = formula();
  int at = 0;
  for (std::size_t k = 0; k < storedOffset && k < stored.size(); ++k)
    if (!(stored[k] == '\r' && k + 1 < stored.size() && stored[k + 1] == '\n')) ++at;
  return at;
}

void FormulaEdit::showDiagnostics(const std::vector<editor::Diagnostic>& diagnostics) {
  diagnostics_ = diagnostics;
  errorMarks_.clear();
  const int end = static_cast<int>(document()->characterCount()) - 1;
  for (const auto& d : diagnostics_) {
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(document());
    // An error at the very end (a missing value) underlines the last character.
    const int from = std::min(boxPosition(d.position), std::max(end - 1, 0));
    mark.cursor.setPosition(from);
    mark.cursor.setPosition(std::min(from + static_cast<int>(d.length), std::max(end, from + 1)),
                            QTextCursor::KeepAnchor);
    mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    mark.format.setUnderlineColor(Qt::red);
    errorMarks_.append(mark);
  }
  refreshMarks();
}

std::optional<editor::Diagnostic> FormulaEdit::diagnostic() const {
  if (diagnostics_.empty()) return std::nullopt;
  return diagnostics_.front();
}

void FormulaEdit::selectStored(std::size_t storedOffset, std::size_t length) {
  QTextCursor cursor(document());
  const int end = static_cast<int>(document()->characterCount()) - 1;
  const int from = std::min(boxPosition(storedOffset), end);
  cursor.setPosition(from);
  cursor.setPosition(std::min(from + static_cast<int>(length), end), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
  ensureCursorVisible();
  setFocus();
}

void FormulaEdit::refreshMarks() {
  QList<QTextEdit::ExtraSelection> marks = errorMarks_;
  const QTextCursor caret = textCursor();
  // Only the box being typed in marks brackets.
  if (hasFocus() && !caret.hasSelection()) {
    if (auto match = editor::matchBracket(text16(), static_cast<std::size_t>(caret.position()))) {
      auto mark = [&](std::size_t at, const QColor& colour) {
        QTextEdit::ExtraSelection m;
        m.cursor = QTextCursor(document());
        m.cursor.setPosition(static_cast<int>(at));
        m.cursor.setPosition(static_cast<int>(at) + 1, QTextCursor::KeepAnchor);
        m.format.setBackground(colour);
        m.format.setFontWeight(QFont::Bold);
        marks.append(m);
      };
      // A partner in green, an unmatched bracket in red.
      const QColor colour = match->partner ? QColor(0xb8, 0xe8, 0xb0) : QColor(0xff, 0xb0, 0xb0);
      mark(match->at, colour);
      if (match->partner) mark(*match->partner, colour);
    }
  }
  setExtraSelections(marks);
}

void FormulaEdit::insertEntry(const QString& text, bool function) {
  QTextCursor cursor = textCursor();
  const int start = cursor.selectionStart();
  cursor.insertText(text);
  if (function) {
    const auto range = editor::selectionAfterInsert(text.toStdU16String());
    cursor.setPosition(start + static_cast<int>(range.start));
    cursor.setPosition(start + static_cast<int>(range.start + range.length),
                       QTextCursor::KeepAnchor);
  }
  setTextCursor(cursor);
  setFocus();
}

void FormulaEdit::complete() {
  showCompletions(true);
}

void FormulaEdit::showCompletions(bool always) {
  const std::u16string text = text16();
  const auto caret = static_cast<std::size_t>(textCursor().position());
  const editor::SliderNames names = sliderNames_ ? sliderNames_() : editor::SliderNames{};
  if (!always && !editor::offersCompletion(text, caret, names)) {
    completer_->popup()->hide();
    return;
  }
  const std::size_t start = editor::wordStart(text, caret);
  std::string prefix;
  for (char16_t c : std::u16string_view(text).substr(start, caret - start))
    prefix.push_back(static_cast<char>(c));
  completions_->clear();
  for (const auto& item : editor::completions(prefix, names)) {
    auto* row =
        new QStandardItem(QString::fromStdString(item.label) + "    " + fromBytes(item.meaning));
    row->setData(QString::fromStdU16String(item.insert), kInsertRole);
    row->setData(fromBytes(item.meaning), Qt::ToolTipRole);
    row->setEditable(false);
    completions_->appendRow(row);
  }
  if (completions_->rowCount() == 0) {
    completer_->popup()->hide();
    return;
  }
  QRect at = cursorRect();
  at.setWidth(std::max(360, completer_->popup()->sizeHintForColumn(0) + 24));
  completer_->complete(at);
  completer_->popup()->setCurrentIndex(completer_->completionModel()->index(0, 0));
}

void FormulaEdit::acceptCompletion(const QModelIndex& index) {
  const QString insert = index.data(kInsertRole).toString();
  if (insert.isEmpty()) return;
  QTextCursor cursor = textCursor();
  const auto caret = static_cast<std::size_t>(cursor.position());
  const auto start = editor::wordStart(text16(), caret);
  cursor.setPosition(static_cast<int>(start));
  cursor.setPosition(static_cast<int>(caret), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
  insertEntry(insert, insert.contains(QChar(editor::kPlaceholderOpen)));
  emit typed();
}

bool FormulaEdit::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QPlainTextEdit::event(event);
  auto* help = static_cast<QHelpEvent*>(event);
  const QTextCursor under = cursorForPosition(viewport()->mapFromGlobal(help->globalPos()));
  const int at = under.position();
  QString tip;
  // An error under the mouse speaks first, then the name there.
  for (int k = 0; k < errorMarks_.size() && k < static_cast<int>(diagnostics_.size()); ++k) {
    const QTextCursor& mark = errorMarks_[k].cursor;
    if (at >= mark.selectionStart() && at <= mark.selectionEnd()) {
      tip = fromBytes(diagnostics_[k].message);
      break;
    }
  }
  if (tip.isEmpty()) {
    const std::u16string text = text16();
    if (auto name = editor::nameAt(text, static_cast<std::size_t>(at))) {
      std::string word;
      for (char16_t c : std::u16string_view(text).substr(name->start, name->length))
        word.push_back(static_cast<char>(c));
      tip = QString::fromStdString(editor::nameTooltip(word));
    }
  }
  if (tip.isEmpty())
    QToolTip::hideText();
  else
    QToolTip::showText(help->globalPos(), tip, this);
  return true;
}

void FormulaEdit::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  refreshMarks();
  emit focused(this);
}

void FormulaEdit::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  refreshMarks();
}

bool FormulaEdit::focusNextPrevChild(bool next) {
  // Tab goes to the next argument placeholder while the box has one.
  if (next) {
    const auto from = static_cast<std::size_t>(textCursor().selectionEnd());
    if (auto found = editor::findPlaceholder(text16(), from)) {
      QTextCursor cursor = textCursor();
      cursor.setPosition(static_cast<int>(found->start));
      cursor.setPosition(static_cast<int>(found->start + found->length), QTextCursor::KeepAnchor);
      setTextCursor(cursor);
      return true;
    }
  }
  return QPlainTextEdit::focusNextPrevChild(next);
}

void FormulaEdit::insertTyped(const QString& text) {
  // An edit block of its own is an undo step of its own; the letters typed after it join it.
  QTextCursor cursor = textCursor();
  cursor.beginEditBlock();
  cursor.insertText(text);
  cursor.endEditBlock();
  setTextCursor(cursor);
  ensureCursorVisible();
}

void FormulaEdit::keyPressEvent(QKeyEvent* event) {
  if (completer_->popup()->isVisible()) {
    switch (event->key()) {
      case Qt::Key_Enter:
      case Qt::Key_Return:
      case Qt::Key_Tab:
        acceptCompletion(completer_->popup()->currentIndex());
        completer_->popup()->hide();
        return;
      case Qt::Key_Escape:
      case Qt::Key_Backtab:
        completer_->popup()->hide();
        return;
      default:
        break;
    }
  }
  if (event->key() == Qt::Key_Space && (event->modifiers() & Qt::ControlModifier)) {
    showCompletions(true);
    return;
  }
  const QString text = event->text();
  const bool printable = text.size() == 1 && text[0].isPrint() &&
                         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  const bool newLine = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (printable || newLine) {
    const QChar typed = newLine ? QChar('\n') : text[0];
    const auto pause = std::chrono::milliseconds(sinceKey_.restart());
    if (editor::startsUndoStep(lastTyped_.unicode(), typed.unicode(), pause))
      insertTyped(newLine ? QString("\n") : text);
    else
      QPlainTextEdit::keyPressEvent(event);
    lastTyped_ = typed;
  } else {
    // Moving the caret or deleting ends the word being typed.
    lastTyped_ = QChar();
    QPlainTextEdit::keyPressEvent(event);
  }
  emit typed();
  // The list follows the name being typed (or shortened) and closes on anything else.
  const bool shortened = event->key() == Qt::Key_Backspace && completer_->popup()->isVisible();
  if (printable || shortened)
    showCompletions(false);
  else
    completer_->popup()->hide();
}

void FormulaEdit::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu(event->pos());
  if (contextMenuHook_) {
    menu->addSeparator();
    contextMenuHook_(menu);
  }
  menu->exec(event->globalPos());
  delete menu;
}

}  // namespace qm::gui
