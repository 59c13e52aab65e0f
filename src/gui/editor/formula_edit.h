#pragma once
// One formula box: coloured text, undo by words and typing pauses, every error underlined
// with its message as tooltip, the partner of the bracket at the caret marked, completion of
// names (Ctrl+Space, or by itself after two letters), Tab through argument placeholders, and
// the signature and meaning of the name under the mouse.

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <functional>
#include <optional>
#include <vector>

#include "core/editor/code_assist.h"
#include "core/editor/diagnostics.h"

class QCompleter;
class QStandardItemModel;

namespace qm::gui {

class FormulaEdit final : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit FormulaEdit(QWidget* parent = nullptr);

  // The formula as the record stores it (Windows-1252 bytes).
  std::string formula() const;
  void setFormula(const std::string& bytes);
  // Underlines the errors (positions in the stored formula), or clears the underlines.
  void showDiagnostics(const std::vector<editor::Diagnostic>& diagnostics);
  // The first error shown, if any.
  std::optional<editor::Diagnostic> diagnostic() const;
  // The box position of an offset in the stored formula (its CR LF pairs count one here).
  int boxPosition(std::size_t storedOffset) const;
  // Selects text of the stored formula, shows it and takes the focus.
  void selectStored(std::size_t storedOffset, std::size_t length);
  // Inserts text at the caret, replacing the selection; a function's first placeholder is
  // selected afterwards, any other text leaves the caret after it.
  void insertEntry(const QString& text, bool function);

  // What completion offers for ctl, val and map; the menus a right click adds.
  void setSliderNames(std::function<editor::SliderNames()> names) {
    sliderNames_ = std::move(names);
  }
  void setContextMenuHook(std::function<void(QMenu*)> hook) { contextMenuHook_ = std::move(hook); }
  // Opens the completion list for the name before the caret (any length).
  void complete();
  QCompleter* completer() const { return completer_; }

 signals:
  void focused(FormulaEdit* self);
  void typed();

 protected:
  bool event(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void insertTyped(const QString& text);
  void showCompletions(bool always);
  void acceptCompletion(const QModelIndex& index);
  void refreshMarks();
  std::u16string text16() const;

  std::vector<editor::Diagnostic> diagnostics_;
  QList<QTextEdit::ExtraSelection> errorMarks_;
  std::function<editor::SliderNames()> sliderNames_;
  std::function<void(QMenu*)> contextMenuHook_;
  QCompleter* completer_ = nullptr;
  QStandardItemModel* completions_ = nullptr;
  QElapsedTimer sinceKey_;
  QChar lastTyped_;
};

}  // namespace qm::gui
