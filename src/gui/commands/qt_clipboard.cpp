#include "gui/commands/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace qm::gui {

void QtClipboard::clear() {
  QGuiApplication::clipboard()->clear();
}

void QtClipboard::setText(std::string_view text) {
  QGuiApplication::clipboard()->setText(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

std::optional<std::string> QtClipboard::text() const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasText()) return std::nullopt;
  return data->text().toStdString();
}

}  // namespace qm::gui
