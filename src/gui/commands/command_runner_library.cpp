// Create FFL and Add to FFL: the selected Filter Factory filters written as one library.

#include <QFileDialog>
#include <QWidget>
#include <algorithm>

#include "core/common/safe_name.h"
#include "core/common/text_lines.h"
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

std::string withLibraryEnding(std::string name) {
  const bool hasEnding = name.size() >= 4 && (name.ends_with(".ffl") || name.ends_with(".FFL"));
  return hasEnding ? name : name + ".ffl";
}

std::string lines(const std::vector<ff::ConvertProblem>& problems) {
  return joinedText(ff::problemLines(problems), "\n");
}

}  // namespace

std::vector<CommandRunner::SelectedEntry> CommandRunner::selectedFflEntries(int pane) const {
  std::vector<SelectedEntry> selected;
  auto bytes = ff::readWholeFile(host_.fflLibrary(pane));
  if (!bytes) return selected;
  auto index = ff::IndexFFL(ByteView(*bytes));
  if (!index) return selected;
  const auto positions = host_.selectedFflPositions(pane);
  for (std::size_t n = 0; n < index->entries.size(); ++n)
    if (std::find(positions.begin(), positions.end(), index->entries[n].position) !=
        positions.end())
      selected.push_back({n + 1, std::move(index->entries[n])});
  return selected;
}

std::vector<std::string> CommandRunner::selectedFilterArguments(int pane) const {
  std::vector<std::string> arguments;
  if (host_.view(pane) == shell::PaneView::Ffl) {
    const std::string library = host_.fflLibrary(pane).string();
    for (const auto& selected : selectedFflEntries(pane))
      arguments.push_back(library + "#" + std::to_string(selected.number));
    return arguments;
  }
  for (const auto& file : selectedFileList(pane)) arguments.push_back(file.string());
  return arguments;
}

std::optional<ff::LibraryRequest> CommandRunner::libraryRequest(int pane) {
  if (busy_) return std::nullopt;
  ff::LibraryRequest request;
  request.inputs = selectedFilterArguments(pane);
  if (request.inputs.empty()) {
    ports_.prompter.warn(shell::kSelectFiles, shell::kAttentionTitle);
    return std::nullopt;
  }
  request.ffl10 = settings_.options.writeFFL10;
  request.ff = settings_.ffOptions;
  return request;
}

void CommandRunner::createLibrary() {
  const int pane = host_.activePane();
  auto request = libraryRequest(pane);
  if (!request) return;
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
  request->library = folder->folder / name;
  runLibrary(*request);
}

void CommandRunner::addToLibrary() {
  const int pane = host_.activePane();
  auto request = libraryRequest(pane);
  if (!request) return;
  const QString chosen = QFileDialog::getOpenFileName(
      dialogParent_, "Add to FFL", QString::fromStdString(host_.folder(1 - pane).string()),
      "Filter Factory Libraries (*.ffl *.FFL)");
  if (chosen.isEmpty()) return;
  request->library = chosen.toStdString();
  request->append = true;
  runLibrary(*request);
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
  if (failures.empty() && !report.written.empty() && report.warnings.empty())
    ports_.prompter.inform(summary, kLibraryTitle);
  else
    ports_.prompter.warn(summary, kLibraryTitle);
  if (!report.written.empty()) filesChangedIn(request.library.parent_path());
  host_.refreshFiles(0);
  host_.refreshFiles(1);
}

}  // namespace qm::gui
