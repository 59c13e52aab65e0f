// Delete (to the trash, or FFL entries to placeholders) and Kill (erase for good).

#include <algorithm>

#include "core/common/byte_view.h"
#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/ff/ffl.h"
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
constexpr std::string_view kFflTitle = "Delete FFL Item";
constexpr std::string_view kKillTitle = "Kill";
constexpr std::size_t kEntriesNamed = 10;

// The question names the library and the entries (their filter names) that will go.
std::string fflQuestion(const stdfs::path& library, const std::string& bytes,
                        const std::vector<std::uint64_t>& positions) {
  std::vector<std::string> titles;
  if (auto index =
          ff::IndexFFL(ByteView(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())))
    for (const auto& entry : index->entries)
      if (std::find(positions.begin(), positions.end(), entry.position) != positions.end())
        titles.push_back(cp1252ToUtf8(entry.title));
  if (titles.size() == 1)
    return "Delete the entry \"" + titles.front() + "\" from " + displayPath(library) + "?";
  std::string text = "Delete these " + std::to_string(positions.size()) + " entries from " +
                     displayPath(library) + "?";
  for (std::size_t i = 0; i < titles.size() && i < kEntriesNamed; ++i) text += "\r\n" + titles[i];
  if (titles.size() > kEntriesNamed) text += "\r\n...";
  return text;
}

// The bytes "//" (12079 little-endian) over the first two bytes of each entry's first line.
// The whole library is rewritten through a temporary file, so it is never left half-marked.
CommandOutcome markFflPlaceholders(ShellPorts& ports, const ShellRequest& request) {
  CommandOutcome outcome;
  if (request.fflPositions.empty()) return outcome;
  auto bytes = ports.fs.readFile(request.library);
  if (!bytes) {
    addFailure(outcome, request.library, bytes.error().message());
    reportFailures(ports, "changed", kFflTitle, outcome);
    return outcome;
  }
  if (ports.prompter.ask(fflQuestion(request.library, *bytes, request.fflPositions), kFflTitle,
                         Buttons::YesNoDefaultNo, Icon::Question) != Button::Yes)
    return outcome;
  std::vector<std::uint64_t> marked;
  for (auto position : request.fflPositions) {
    // A position from the list could be stale: the file may have shrunk since.
    if (position > bytes->size() || bytes->size() - position < 2) continue;
    (*bytes)[position] = '/';
    (*bytes)[position + 1] = '/';
    marked.push_back(position);
  }
  auto temp = siblingTempName(ports.fs, request.library, "part");
  FsStatus written = temp.empty()
                         ? FsStatus(std::unexpected(std::make_error_code(std::errc::file_exists)))
                         : ports.fs.writeNewFile(temp, *bytes);
  if (written) {
    written = ports.fs.rename(temp, request.library);
    if (!written) (void)ports.fs.removeFile(temp);
  }
  if (!written) {
    addFailure(outcome, request.library, written.error().message());
    reportFailures(ports, "changed", kFflTitle, outcome);
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
  for (const auto& file : files) {
    if (auto moved = ports.trash->moveToTrash(file))
      outcome.done.push_back(file);
    else
      addFailure(outcome, file, moved.error().message());
  }
  afterRemoval(ports, request, files, outcome);
  reportFailures(ports, "moved to the trash", kDeleteTitle, outcome);
  return outcome;
}

CommandOutcome cmd_Kill(ShellPorts& ports, const ShellRequest& request) {
  CommandOutcome outcome;
  if (request.active.view == PaneView::Ffl) {
    ports.prompter.warn("Kill only works in File and Plugin View; Delete removes library entries.",
                        kKillTitle);
    return outcome;
  }
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
    if (auto removed = ports.fs.removeFile(file))
      outcome.done.push_back(file);
    else
      addFailure(outcome, file, removed.error().message());
  }
  afterRemoval(ports, request, outcome.done, outcome);
  reportFailures(ports, "erased", kKillTitle, outcome);
  return outcome;
}

}  // namespace qm::shell
