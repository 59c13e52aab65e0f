// Delete (to the trash, or FFL entries to placeholders) and Kill (erase for good).

#include "core/shell/command_helpers.h"
#include "core/shell/file_commands.h"
#include "core/shell/file_transfer.h"
#include "core/shell/messages.h"

namespace qm::shell {
namespace {

namespace stdfs = std::filesystem;

// Decision: the desktop trash asks nothing by itself, so the program asks in its place
// (trashQuestion); every question here defaults to No.
constexpr std::string_view kDeleteTitle = "Delete";
constexpr std::string_view kFflQuestion = "Do you want to delete these/this FFL item(s)?";
constexpr std::string_view kFflTitle = "Delete FFL Item";
constexpr std::string_view kKillTitle = "Kill";

// The bytes "//" (12079 little-endian) over the first two bytes of each entry's first line.
// The whole library is rewritten through a temporary file, so it is never left half-marked.
CommandOutcome markFflPlaceholders(ShellPorts& ports, const ShellRequest& request) {
  CommandOutcome outcome;
  if (ports.prompter.ask(kFflQuestion, kFflTitle, Buttons::YesNoDefaultNo, Icon::Question) !=
      Button::Yes)
    return outcome;
  auto bytes = ports.fs.readFile(request.library);
  if (!bytes) {
    reportFailures(ports, "changed", kFflTitle, {request.library});
    return outcome;
  }
  std::vector<std::uint64_t> marked;
  for (auto position : request.fflPositions) {
    // A position from the list could be stale: the file may have shrunk since.
    if (position > bytes->size() || bytes->size() - position < 2) continue;
    (*bytes)[position] = '/';
    (*bytes)[position + 1] = '/';
    marked.push_back(position);
  }
  auto temp = siblingTempName(ports.fs, request.library, "part");
  bool written = !temp.empty() && ports.fs.writeNewFile(temp, *bytes).has_value();
  if (written && !ports.fs.rename(temp, request.library)) {
    (void)ports.fs.removeFile(temp);
    written = false;
  }
  if (!written) {
    reportFailures(ports, "changed", kFflTitle, {request.library});
    return outcome;
  }
  outcome.removedFflPositions = std::move(marked);
  outcome.done.push_back(request.library);
  return outcome;
}

// After files left the folder: File View re-reads it, Plugin View drops the rows whose file
// is gone.
void afterRemoval(ShellPorts& ports, const ShellRequest& request,
                  const std::vector<stdfs::path>& files, CommandOutcome& outcome) {
  if (request.active.view == PaneView::Plugin) {
    for (const auto& file : files)
      if (!ports.fs.exists(file)) outcome.removedItems.push_back(file);
    return;
  }
  outcome.active.refresh = true;
  // Decision: plugin files were removed, so a catalogue scanned earlier is out of date.
  outcome.active.catalogueStale = !outcome.done.empty();
}

}  // namespace

CommandOutcome cmd_DeleteFiles(ShellPorts& ports, const ShellRequest& request) {
  if (request.active.view == PaneView::Ffl) return markFflPlaceholders(ports, request);
  CommandOutcome outcome;
  auto files = uniqueFiles(request.selectedFiles);
  if (files.empty() || ports.trash == nullptr) return outcome;
  if (ports.prompter.ask(trashQuestion(files), kDeleteTitle, Buttons::YesNoDefaultNo,
                         Icon::Question) != Button::Yes)
    return outcome;
  for (const auto& file : files)
    (ports.trash->moveToTrash(file) ? outcome.done : outcome.failed).push_back(file);
  afterRemoval(ports, request, files, outcome);
  reportFailures(ports, "moved to the trash", kDeleteTitle, outcome.failed);
  return outcome;
}

CommandOutcome cmd_Kill(ShellPorts& ports, const ShellRequest& request) {
  CommandOutcome outcome;
  if (request.active.view == PaneView::Ffl) return outcome;
  auto files = uniqueFiles(request.selectedFiles);
  if (files.empty()) return outcome;
  if (ports.prompter.ask(killQuestion(files), kKillTitle, Buttons::YesNoDefaultNo,
                         Icon::Critical) != Button::Yes)
    return outcome;
  for (const auto& file : files) {
    if (ports.progress.cancelled()) {
      outcome.cancelled = true;
      break;
    }
    (ports.fs.removeFile(file) ? outcome.done : outcome.failed).push_back(file);
  }
  afterRemoval(ports, request, outcome.done, outcome);
  reportFailures(ports, "erased", kKillTitle, outcome.failed);
  return outcome;
}

}  // namespace qm::shell
