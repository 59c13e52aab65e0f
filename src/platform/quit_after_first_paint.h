#pragma once
// For start-up timing: at the first pass of the event loop, paints the window once more
// (synchronously, fonts included) and ends the process without any tear-down, so a program
// and the empty-window floor are measured up to the same point.

#include <QTimer>
#include <QWidget>
#include <cstdlib>

namespace qm::platform {

inline void quitAfterPainting(QWidget* window) {
  QTimer::singleShot(0, window, [window] {
    window->repaint();
    std::_Exit(0);
  });
}

}  // namespace qm::platform
