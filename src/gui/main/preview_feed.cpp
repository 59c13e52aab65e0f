#include "gui/main/preview_feed.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QPointer>

#include "core/picture/plugin_preview.h"
#include "gui/main/app_context.h"
#include "gui/main/ffl_view.h"
#include "gui/main/file_view.h"
#include "gui/main/main_window.h"
#include "gui/main/plugin_view.h"
#include "gui/main/preview_panel.h"

namespace qm::gui {
namespace {

namespace fs = std::filesystem;

bool isFilterSource(const std::string& name) {
  QString lower = QString::fromStdString(name).toLower();
  for (const char* ending : {".afs", ".pff", ".txt", ".ffx"})
    if (lower.endsWith(ending)) return true;
  return false;
}

}  // namespace

PreviewFeed::PreviewFeed(MainWindow& window, PreviewPanel& panel)
    : QObject(&window), window_(window), panel_(panel) {
  pending_.setSingleShot(true);
  pending_.setInterval(0);
  connect(&pending_, &QTimer::timeout, this, &PreviewFeed::selectionMoved);
  for (int i = 0; i < 2; ++i) watch(window.pane(i));
  panel_.setVisible(false);
}

void PreviewFeed::setEnabled(bool on) {
  enabled_ = on;
  panel_.setVisible(on);
  shown_.reset();
  if (on)
    refresh();
  else
    panel_.clear();
}

void PreviewFeed::watch(Pane* pane) {
  auto later = [this] {
    if (enabled_) pending_.start();
  };
  connect(pane, &Pane::activated, this, later);
  connect(pane, &Pane::viewChanged, this, later);
  connect(pane, &Pane::folderChanged, this, later);
  connect(pane, &Pane::pluginViewMade, this, [this, pane] { watchViews(pane); });
  connect(pane, &Pane::fflViewMade, this, [this, pane] { watchViews(pane); });
  watchViews(pane);
}

// Every list of the pane; a list already watched is connected once only.
void PreviewFeed::watchViews(Pane* pane) {
  for (QAbstractItemView* view : pane->findChildren<QAbstractItemView*>()) {
    QItemSelectionModel* selection = view->selectionModel();
    if (!selection || selection->property("qmPreviewWatched").toBool()) continue;
    selection->setProperty("qmPreviewWatched", true);
    auto later = [this] {
      if (enabled_) pending_.start();
    };
    connect(selection, &QItemSelectionModel::selectionChanged, this, later);
    connect(selection, &QItemSelectionModel::currentChanged, this, later);
  }
}

void PreviewFeed::refresh() {
  if (enabled_) show(subject());
}

void PreviewFeed::selectionMoved() {
  if (!enabled_) return;
  Subject now = subject();
  if (shown_ && *shown_ == now) return;
  show(now);
}

void PreviewFeed::show(const Subject& subject) {
  shown_ = subject;
  if (subject.file.empty())
    panel_.clear();
  else
    panel_.request(subject.file, subject.fflPosition, subject.caption);
}

PreviewFeed::Subject PreviewFeed::subject() const {
  Pane* pane = window_.active();
  switch (pane->view()) {
    case View::File: {
      FileView* files = pane->fileView();
      fs::path file;
      const QString current = files->currentName();
      if (!current.isEmpty() && files->selectedFiles().contains(current))
        file = pane->folder() / files->nativeName(current);
      else if (auto selected = pane->selectedPaths(); !selected.empty())
        file = selected.front();
      const std::string name = file.filename().string();
      if (isFilterSource(name) || picture::hasPluginFacts(name, window_.context().typeTable))
        return {file, {}, {}};
      return {};
    }
    case View::Plugin: {
      PluginView* plugins = pane->pluginViewIfMade();
      const auto rows = plugins ? plugins->selectedRows() : std::vector<std::size_t>{};
      if (rows.empty()) return {};
      const auto& row = plugins->catalogue().row(rows.front());
      return {row.path, {}, QString::fromStdString(row.title)};
    }
    case View::Ffl: {
      FflView* library = pane->fflView();
      const auto positions = library->selectedPositions();
      if (positions.empty() || library->library().empty()) return {};
      const auto items = library->list()->selectedItems();
      return {library->library(), static_cast<std::size_t>(positions.front()),
              items.isEmpty() ? QString() : items.front()->text(1)};
    }
  }
  return {};
}

}  // namespace qm::gui
