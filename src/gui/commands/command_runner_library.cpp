// Create FFL and Add to FFL: the selected Filter Factory filters written as one library.

#include <QFileDialog>
#include <QWidget>
#include <algorithm>

#include "core/common/safe_name.h"
#include "core/common/unicode_text.h"
#include "core/ff/ffl.h"
#include "core/ff/ffl_create.h"
#include "core/ff/plugin_file_io.h"
#include "core/shell/messages.h"
#include "gui/commands/command_runner.h"
#include "gui/commands/passive_folder_prompter.h"
#include "gui/commands/run_scope.h"

namespace qm::gui {
namespace {

constexpr std::string_view kLibraryTitle = "Filter Factory Library";

// The selection as loader arguments: files, or "LIB.ffl#N" for FFL View entries.
std::vector<std::string> entryArguments(const std::filesystem::path& library,
                                        const std::vector<std::uint64_t>& positions) {
  std::vector<std::string> arguments;
  auto bytes = ff::readWholeFile(library);
  if (!bytes) return arguments;
  auto index = ff::IndexFFL(ByteView(*bytes));
  if (!index) return arguments;
  for (std::size_t n = 0; n < index->entries.size(); ++n)
    if (std::find(positions.begin(), positions.end(), index->entries[n].position) !=
        positions.end())
      arguments.push_back(library.string() + "#" + std::to_string(n + 1));
  return arguments;
}

std::string withLibraryEnding(std::string name) {
  const bool hasEnding = name.size() >= 4 && (name.ends_with(".ffl") || name.ends_with(".FFL"));
  return hasEnding ? name : name + ".ffl";
}

std::string lines(const std::vector<ff::ConvertProblem>& problems) {
  std::string text;
  for (const auto& line : ff::problemLines(problems)) text += (text.empty() ? "" : "\n") + line;
  return text;
}

}  // namespace

std::vector<std::string> CommandRunner::selectedFilterArguments(int pane) const {
  if (host_.view(pane) == shell::PaneView::Ffl)
    return entryArguments(host_.fflLibrary(pane), host_.selectedFflPositions(pane));
  std::vector<std::string> arguments;
  for (const auto& file : selectedFileList(pane)) arguments.push_back(file.string());
  return arguments;
}

void CommandRunner::createLibrary() {
  if (busy_) return;
  const int pane = host_.activePane();
  const auto inputs = selectedFilterArguments(pane);
  if (inputs.empty()) {
    ports_.prompter.warn(shell::kSelectFiles, shell::kAttentionTitle);
    return;
  }
  PassiveFolderPrompter passiveFolder(ports_.prompter, host_.folder(1 - pane));
  Prompter& prompter =
      settings_.options.passivePaneFolder ? static_cast<Prompter&>(passiveFolder) : ports_.prompter;
  auto folder = prompter.chooseFolder({});
  if (!folder || folder->folder.empty()) return;
  const std::string suggested = host_.view(pane) == shell::PaneView::Ffl
                                    ? host_.fflLibrary(pane).filename().string()
                                    : "Library.ffl";
  auto typed = ports_.prompter.askText("Name of the new library:", suggested);
  if (!typed) return;
  const std::string name = plainFileName(withLibraryEnding(*typed));
  if (name.empty() || name == ".ffl") return;
  ff::LibraryRequest request;
  request.inputs = inputs;
  request.library = folder->folder / name;
  request.ffl10 = settings_.options.writeFFL10;
  request.ff = settings_.ffOptions;
  runLibrary(request);
}

void CommandRunner::addToLibrary() {
  if (busy_) return;
  const int pane = host_.activePane();
  const auto inputs = selectedFilterArguments(pane);
  if (inputs.empty()) {
    ports_.prompter.warn(shell::kSelectFiles, shell::kAttentionTitle);
    return;
  }
  const QString chosen = QFileDialog::getOpenFileName(
      dialogParent_, "Add to FFL", QString::fromStdString(host_.folder(1 - pane).string()),
      "Filter Factory Libraries (*.ffl *.FFL)");
  if (chosen.isEmpty()) return;
  ff::LibraryRequest request;
  request.inputs = inputs;
  request.library = chosen.toStdString();
  request.append = true;
  request.ff = settings_.ffOptions;
  runLibrary(request);
}

void CommandRunner::runLibrary(const ff::LibraryRequest& request) {
  RunScope run(busy_, ports_.progress, statusSink_);
  overwrite_({}, {});
  const auto report = ff::writeFilterLibrary(request, overwrite_, run.progress());
  overwrite_({}, {});
  std::string summary;
  if (!report.written.empty())
    summary = displayPath(request.library) + ": " + std::to_string(report.entries) +
              (request.append ? " entries added." : " entries written.");
  else if (report.cancelled)
    summary = "Stopped; nothing written.";
  else if (!report.skipped.empty())
    summary = displayPath(request.library) + " exists and was kept.";
  else
    summary = "No library written.";
  std::vector<ff::ConvertProblem> failures = report.unreadable;
  failures.insert(failures.end(), report.failed.begin(), report.failed.end());
  if (!failures.empty()) summary += "\n\nNot added:\n" + lines(failures);
  if (!report.warnings.empty())
    summary += "\n\nChanged to fit the library:\n" + lines(report.warnings);
  if (failures.empty() && report.written.empty() == false && report.warnings.empty())
    ports_.prompter.inform(summary, kLibraryTitle);
  else
    ports_.prompter.warn(summary, kLibraryTitle);
  if (!report.written.empty()) filesChangedIn(request.library.parent_path());
  host_.refreshFiles(0);
  host_.refreshFiles(1);
}

}  // namespace qm::gui
