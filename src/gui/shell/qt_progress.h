#pragma once
// Progress for work that runs on a worker thread: status and percent are posted to the GUI
// thread, cancelled() reads a flag the window sets when Escape is pressed.

#include <QObject>
#include <atomic>

#include "core/common/ports.h"

namespace qm::gui {

class QtProgress final : public QObject, public Progress {
  Q_OBJECT
 public:
  explicit QtProgress(QObject* parent = nullptr) : QObject(parent) {}

  // Safe from any thread.
  void status(std::string_view text) override;
  void percent(int value) override;
  bool cancelled() override { return cancelled_.load(); }

  void cancel() { cancelled_.store(true); }
  void reset() { cancelled_.store(false); }

 signals:
  void statusChanged(const QString& text);
  void percentChanged(int value);

 private:
  std::atomic<bool> cancelled_{false};
};

}  // namespace qm::gui
