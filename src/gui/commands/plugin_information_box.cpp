#include "gui/commands/plugin_information_box.h"

#include <QApplication>
#include <QFontMetrics>

#include "gui/shell/qt_prompter.h"

namespace qm::gui {

QString pluginInformationMessage(const plugins::PluginFacts& facts, const QFont& font) {
  QStringList lines = messageText(plugins::pluginInformationText(facts)).split('\n');
  // The filter lines come first, then the rule.
  const auto ruleLine = static_cast<qsizetype>(facts.filters.size());
  if (ruleLine >= lines.size()) return lines.join('\n');
  QFontMetrics metrics(font);
  int widest = 0;
  for (qsizetype i = 0; i < ruleLine; ++i)
    widest = std::max(widest, metrics.horizontalAdvance(lines[i]));
  // The fewest dashes that reach the widest line; a run of dashes need not be n dash widths.
  const int dash = std::max(1, metrics.horizontalAdvance('-'));
  qsizetype count = std::max(1, (widest + dash - 1) / dash);
  auto width = [&](qsizetype n) { return metrics.horizontalAdvance(QString(n, '-')); };
  while (count > 1 && width(count - 1) >= widest) --count;
  while (width(count) < widest) ++count;
  lines[ruleLine] = QString(count, '-');
  return lines.join('\n');
}

QFont messageBoxFont() {
  return QApplication::font("QMessageBox");
}

}  // namespace qm::gui
