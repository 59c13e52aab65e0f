#include "gui/picture/picture_loading.h"

#include <QEventLoop>
#include <QFile>
#include <QImageReader>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>

#include "platform/image_codec.h"

namespace qm::gui {
namespace {

// A file that tells how much of it the decoder has read, and fails further reads once the
// reader should stop.
class CountingFile final : public QIODevice {
 public:
  CountingFile(const QString& path, const PictureLoadOptions& options)
      : file_(path), options_(options) {}
  bool open(OpenMode mode) override {
    if (!file_.open(mode)) {
      setErrorString(file_.errorString());
      return false;
    }
    size_ = file_.size();
    return QIODevice::open(mode);
  }
  bool isSequential() const override { return false; }
  qint64 size() const override { return size_; }
  bool seek(qint64 pos) override { return QIODevice::seek(pos) && file_.seek(pos); }
  QString fileError() const { return file_.errorString(); }

 protected:
  qint64 readData(char* data, qint64 length) override {
    if (options_.stop && options_.stop()) return -1;
    const qint64 got = file_.read(data, length);
    // Decoders look at the start again after reading ahead: progress only moves forward.
    if (got > 0 && options_.progress && size_ > 0) {
      const int percent = static_cast<int>(100 * file_.pos() / size_);
      if (percent > lastPercent_) options_.progress(lastPercent_ = percent);
    }
    return got;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  QFile file_;
  const PictureLoadOptions& options_;
  qint64 size_ = 0;
  int lastPercent_ = -1;
};

QString pathText(const std::filesystem::path& p) {
  return QString::fromStdString(p.string());
}

}  // namespace

LoadedPicture decodePicture(const std::filesystem::path& file, const PictureLoadOptions& options) {
  LoadedPicture result;
  if (auto tooLarge = platform::pictureSizeProblem(file)) {
    result.error = QString::fromStdString(*tooLarge);
    return result;
  }
  CountingFile device(pathText(file), options);
  if (!device.open(QIODevice::ReadOnly)) {
    result.error = device.errorString();
    return result;
  }
  QImageReader::setAllocationLimit(platform::kPictureMemoryLimitMB);
  QImageReader reader(&device);
  reader.setAutoTransform(false);
  const QSize size = reader.size();
  if (options.largest.isValid() && size.isValid() &&
      (size.width() > options.largest.width() || size.height() > options.largest.height()))
    reader.setScaledSize(size.scaled(options.largest, Qt::KeepAspectRatio));
  QImage image = reader.read();
  if (options.stop && options.stop()) {
    result.stopped = true;
    return result;
  }
  if (image.isNull()) {
    // The decoder's words for a file it does not know are "Unsupported image format".
    result.error = reader.error() == QImageReader::UnsupportedFormatError
                       ? QString("it is not a picture this program can read")
                       : QString("the picture is damaged (%1)").arg(reader.errorString());
    return result;
  }
  result.bitsPerPixel = platform::depthInFile(image);
  result.image = std::move(image);
  return result;
}

LoadedPicture loadPicture(QWidget* parent, const std::filesystem::path& file, const QString& what,
                          QSize largest) {
  struct Shared {
    std::atomic<bool> stop = false;
    std::atomic<int> percent = 0;
    LoadedPicture result;
  };
  auto shared = std::make_shared<Shared>();
  QEventLoop loop;
  QPointer<QEventLoop> waiting(&loop);
  PictureLoadOptions options;
  options.largest = largest;
  options.progress = [shared](int p) { shared->percent = p; };
  options.stop = [shared] { return shared->stop.load(); };
  std::thread worker([shared, file, options, &loop] {
    shared->result = decodePicture(file, options);
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });

  QProgressDialog dialog(what + "\n" + pathText(file.filename()), "Cancel", 0, 100, parent);
  dialog.setWindowTitle("Reading picture");
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setMinimumDuration(400);
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);
  QObject::connect(&dialog, &QProgressDialog::canceled, &loop, [shared] { shared->stop = true; });
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, &dialog,
                   [&dialog, shared] { dialog.setValue(shared->percent.load()); });
  tick.start(50);
  dialog.setValue(0);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  worker.join();
  tick.stop();
  return std::move(shared->result);
}

std::string previewPictureRefusal(const std::filesystem::path& file, const QString& reason) {
  return "The picture " + file.string() +
         " cannot be the preview picture: " + reason.toStdString() + ".";
}

}  // namespace qm::gui
