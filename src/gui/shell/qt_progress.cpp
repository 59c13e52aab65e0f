#include "gui/shell/qt_progress.h"

namespace qm::gui {

// Signals of an object living on the GUI thread, emitted from a worker, are queued by Qt's
// automatic connections, so receivers always run on the GUI thread.
void QtProgress::status(std::string_view text) {
  emit statusChanged(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void QtProgress::percent(int value) {
  emit percentChanged(value);
}

}  // namespace qm::gui
