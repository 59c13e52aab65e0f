// The Plugin View and the search box on a generated collection, against the command line's
// scan of the same folder (the catalogue as `quillmark-cli scan --recursive --sources
// --no-cache` builds it):
//   - the window's scan without the catalogue cache, and the filter list filled with every
//     entry in one step;
//   - a first scan that writes the cache in the same pass;
//   - the Plugin View of a folder already seen (files unchanged): click to lists shown;
//   - the search box: the time from a keystroke to the results, on every filter.
// Usage: bench_plugin_view [FILES] [FOLDER] [RUNS]  (default 20000 files under the temporary
// folder, made once and kept; best of RUNS, default 3, so a busy machine shows less).

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/catalogue/catalogue_store.h"
#include "core/catalogue/search.h"
#include "core/settings/store.h"
#include "gui/main/app_context.h"
#include "gui/main/plugin_lists.h"
#include "gui/main/plugin_view.h"
#include "gui/main/search_panel.h"
#include "gui/shell/qt_progress.h"
#include "plugin_collection.h"

namespace {

namespace fs = std::filesystem;

double millisecondsSince(const QElapsedTimer& clock) {
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

void removeCache(const fs::path& file) {
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(fs::path(file.native() + suffix));
}

// The command line's scan: the same catalogue call, no window, no cache.
double cliScan(const fs::path& folder, const qm::gui::AppContext& context, std::size_t& rows) {
  qm::plugins::Catalogue catalogue;
  qm::plugins::ScanOptions options;
  options.recursive = true;
  options.includeSources = true;
  qm::SilentProgress quiet;
  QElapsedTimer clock;
  clock.start();
  catalogue.scan(folder, options, context.typeTable, context.ffOptions, quiet);
  rows = catalogue.rowCount();
  return millisecondsSince(clock);
}

// Click to lists: the scan on its worker, the category list filled, the window painted.
double windowScan(qm::gui::PluginView& view, const fs::path& folder,
                  qm::gui::QtProgress& progress) {
  QEventLoop loop;
  auto done = QObject::connect(&view, &qm::gui::PluginView::scanFinished, &loop, &QEventLoop::quit);
  QElapsedTimer clock;
  clock.start();
  view.rescan(folder, progress, false);
  loop.exec();
  view.repaint();
  QObject::disconnect(done);
  return millisecondsSince(clock);
}

// Every category selected: the filter list filled with all entries and painted.
double fillAll(qm::gui::PluginView& view) {
  QElapsedTimer clock;
  clock.start();
  view.categoryList()->blockSignals(true);
  view.categoryList()->selectAll();
  view.categoryList()->blockSignals(false);
  view.categoryClick();
  view.filterList()->repaint();
  return millisecondsSince(clock);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
  const fs::path folder =
      argc > 2 && *argv[2]
          ? fs::path(argv[2])
          : fs::temp_directory_path() / ("quillmark-collection-" + std::to_string(files));
  std::printf("collection: %s (%d files)\n", folder.c_str(), files);
  std::fflush(stdout);
  qm::ff::FFOptions templates;
  templates.programDir = QM_DATA_DIR;
  qm::bench::makeCollection(folder, files, templates);

  qm::settings::MemoryStore store;
  qm::gui::AppContext context{QM_DATA_DIR, store, {}, {}, {}, {}};
  context.options.scanSubDirs = true;
  context.options.includeSources = true;
  context.typeTable = qm::plugins::makeTypeTable(qm::plugins::defaultTypeList());
  context.ffOptions.programDir = QM_DATA_DIR;
  const fs::path cacheFile =
      fs::temp_directory_path() / "quillmark-bench-cache" / "catalogue.sqlite";
  removeCache(cacheFile);

  qm::gui::QtProgress progress;
  qm::gui::PluginView view(0, context);
  view.resize(900, 700);
  view.show();

  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
  // Best of runs, after one warm-up that brings the files into the system's cache.
  std::size_t rows = 0;
  cliScan(folder, context, rows);
  double cli = 1e12, window = 1e12, fill = 1e12, first = 1e12, seen = 1e12, seenFill = 1e12;
  double firstOpen = 0, seenOpen = 0;
  for (int run = 0; run < runs; ++run) {
    cli = std::min(cli, cliScan(folder, context, rows));
    context.catalogueCache.reset();
    window = std::min(window, windowScan(view, folder, progress));
    fill = std::min(fill, fillAll(view));
    removeCache(cacheFile);
    QElapsedTimer clock;
    clock.start();
    context.catalogueCache = qm::catalogue::CatalogueStore::open(cacheFile);
    const double open = millisecondsSince(clock);
    const double total = open + windowScan(view, folder, progress);
    if (total < first) firstOpen = open;
    first = std::min(first, total);
  }
  for (int run = 0; run < runs; ++run) {
    // A new run of the program: the store opened (and checked) again, then the click.
    QElapsedTimer clock;
    clock.start();
    context.catalogueCache.reset();
    context.catalogueCache = qm::catalogue::CatalogueStore::open(cacheFile);
    const double open = millisecondsSince(clock);
    const double total = open + windowScan(view, folder, progress);
    if (total < seen) seenOpen = open;
    seen = std::min(seen, total);
    seenFill = std::min(seenFill, fillAll(view));
  }
  const std::size_t entries = static_cast<std::size_t>(view.filterList()->count());

  // The search box over every filter of the folder.
  qm::gui::SearchPanel search(context);
  search.setFolder(folder);
  search.searchBox()->setText("g");
  search.waitForIndex();
  double worstKey = 0;
  std::size_t lastResults = 0;
  for (const char* typed : {"gl", "glu", "gluh", "gluhe", "gluhen", "gluhen v", "gluhen ve",
                            "gluhen vendor 1", "e", "et", "etu", "etude", "8bf", "x"}) {
    QElapsedTimer clock;
    clock.start();
    search.searchBox()->setText(typed);
    search.resultsView()->repaint();
    worstKey = std::max(worstKey, millisecondsSince(clock));
    lastResults = static_cast<std::size_t>(search.results()->rowCount());
  }

  std::printf("rows (filters): %zu, filter list entries with every category: %zu\n", rows, entries);
  std::printf("  command line scan (no cache):        %8.1f ms\n", cli);
  std::printf("  window scan, no cache:               %8.1f ms  (%.2fx scan)\n", window,
              window / cli);
  std::printf("  filter list filled (all entries):    %8.1f ms\n", fill);
  std::printf("  first scan, cache written:           %8.1f ms  (%.2fx scan)\n", first,
              first / cli);
  std::printf("    of which making the cache file:    %8.1f ms\n", firstOpen);
  std::printf("  folder already seen, click to lists: %8.1f ms  (%.2fx scan)\n", seen, seen / cli);
  std::printf("    of which opening the cache:        %8.1f ms\n", seenOpen);
  std::printf("    then every entry listed:           %8.1f ms\n", seenFill);
  std::printf("  search, slowest keystroke:           %8.1f ms  (%zu results for \"x\")\n",
              worstKey, lastResults);
  removeCache(cacheFile);
  return 0;
}
