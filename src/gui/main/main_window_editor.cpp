// The main window's side of the Filter Factory Editor: "FF Editor", the editor's menu in the
// menu bar, double-clicked filters and Randomize.

#include <QApplication>

#include "core/ff/load_file.h"
#include "core/ff/plugin_writer.h"
#include "core/host/image_library.h"
#include "core/host/plugin_host.h"
#include "core/host/plugin_invoke.h"
#include "core/host/preview_picture.h"
#include "gui/editor/ff_editor_window.h"
#include "gui/host_dialog/ff_host_dialog.h"
#include "gui/main/app_context.h"
#include "gui/main/ffl_view.h"
#include "gui/main/main_window.h"
#include "gui/main/pane.h"
#include "gui/main/window_commands.h"
#include "gui/picture/picture_editor.h"
#include "platform/image_codec.h"

namespace qm::gui {
namespace {

// The Preferences value of the "Original FF Editor!" interface.

}  // namespace

FFEditorWindow* MainWindow::ffEditorIfMade() const {
  return ffEditor_.data();
}

FFEditorWindow& MainWindow::ffEditor() {
  if (ffEditor_) return *ffEditor_;
  ffEditor_ = new FFEditorWindow(context_, nullptr, this);
  ffEditor_->move(geometry().center() - ffEditor_->rect().center());
  auto& hooks = ffEditor_->hooks();
  hooks.passiveFolder = [this] { return passive()->folder(); };
  hooks.filesWritten = [this] { refresh(); };
  hooks.previewPictureChosen = [this](const std::filesystem::path& file) {
    setPreviewPicture(file);
  };
  hooks.selectFolder = &windowCommands().selectFolderDialog;
  hooks.overwriteDialog = &windowCommands().overwriteDialog;
  hooks.showHelp = [this](std::string_view page) { desktop_.ShowHelp(page); };
  hooks.sendEmail = [this](std::string_view address, std::string_view subject) {
    desktop_.SendEmail(address, subject, "");
  };
  ffEditorMenu_->clear();
  ffEditor_->fillEditorMenu(ffEditorMenu_);
  ffEditorMenu_->setEnabled(true);
  // "Unload" closes the window; the next "FF Editor" makes a fresh one.
  ffEditor_->setAttribute(Qt::WA_DeleteOnClose);
  connect(ffEditor_, &FFEditorWindow::closing, this, [this] {
    ffEditorMenu_->clear();
    ffEditorMenu_->setEnabled(false);
  });
  return *ffEditor_;
}

bool MainWindow::openInFFEditor(const std::filesystem::path& file) {
  auto rec = ff::loadFilterFactoryFile(file, context_.ffOptions, ff::LoadPurpose::Editor);
  if (!rec) return false;
  openRecordInFFEditor(*rec);
  return true;
}

bool MainWindow::openFflEntryInFFEditor(int index) {
  FflView* view = pane(index)->fflView();
  const auto positions = view->selectedPositions();
  if (positions.empty() || view->library().empty()) return false;
  // The entry as the FFL View reads it: no optimisation, the dialect from its file name.
  auto rec = ff::loadLibraryEntryAt(view->library(), positions.front());
  if (!rec) {
    prompter_.error(rec.error(), "Error");
    return false;
  }
  openRecordInFFEditor(*rec);
  return true;
}

void MainWindow::openSelectionInFFEditor() {
  if (active()->view() == View::Ffl) {
    openFflEntryInFFEditor(active()->index());
    return;
  }
  const auto file = selectedFile();
  if (file.empty()) return;
  if (!openInFFEditor(file))
    prompter_.warn(file.filename().string() + ": " + std::string(ff::kNotFilterFactory),
                   "Open in FF Editor");
}

void MainWindow::openRecordInFFEditor(const ff::FFRecord& record) {
  if (context_.options.interfaceDesign == settings::kPlainEditorDesign) {
    // The next compiled plugin shows the formula editor instead of its sliders, for this run
    // only ("Editor Plugin" of the Photoshop kind is put back afterwards).
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool remembered = context_.ffOptions.editorPlugin;
    context_.ffOptions.editorPlugin = true;
    if (commands_.openInHostDialog)
      commands_.openInHostDialog(record);
    else
      runInHostDialog(record);
    context_.ffOptions.editorPlugin = remembered;
    QApplication::restoreOverrideCursor();
    return;
  }
  FFEditorWindow& editor = ffEditor();
  editor.show();
  editor.raise();
  editor.activateWindow();
  editor.loadRecord(record);
}

// The filter runs as a plugin of its own on the preview picture, shown in the Picture Editor,
// with the host's dialog (formulas included) in place of the editor.
void MainWindow::runInHostDialog(const ff::FFRecord& rec) {
  PictureEditor* editor = pictureEditor();
  const auto picture =
      host::previewPicturePath(context_.options.previewPicture, context_.programDir);
  if (!editor->openFile(picture)) return;
  editor->show();
  ff::FFRecord filter = rec;
  if (ff::Write8bf(context_.programDir, true, false, filter, context_.ffOptions).written.empty())
    return;
  platform::QtImageCodec codec;
  host::ImageLibrary images(codec);
  host::PluginHost pluginHost(images, nullptr);
  host::HostSession session{images, pluginHost, prompter_,
                            images.adopt(platform::fromQImage(editor->image(), 24, false)), 0};
  if (!host::PluginInvoke(session, context_.programDir, "temp.dll", nullptr, false, 0,
                          hostDialogFor(editor->image(), true, this)))
    return;
  if (const host::Image* result = images.image(session.workImage))
    editor->showImage(platform::toQImage(*result),
                      QString::fromStdString(picture.filename().string()), picture);
  editor->raise();
}

void MainWindow::connectEditorMenus() {
  // Decision: the editor has no menu bar of its own; its commands live here while it is open.
  ffEditorMenu_ = new QMenu("FF &Editor", this);
  ffEditorMenu_->setObjectName("mnuFFEditor");
  ffEditorMenu_->setEnabled(false);
  menuBar()->insertMenu(
      menus_.menu("mnuHelpMenu") ? menus_.menu("mnuHelpMenu")->menuAction() : nullptr,
      ffEditorMenu_);
  connect(menus_.action("mnuFFE"), &QAction::triggered, this, [this] {
    if (context_.options.interfaceDesign == settings::kPlainEditorDesign) return;
    FFEditorWindow& editor = ffEditor();
    editor.show();
    editor.raise();
    editor.activateWindow();
  });
  connect(menus_.action("mnuOpenInFFE"), &QAction::triggered, this,
          [this] { openSelectionInFFEditor(); });
  connect(menus_.action("mnuRandomize"), &QAction::triggered, this, [this] {
    // The filter loaded in the editor gets eight new slider values.
    if (ffEditor_) ffEditor_->randomize(true);
  });
}

}  // namespace qm::gui
