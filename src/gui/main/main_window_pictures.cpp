// The main window's picture side: the plugin preview panel, the preview picture choice, the
// cache entry update, the Picture Editor and the Plugin About Dialog.

#include <QFileDialog>
#include <QHBoxLayout>
#include <QToolButton>

#include "core/host/about_dialog.h"
#include "core/host/plugin_host.h"
#include "core/host/plugin_invoke.h"
#include "core/host/preview_picture.h"
#include "core/picture/preview_cache.h"
#include "core/picture/preview_choice.h"
#include "core/preferences/preview_cache.h"
#include "core/shell/fs.h"
#include "gui/commands/run_scope.h"
#include "gui/editor/ff_editor_window.h"
#include "gui/main/app_context.h"
#include "gui/main/ffl_view.h"
#include "gui/main/file_view.h"
#include "gui/main/main_window.h"
#include "gui/main/plugin_view.h"
#include "gui/main/preview_feed.h"
#include "gui/main/preview_panel.h"
#include "gui/main/windows_plugins.h"
#include "gui/picture/picture_editor.h"
#include "gui/picture/picture_filters.h"
#include "gui/picture/picture_loading.h"
#include "platform/image_codec.h"

namespace qm::gui {

namespace fs = std::filesystem;

QWidget* MainWindow::buildPreviewPanel(QWidget* beside) {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  layout->addWidget(beside, 1);
  previewPanel_ = new PreviewPanel(context_, row);
  windowsPlugins();
  previewPanel_->setWindowsPluginPreview(
      [plugins = windowsPlugins_](const fs::path& file, host::Image& image,
                                  const std::function<bool()>& cancelled) {
        return plugins->preview(file, image, cancelled);
      });
  layout->addWidget(previewPanel_, 0);
  return row;
}

QWidget* MainWindow::buildPreviewButton(QWidget* row) {
  QAction* preview = menus_.action("mnuPluginPreview");
  preview->setToolTip("Show the selected filter's effect on the preview picture");
  auto* button = new QToolButton(row);
  button->setObjectName("previewButton");
  // The button is the menu entry's: its tick is the button's pressed state, both ways.
  button->setDefaultAction(preview);
  return button;
}

void MainWindow::connectPictureCommands() {
  previewFeed_ = new PreviewFeed(*this, *previewPanel_);
  QAction* preview = menus_.action("mnuPluginPreview");
  connect(preview, &QAction::toggled, previewFeed_, &PreviewFeed::setEnabled);
  auto on = [this](const char* name, auto slot) {
    QAction* action = menus_.action(name);
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, slot);
  };
  on("mnuOpen", [this] {
    const QString file = QFileDialog::getOpenFileName(
        this, "Open Preview Image", QString::fromStdString(active()->folder().string()),
        readablePictureFilter());
    if (!file.isEmpty()) setPreviewPicture(file.toStdString());
  });
  on("mnuUpdateCache", [this] { updatePreviewCache(); });
  on("mnuPictureView", [this] {
    pictureEditor()->show();
    pictureEditor()->raise();
    pictureEditor()->activateWindow();
  });
  on("mnuPluginAbout", [this] { showPluginAbout(); });
  on("mnuInvoke", [this] { executePlugin(); });
  QMenu* file = menus_.menu("mnuFile");
  connect(file, &QMenu::aboutToShow, this, &MainWindow::tickPictureEntries);
  connect(file, &QMenu::triggered, this, [this](QAction* a) {
    if (a->objectName() != "mnuPictures" || a->text().isEmpty()) return;
    setPreviewPicture(a->text().toStdString());
    statusText()->setText("Preview picture: " + a->text());
  });
  connect(menus_.menu("mnuCommands"), &QMenu::aboutToHide, this,
          [this] { menus_.action("mnuPluginAbout")->setEnabled(true); });
}

PictureEditor* MainWindow::pictureEditor() {
  if (!pictureEditor_) {
    pictureEditor_ = new PictureEditor(context_.programDir, this);
    pictureEditor_->setWindowFlag(Qt::Window);
    // Over the main window rather than wherever the window manager puts a new window.
    pictureEditor_->move(geometry().topLeft() + QPoint(60, 60));
    pictureEditor_->hooks().previewImageChosen = [this](const fs::path& file) {
      setPreviewPicture(file);
    };
    pictureEditor_->hooks().showHelp = [this](const QString& page) {
      desktop_.ShowHelp(page.toStdString());
    };
    pictureEditor_->hooks().jpegQuality = [this] { return context_.options.previewJpgQuality; };
  }
  return pictureEditor_;
}

void MainWindow::setPreviewPicture(const fs::path& file) {
  // Read before anything changes: a damaged file is refused with the reason, and a large one
  // is read once, on a worker, for the panel and the editor alike.
  const LoadedPicture loaded =
      loadPicture(this, file, "Reading the preview picture", kLargestPreviewSource);
  if (loaded.image.isNull()) {
    if (!loaded.stopped)
      prompter_.error(previewPictureRefusal(file, loaded.error), host::kMessageTitle);
    return;
  }
  const fs::path before =
      host::previewPicturePath(context_.options.previewPicture, context_.programDir);
  const std::size_t listed = context_.options.pictures.size();
  picture::choosePreviewPicture(context_.options, context_.store, file.string());
  if (context_.options.pictures.size() != listed) rebuildListMenus(folders_);
  // Cached previews show the old picture; a picture file of the same name may have changed.
  if (before != file || file.filename() == "PictureEditor.bmp") {
    shell::DiskFs disk;
    preferences::clearPreviewCache(disk, context_.programDir);
  }
  previewPanel_->pictureChanged(loaded.image);
  previewFeed_->refresh();
  if (FFEditorWindow* editor = ffEditorIfMade()) editor->setPreviewPicture(file, loaded.image);
}

void MainWindow::tickPictureEntries() {
  const fs::path current =
      host::previewPicturePath(context_.options.previewPicture, context_.programDir);
  const auto ticked = picture::pictureEntryFor(context_.options.pictures, current.string());
  for (QAction* a : menus_.menu("mnuFile")->actions()) {
    if (a->objectName() != "mnuPictures") continue;
    a->setCheckable(true);
    a->setChecked(ticked && a->data().toInt() == static_cast<int>(*ticked));
  }
}

fs::path MainWindow::selectedFile() const {
  Pane* p = active();
  if (p->view() == View::Plugin) {
    PluginView* plugins = p->pluginViewIfMade();
    const auto rows = plugins ? plugins->selectedRows() : std::vector<std::size_t>{};
    return rows.empty() ? fs::path() : plugins->catalogue().row(rows.front()).path;
  }
  if (p->view() == View::File) {
    const auto paths = p->selectedPaths();
    if (!paths.empty()) return paths.front();
  }
  return {};
}

void MainWindow::updatePreviewCache() {
  const fs::path file = selectedFile();
  if (file.empty()) return;
  host::deletePreviewCacheEntry(context_.programDir, file);
  previewFeed_->refresh();
}

void MainWindow::showPluginAbout() {
  platform::QtImageCodec codec;
  host::ImageLibrary images(codec);
  host::PluginHost host(images, nullptr);
  host::cmd_AboutDialog({active()->view() == View::Ffl, selectedFile()}, host, prompter_,
                        [this](const fs::path& file) {
                          const auto plugin = windowsPlugins().pluginFor(file);
                          if (!plugin) return false;
                          if (windowsPlugins().running()) return true;
                          RunScope scope(
                              windowsPlugins().running(), progress_,
                              [this](const QString& text) { statusText()->setText(text); });
                          windowsPlugins().about(*plugin, prompter_, scope.progress());
                          return true;
                        });
}

}  // namespace qm::gui
