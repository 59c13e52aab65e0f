#pragma once
// What every command run shares: one at a time (events run during its loops, so a second
// click must not start another), Escape polled through the window's progress, and its
// status texts shown in the window's status line until it ends.

#include <QObject>
#include <functional>

#include "gui/commands/pumping_progress.h"

namespace qm::gui {

class RunScope {
 public:
  using StatusSink = std::function<void(const QString&)>;

  RunScope(bool& busy, QtProgress& window, const StatusSink& showStatus)
      : busy_(busy), progress_(window) {
    busy_ = true;
    if (showStatus) connection_ = QObject::connect(&window, &QtProgress::statusChanged, showStatus);
  }
  ~RunScope() {
    QObject::disconnect(connection_);
    busy_ = false;
  }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

  Progress& progress() { return progress_; }

 private:
  bool& busy_;
  PumpingProgress progress_;
  QMetaObject::Connection connection_;
};

}  // namespace qm::gui
