// Commands > Execute Plugin: the selected filter runs on the Picture Editor's picture (the
// preview picture when the editor has none). A Filter Factory filter runs in our engine after
// the host's own dialog; any other Windows filter runs in the plugin host under Wine with its
// own dialog. The result replaces the editor's picture, whose file Revert brings back; on
// failure or Cancel the picture stays as it was.

#include "core/common/cp1252.h"
#include "core/host/about_dialog.h"
#include "core/host/filter_loader.h"
#include "core/host/plugin_invoke.h"
#include "core/host/preview_picture.h"
#include "core/host/run_filter.h"
#include "gui/commands/run_scope.h"
#include "gui/host_dialog/ff_host_dialog.h"
#include "gui/main/app_context.h"
#include "gui/main/main_window.h"
#include "gui/main/plugin_view.h"
#include "gui/main/windows_plugins.h"
#include "gui/picture/picture_editor.h"
#include "platform/image_codec.h"

namespace qm::gui {

namespace fs = std::filesystem;

namespace {

constexpr const char* kTitle = "Execute Plugin";

host::Image editorPicture(const PictureEditor& editor) {
  return platform::fromQImage(editor.image(), editor.bitsPerPixel(),
                              editor.image().hasAlphaChannel());
}

}  // namespace

WindowsPlugins& MainWindow::windowsPlugins() {
  if (!windowsPlugins_) windowsPlugins_ = std::make_shared<WindowsPlugins>(context_.programDir);
  return *windowsPlugins_;
}

void MainWindow::executePlugin() {
  if (busy() || windowsPlugins().running()) return;
  const fs::path file = selectedFile();
  if (file.empty()) {
    prompter_.warn(host::kSelectPluginText, host::kMessageTitle);
    return;
  }
  // The Plugin View's row names one filter of a file that holds several.
  std::string title;
  if (active()->view() == View::Plugin)
    if (PluginView* plugins = active()->pluginViewIfMade(); plugins)
      if (const auto rows = plugins->selectedRows(); !rows.empty())
        title = plugins->catalogue().row(rows.front()).title;

  PictureEditor* editor = pictureEditor();
  if (editor->image().isNull() && !editor->openFile(host::previewPicturePath(
                                      context_.options.previewPicture, context_.programDir)))
    return;
  editor->show();
  editor->raise();
  host::Image image = editorPicture(*editor);
  RunScope scope(windowsPlugins().running(), progress_,
                 [this](const QString& text) { statusText()->setText(text); });
  Progress& progress = scope.progress();

  if (auto filter = host::loadFilter(file.string(), context_.ffOptions)) {
    const auto chosen = runHostDialog(*filter, editor->image(), false, this);
    if (!chosen) return;
    host::FilterRun run;
    run.sliders = chosen->sliders;
    run.cancelled = [&progress] { return progress.cancelled(); };
    const host::Rect whole{0, 0, image.width - 1, image.height - 1};
    const auto report = host::runFilter(chosen->formulas, image, whole, run);
    if (report.outcome == host::RunOutcome::BadFormula)
      prompter_.error(cp1252ToUtf8(host::describe(report.error)), kTitle);
    if (report.outcome != host::RunOutcome::Done) return;
  } else {
    const auto plugin = windowsPlugins().pluginFor(file, title);
    if (!plugin) {
      prompter_.error(host::pluginLoadFailedText(), host::kMessageTitle);
      return;
    }
    progress.status("Running " + plugin->shownAs + "... (Escape stops it)");
    const auto result = windowsPlugins().run(*plugin, image, true, progress);
    progress.status("");
    if (result.status == plughost::ForeignResult::Status::Failed)
      prompter_.error(result.message, kTitle);
    if (result.status != plughost::ForeignResult::Status::Done) return;
  }
  editor->showFiltered(platform::toQImage(image));
  editor->raise();
}

}  // namespace qm::gui
