// Batch Processing: the selected filter (a Filter Factory filter, or a Windows plugin run by
// the plugin host with its default parameters) over pictures the user lists.

#include "core/common/unicode_text.h"
#include "core/host/filter_loader.h"
#include "core/shell/messages.h"
#include "gui/batch/batch_processing_dialog.h"
#include "gui/commands/command_runner.h"
#include "gui/commands/run_scope.h"
#include "gui/main/windows_plugins.h"

namespace qm::gui {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTitle = "Batch Processing";

}  // namespace

void CommandRunner::batchProcessing() {
  if (busy_) return;
  const int pane = host_.activePane();
  const auto filters = selectedFilterArguments(pane);
  if (filters.empty()) {
    ports_.prompter.warn(shell::kSelectFiles, shell::kAttentionTitle);
    return;
  }
  const bool ffl = host_.view(pane) == shell::PaneView::Ffl;
  apply::ApplySetup setup;
  setup.filterArg = filters.front();
  setup.filterFile = ffl ? host_.fflLibrary(pane) : fs::path(filters.front());
  // Run as stored, as the plugin itself would: the optimiser's rewrites can change results.
  ff::FFOptions options = settings_.ffOptions;
  options.noOptimize = true;
  auto filter = host::loadFilter(setup.filterArg, options);
  if (filter) {
    setup.formulas = filter->formulas;
    setup.sliders = filter->sliderValues;
  } else {
    std::optional<plughost::ForeignPlugin> plugin;
    if (!ffl && windowsPlugins_) {
      std::string title;
      if (host_.view(pane) == shell::PaneView::Plugin)
        if (const auto rows = host_.selectedRows(pane); !rows.empty())
          title = host_.catalogue(pane).row(rows.front()).title;
      plugin = windowsPlugins_().pluginFor(setup.filterFile, title);
    }
    if (!plugin) {
      ports_.prompter.error(filter.error(), kTitle);
      return;
    }
    plugin->shownAs = setup.filterArg;  // the summary's lines name the filter as the dialog does
    WindowsPlugins& plugins = windowsPlugins_();
    if (const auto why = plugins.unavailable(*plugin)) {
      ports_.prompter.error(plugin->shownAs + ": " + *why, kTitle);
      return;
    }
    setup.foreign = [&plugins, plugin = *plugin](host::Image& image,
                                                 const std::function<bool()>& cancelled) {
      return plugins.runQuietly(plugin, image, cancelled);
    };
  }

  BatchProcessingDialog dialog(std::move(setup),
                               QString::fromStdString(displayPath(fs::path(filters.front()))),
                               host_.folder(1 - pane), ports_.prompter, overwrite_, dialogParent_);
  dialog.setChoices(batchChoices_);
  {
    RunScope run(busy_, ports_.progress, statusSink_);
    dialog.exec();
  }
  batchChoices_ = dialog.choices();
  // Escape right after a run closes the dialog; the status line keeps what it did.
  if (statusSink_ && !dialog.lastSummary().empty())
    statusSink_(QString::fromStdString(dialog.lastSummary()));
  for (const auto& folder : dialog.changedFolders()) filesChangedIn(folder);
  host_.refreshFiles(0);
  host_.refreshFiles(1);
}

}  // namespace qm::gui
