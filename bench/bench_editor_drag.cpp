// How live a slider drag feels in the Filter Factory Editor: the slider is driven through its
// value signal as a mouse drag would (one step every 8 ms, there and back), the filter is the
// twirl, and every picture the preview box paints is a frame. Prints frames per second and the
// gaps between drawn frames, for the shipped preview picture and for a 1-megapixel one.
//   bench_editor_drag [DESIGN [WIDTHxHEIGHT]]   (default: Modern.des at 1100x760)
// Run it under a real display (xcb) to include the window system's share; offscreen by default.

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/ff/record.h"
#include "core/settings/store.h"
#include "gui/editor/ff_editor_window.h"
#include "gui/main/app_context.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kTwirl = "rad(d+ctl(0)*(M-m)/M,m,z)";
constexpr int kStepMs = 8;

// Times every paint of the preview box that shows a picture it did not show before.
class FrameClock final : public QObject {
 public:
  explicit FrameClock(QLabel* box) : box_(box) { box->installEventFilter(this); }
  void start() {
    stamps_.clear();
    clock_.start();
  }
  const std::vector<double>& stamps() const { return stamps_; }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && clock_.isValid()) {
      const qint64 key = box_->pixmap().cacheKey();
      if (key != lastKey_) {
        lastKey_ = key;
        stamps_.push_back(static_cast<double>(clock_.nsecsElapsed()) / 1e6);
      }
    }
    return false;
  }

 private:
  QLabel* box_;
  QElapsedTimer clock_;
  qint64 lastKey_ = 0;
  std::vector<double> stamps_;
};

struct Figures {
  int frames = 0;
  double seconds = 0, longestGap = 0, medianGap = 0;
  QSize devicePixels;
};

Figures drag(qm::gui::FFEditorWindow& window) {
  FrameClock clock(window.previewBox());
  QSlider* slider = window.slider(0);
  std::vector<int> path;
  for (int v = 0; v <= 255; v += 2) path.push_back(v);
  for (int v = 255; v >= 0; v -= 2) path.push_back(v);
  std::size_t next = 0;
  QTimer steps;
  steps.setInterval(kStepMs);
  steps.setTimerType(Qt::PreciseTimer);
  QEventLoop loop;
  QObject::connect(&steps, &QTimer::timeout, &loop, [&] {
    if (next == path.size()) {
      steps.stop();
      loop.quit();
      return;
    }
    slider->setValue(path[next++]);
  });
  clock.start();
  steps.start();
  loop.exec();
  const double end = clock.stamps().empty() ? 0 : clock.stamps().back();
  // Frames drawn while the slider moved; the last one may come after the last step.
  window.finishPreview();
  QApplication::processEvents();
  Figures f;
  const auto& t = clock.stamps();
  f.frames = static_cast<int>(t.size());
  f.seconds = std::max(end, 1.0) / 1000.0;
  std::vector<double> gaps;
  for (std::size_t k = 1; k < t.size(); ++k) gaps.push_back(t[k] - t[k - 1]);
  if (!gaps.empty()) {
    f.longestGap = *std::max_element(gaps.begin(), gaps.end());
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    f.medianGap = gaps[gaps.size() / 2];
  }
  const QPixmap shown = window.previewBox()->pixmap();
  f.devicePixels = shown.size();
  return f;
}

QImage megapixelPicture() {
  QImage image(1024, 1024, QImage::Format_RGB888);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      image.setPixelColor(x, y, QColor(x / 4, y / 4, ((x / 64 + y / 64) % 2) * 200 + 30));
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::string design = argc > 1 ? argv[1] : "Modern.des";
  QSize size(1100, 760);
  if (argc > 2) {
    const QStringList wh = QString(argv[2]).split('x');
    if (wh.size() == 2) size = QSize(wh[0].toInt(), wh[1].toInt());
  }
  const fs::path root = fs::temp_directory_path() / ("qm-bench-drag-" + std::to_string(::getpid()));
  const fs::path data(QM_DATA_DIR);
  std::error_code ec;
  fs::create_directories(root, ec);
  fs::copy(data / "interface", root / "interface", fs::copy_options::recursive, ec);
  for (const char* file : {"photo30.dll", "photo304.dll", "photo64.dll", "Test.bmp"})
    fs::copy_file(data / file, root / file, ec);
  megapixelPicture().save(QString::fromStdString((root / "Megapixel.png").string()));

  std::printf("editor slider drag, twirl %s, design %s, window %dx%d, one step per %d ms\n", kTwirl,
              design.c_str(), size.width(), size.height(), kStepMs);
  std::printf("%-12s %12s %7s %8s %9s %9s\n", "picture", "preview px", "frames", "frames/s",
              "longest", "median");
  bool met = true;
  for (const char* picture : {"Test.bmp", "Megapixel.png"}) {
    qm::settings::MemoryStore store;
    qm::gui::AppContext context{root, store, {}, {}, {}, {}};
    context.ffOptions.programDir = root;
    context.options.interfaceDesign = design;
    context.options.previewPicture = (root / picture).string();
    qm::gui::FFEditorWindow window(context);
    window.resize(size);
    window.show();
    qm::ff::FFRecord rec;
    rec.fileName = "Twirl.afs";
    rec.title = "Twirl";
    rec.controlNames[0] = "Angle";
    rec.formulas = {kTwirl, kTwirl, kTwirl, "a"};
    window.loadRecord(rec);
    window.finishPreview();
    QApplication::processEvents();
    const Figures f = drag(window);
    const double fps = f.frames / f.seconds;
    std::printf("%-12s %5dx%-6d %7d %8.1f %6.1f ms %6.1f ms\n", picture, f.devicePixels.width(),
                f.devicePixels.height(), f.frames, fps, f.longestGap, f.medianGap);
    met = met && fps >= 30 && f.longestGap <= 50;
  }
  std::printf("aim (30 frames/s, no gap over 50 ms): %s\n", met ? "met" : "NOT met");
  fs::remove_all(root, ec);
  return 0;
}
