#pragma once
// One formula box: coloured text, its own undo history, and the formula's error underlined
// with the message as tooltip.

#include <QPlainTextEdit>
#include <optional>

#include "core/editor/diagnostics.h"

namespace qm::gui {

class FormulaEdit final : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit FormulaEdit(QWidget* parent = nullptr);

  // The formula as the record stores it (Windows-1252 bytes).
  std::string formula() const;
  void setFormula(const std::string& bytes);
  // Underlines the error, or clears the underline.
  void showDiagnostic(const std::optional<editor::Diagnostic>& diagnostic);
  const std::optional<editor::Diagnostic>& diagnostic() const { return diagnostic_; }
  // Inserts text at the caret, selected, the caret then after its first "(" when it has one.
  void insertEntry(const QString& text, bool placeCaretInParens);

 signals:
  void focused(FormulaEdit* self);
  void typed();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::optional<editor::Diagnostic> diagnostic_;
};

}  // namespace qm::gui
