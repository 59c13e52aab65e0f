// The main window's preview panel: the time from asking for the preview of a Filter Factory
// plugin to the drawn picture, for plugins not yet cached and for cached ones, against a
// floor of decoding the cached JPEG alone. The ratios say what the panel adds.

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/ff/plugin_writer.h"
#include "core/settings/store.h"
#include "gui/main/app_context.h"
#include "gui/main/preview_panel.h"

namespace {

namespace fs = std::filesystem;
constexpr int kPlugins = 40;

std::vector<fs::path> writePlugins(const fs::path& folder) {
  qm::ff::FFOptions options;
  options.programDir = QM_DATA_DIR;
  std::vector<fs::path> plugins;
  for (int i = 0; i < kPlugins; ++i) {
    qm::ff::FFRecord rec;
    rec.title = "Bench " + std::to_string(i);
    rec.category = "Bench";
    rec.sliderValues[0] = static_cast<std::uint8_t>(i * 5);
    rec.formulas = {"src(x+ctl(0)/8,y,z)", "g*" + std::to_string(i % 7 + 1) + "/8",
                    "sin(x*4+y)/4+b", "a"};
    const fs::path file = folder / ("Bench" + std::to_string(i) + ".8bf");
    if (qm::ff::Write8bfTo(file, rec, options).written.empty()) return {};
    plugins.push_back(file);
  }
  return plugins;
}

// Milliseconds from the request to the painted preview, averaged over the plugins.
double timePreviews(qm::gui::PreviewPanel& panel, const std::vector<fs::path>& plugins,
                    qm::picture::PreviewKind expected, bool& allExpected) {
  QElapsedTimer clock;
  double total = 0;
  for (const fs::path& plugin : plugins) {
    QEventLoop loop;
    qm::picture::PreviewKind got{};
    auto connection = QObject::connect(&panel, &qm::gui::PreviewPanel::shown, &loop,
                                       [&](qm::picture::PreviewKind kind) {
                                         got = kind;
                                         loop.quit();
                                       });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    clock.start();
    panel.request(plugin);
    loop.exec();
    panel.pictureLabel()->repaint();
    total += static_cast<double>(clock.nsecsElapsed()) / 1e6;
    QObject::disconnect(connection);
    if (got != expected) allExpected = false;
  }
  return total / static_cast<double>(plugins.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const fs::path root =
      fs::temp_directory_path() / ("qm-bench-preview-" + std::to_string(::getpid()));
  fs::create_directories(root / "plugins");
  QImage picture(640, 480, QImage::Format_RGB888);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      picture.setPixelColor(x, y, QColor(x % 256, y % 256, 90));
  picture.save(QString::fromStdString((root / "Test.bmp").string()));
  const auto plugins = writePlugins(root / "plugins");
  if (plugins.empty()) {
    std::fprintf(stderr, "cannot write the plugins (templates in %s?)\n", QM_DATA_DIR);
    return 1;
  }
  qm::settings::MemoryStore store;
  qm::gui::AppContext context{root, store, {}, {}, {}, {}};
  qm::gui::PreviewPanel panel(context);
  panel.show();

  bool ok = true;
  const double uncached = timePreviews(panel, plugins, qm::picture::PreviewKind::Filtered, ok);
  const double cached = timePreviews(panel, plugins, qm::picture::PreviewKind::FromCache, ok);
  QElapsedTimer clock;
  clock.start();
  for (const fs::path& plugin : plugins) {
    const fs::path jpeg = root / "cache" / (plugin.stem().string() + ".jpg");
    if (QImage(QString::fromStdString(jpeg.string())).isNull()) ok = false;
  }
  const double floor = static_cast<double>(clock.nsecsElapsed()) / 1e6 / kPlugins;
  std::printf("preview panel, %d Filter Factory plugins, preview box %dx%d\n", kPlugins,
              panel.pictureLabel()->width() - 4, panel.pictureLabel()->height() - 4);
  std::printf("  uncached: %8.3f ms  (%.1fx floor)\n", uncached, uncached / floor);
  std::printf("  cached:   %8.3f ms  (%.1fx floor)\n", cached, cached / floor);
  std::printf("  floor:    %8.3f ms  (decoding the cached JPEG alone)\n", floor);
  fs::remove_all(root);
  if (!ok) std::fprintf(stderr, "a preview did not come as expected\n");
  return ok ? 0 : 1;
}
