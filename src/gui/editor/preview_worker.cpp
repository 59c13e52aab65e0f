#include "gui/editor/preview_worker.h"

#include <algorithm>

#include "platform/image_codec.h"

namespace qm::gui {

PreviewWorker::PreviewWorker()
    : pool_(std::max(1u, std::thread::hardware_concurrency())), thread_([this] { loop(); }) {}

PreviewWorker::~PreviewWorker() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

quint64 PreviewWorker::submit(editor::PreviewRequest request) {
  quint64 id;
  {
    std::lock_guard lock(mutex_);
    pending_ = std::move(request);
    id = ++submitted_;
    newest_ = id;
  }
  wake_.notify_all();
  return id;
}

quint64 PreviewWorker::latest() const {
  std::lock_guard lock(mutex_);
  return submitted_;
}

void PreviewWorker::waitIdle() {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [this] { return done_ == submitted_; });
}

void PreviewWorker::loop() {
  for (;;) {
    editor::PreviewRequest request;
    quint64 id;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || pending_.has_value(); });
      if (stop_) return;
      request = std::move(*pending_);
      pending_.reset();
      id = submitted_;
    }
    // A newer request stops this one between rows.
    request.cancelled = [this, id] { return newest_.load() != id; };
    auto result = editor::runPreview(request, &pool_);
    bool newest;
    {
      std::lock_guard lock(mutex_);
      newest = id == submitted_;
    }
    if (newest)
      emit finished(id, result.image ? platform::toQImage(std::move(*result.image)) : QImage(),
                    QString::fromStdString(result.message));
    {
      std::lock_guard lock(mutex_);
      done_ = id;
    }
    wake_.notify_all();
  }
}

}  // namespace qm::gui
