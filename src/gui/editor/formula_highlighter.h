#pragma once
// Colours formula text as the language reads it: numbers, variables, functions, operators
// and comments.

#include <QSyntaxHighlighter>

namespace qm::gui {

class FormulaHighlighter final : public QSyntaxHighlighter {
 public:
  explicit FormulaHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

 protected:
  void highlightBlock(const QString& text) override;
};

}  // namespace qm::gui
