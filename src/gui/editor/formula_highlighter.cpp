#include "gui/editor/formula_highlighter.h"

#include "core/formula/lexer.h"
#include "core/formula/names.h"

namespace qm::gui {
namespace {

QTextCharFormat colour(const QColor& c, bool bold = false, bool italic = false) {
  QTextCharFormat f;
  f.setForeground(c);
  if (bold) f.setFontWeight(QFont::Bold);
  f.setFontItalic(italic);
  return f;
}

}  // namespace

void FormulaHighlighter::highlightBlock(const QString& text) {
  static const QTextCharFormat kNumber = colour(QColor(0x0b, 0x6e, 0x99));
  static const QTextCharFormat kVariable = colour(QColor(0x8a, 0x3f, 0x00));
  static const QTextCharFormat kFunction = colour(QColor(0x55, 0x2a, 0x99), true);
  static const QTextCharFormat kOperator = colour(QColor(0x60, 0x60, 0x60));
  static const QTextCharFormat kComment = colour(QColor(0x3a, 0x80, 0x3a), false, true);

  // Each line is lexed alone; offsets map one to one because the text is Latin-1 here.
  const QByteArray bytes = text.toLatin1();
  std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  formula::Lexer lexer(view);
  for (formula::Token t = lexer.next(); t.kind != formula::TokenKind::End; t = lexer.next()) {
    const int at = static_cast<int>(t.position), len = static_cast<int>(t.text.size());
    switch (t.kind) {
      case formula::TokenKind::Number:
        setFormat(at, len, kNumber);
        break;
      case formula::TokenKind::Name: {
        auto info = formula::lookupName(t.text);
        if (!info) break;
        setFormat(at, len, info->kind == formula::NameInfo::Kind::Function ? kFunction : kVariable);
        break;
      }
      case formula::TokenKind::Operator:
        setFormat(at, len, kOperator);
        break;
      default:
        break;
    }
  }
  if (int comment = text.indexOf("//"); comment >= 0)
    setFormat(comment, static_cast<int>(text.size()) - comment, kComment);
}

}  // namespace qm::gui
