#pragma once
// Acting on a modal dialog from a test: the dialog runs its own event loop, so a timer does it.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace qm::test {

// Runs act on the modal dialog titled title (any, when empty) as soon as it shows; polls,
// because a dialog opens only when the command gets to it.
inline void whenModal(const QString& title, std::function<void(QWidget*)> act,
                      int triesLeft = 500) {
  QTimer::singleShot(10, [=] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || (!title.isEmpty() && modal->windowTitle() != title)) {
      if (triesLeft > 0) whenModal(title, act, triesLeft - 1);
      return;
    }
    act(modal);
  });
}

}  // namespace qm::test
