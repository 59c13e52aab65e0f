#include "gui/editor/preview_worker.h"

#include <algorithm>
#include <chrono>

#include "platform/image_codec.h"

namespace qm::gui {
namespace {

// The result in the screen's own format, converted here rather than on the window's thread.
// A picture without alpha keeps 255 in its fourth byte, so it needs no look at every pixel.
QImage displayable(std::optional<host::Image> image) {
  if (!image) return {};
  const bool alpha = image->hasAlpha;
  QImage shown = platform::toQImage(std::move(*image));
  if (!alpha) shown.reinterpretAsFormat(QImage::Format_RGBX8888);
  return shown.convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

}  // namespace

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

quint64 PreviewWorker::submit(editor::PreviewRequest request, bool live) {
  quint64 id;
  {
    std::lock_guard lock(mutex_);
    pending_ = std::move(request);
    id = ++submitted_;
    newest_ = id;
    if (!live) newestCancelling_ = id;
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
    // A newer request that is not a drag step stops this one between rows.
    request.cancelled = [this, id] { return newestCancelling_.load() > id; };
    const auto started = std::chrono::steady_clock::now();
    auto result = editor::runPreview(request, &pool_);
    const bool shown = newestCancelling_.load() <= id;
    if (shown && result.image && result.image->valid()) {
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
              .count();
      msPerMegapixel_ = ms * 1e6 / (double(result.image->width) * result.image->height);
    }
    if (shown)
      emit finished(id, displayable(std::move(result.image)),
                    QString::fromStdString(result.message));
    {
      std::lock_guard lock(mutex_);
      done_ = id;
    }
    wake_.notify_all();
  }
}

}  // namespace qm::gui
