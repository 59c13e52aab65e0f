#pragma once
// Runs previews on a thread of its own so the editor never waits: a new request replaces any
// waiting one, and only the newest request's result is handed back. A slider drag is the
// exception: its steps ("live" requests) let the running preview finish and be shown, so a
// drag shows frames instead of cancelling every one before it is done.

#include <QImage>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "core/editor/preview_run.h"
#include "core/formula/thread_pool.h"

namespace qm::gui {

class PreviewWorker final : public QObject {
  Q_OBJECT
 public:
  PreviewWorker();
  ~PreviewWorker() override;
  // The number of this request; results of older ones are dropped.
  quint64 submit(editor::PreviewRequest request, bool live = false);
  quint64 latest() const;
  // What the last finished run cost per megapixel of its picture, in milliseconds (0 before
  // the first).
  double msPerMegapixel() const { return msPerMegapixel_.load(); }
  // Waits until the newest request has been run (tests).
  void waitIdle();

 signals:
  // Emitted on the worker thread; queued to the window.
  void finished(quint64 id, const QImage& image, const QString& message);

 private:
  void loop();
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<editor::PreviewRequest> pending_;
  quint64 submitted_ = 0;
  std::atomic<quint64> newest_ = 0;  // submitted_, readable by a running preview
  // The newest request that was not live: a run older than it is stopped and not shown.
  std::atomic<quint64> newestCancelling_ = 0;
  std::atomic<double> msPerMegapixel_ = 0;
  quint64 done_ = 0;
  bool stop_ = false;
  formula::ThreadPool pool_;
  std::thread thread_;
};

}  // namespace qm::gui
