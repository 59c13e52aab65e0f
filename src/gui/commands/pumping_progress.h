#pragma once
// Progress of a command that runs on the window thread: each poll lets pending window events
// run, so the status line repaints and the window's Escape shortcut can cancel the run. The
// hourglass shows from the first poll (after the destination question) to the end.

#include <QApplication>

#include "gui/shell/qt_progress.h"

namespace qm::gui {

class PumpingProgress final : public Progress {
 public:
  // Clears an Escape left over from an earlier run.
  explicit PumpingProgress(QtProgress& window) : window_(window) { window_.reset(); }
  ~PumpingProgress() override {
    if (hourglass_) QApplication::restoreOverrideCursor();
  }
  PumpingProgress(const PumpingProgress&) = delete;
  PumpingProgress& operator=(const PumpingProgress&) = delete;

  void status(std::string_view text) override { window_.status(text); }
  void percent(int value) override { window_.percent(value); }
  bool cancelled() override {
    if (!hourglass_) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
      hourglass_ = true;
    }
    QCoreApplication::processEvents();
    return window_.cancelled();
  }

 private:
  QtProgress& window_;
  bool hourglass_ = false;
};

}  // namespace qm::gui
