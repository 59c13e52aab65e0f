// Copy and Move: the selected files into a destination folder, asking before each file that
// would be written over.

#include "core/shell/command_helpers.h"
#include "core/shell/file_commands.h"
#include "core/shell/file_transfer.h"
#include "core/shell/messages.h"

namespace qm::shell {
namespace {

namespace stdfs = std::filesystem;

using batch::OverwriteDecision;

enum class Transfer { Copy, Move };

struct TransferTexts {
  std::string_view title;
  std::string_view wrongView;
  std::string_view verb;
};

constexpr TransferTexts kCopyTexts{"Copy", "Copy only work in File and Plugin View!", "copied"};
constexpr TransferTexts kMoveTexts{"Move", "Move only works in File and Plugin View!", "moved"};

// Decision: Move with nothing selected is refused like Copy instead of opening the folder
// dialog for nothing.
std::optional<stdfs::path> destinationFor(ShellPorts& ports, const ShellRequest& request,
                                          const TransferTexts& texts, Transfer kind,
                                          std::vector<stdfs::path>& files) {
  if (request.active.view == PaneView::Ffl) {
    ports.prompter.warn(texts.wrongView, texts.title);
    return std::nullopt;
  }
  files = uniqueFiles(request.selectedFiles);
  if (files.empty()) {
    ports.prompter.warn(kSelectFiles, kAttentionTitle);
    return std::nullopt;
  }
  FolderRequest folderRequest;
  if (kind == Transfer::Move && !request.dropTarget.empty()) {
    folderRequest.presetFolder = request.dropTarget;
    folderRequest.keepPassivePane = true;
  }
  auto destination = chooseDestination(ports, request, folderRequest);
  if (!destination) return std::nullopt;
  // Decision: "the same folder" is decided by the file system (links, "..", one inode), not
  // by lower-cased names: where case matters, two names that differ in case are two folders.
  if (ports.fs.same(request.active.folder, *destination)) {
    ports.prompter.warn(kIdenticalFolders, texts.title);
    return std::nullopt;
  }
  return destination;
}

// The loop both commands share; it fills the outcome's handled and failed files.
void transferFiles(ShellPorts& ports, const ShellRequest& request, Transfer kind,
                   const std::vector<stdfs::path>& files, CommandOutcome& outcome) {
  int index = 0;
  for (const auto& file : files) {
    // Decision: Escape stops Move between files too, not only Copy.
    if (ports.progress.cancelled()) {
      outcome.cancelled = true;
      break;
    }
    auto target = outcome.destination / file.filename();
    // A Plugin View row found in a sub folder may already be the target itself: nothing to do
    // and nothing to ask.
    if (ports.fs.same(file, target)) continue;
    auto decision = ports.overwrite(file, target);
    if (decision == OverwriteDecision::Cancel) {
      outcome.cancelled = true;
      break;
    }
    if (decision == OverwriteDecision::Skip) {
      if (kind == Transfer::Move && request.active.view == PaneView::Plugin)
        outcome.deselectedItems.push_back(file);
      continue;
    }
    // Decision: a Move over an existing file renames over it in one step instead of deleting
    // the old file first, so a failed move never loses the file that was there.
    auto result = kind == Transfer::Copy ? copyReplacing(ports.fs, file, target)
                                         : moveReplacing(ports.fs, file, target);
    if (result)
      outcome.done.push_back(file);
    else
      addFailure(outcome, file, result.error().message());
    ports.progress.percent(static_cast<int>(++index * 100 / files.size()));
  }
  ports.overwrite({}, {});
}

}  // namespace

CommandOutcome cmd_CopyFiles(ShellPorts& ports, const ShellRequest& request) {
  CommandOutcome outcome;
  std::vector<stdfs::path> files;
  auto destination = destinationFor(ports, request, kCopyTexts, Transfer::Copy, files);
  if (!destination) return outcome;
  outcome.destination = *destination;
  transferFiles(ports, request, Transfer::Copy, files, outcome);

  // The destination is the passive pane: Select Folder made it so, or the option did.
  outcome.passive.catalogueStale = true;
  if (!outcome.done.empty()) {
    outcome.passive.refresh = true;
    outcome.passive.rebuildPluginList = request.passive.view == PaneView::Plugin;
  }
  reportFailures(ports, kCopyTexts.verb, kCopyTexts.title, outcome);
  return outcome;
}

CommandOutcome cmd_MoveFiles(ShellPorts& ports, const ShellRequest& request) {
  CommandOutcome outcome;
  std::vector<stdfs::path> files;
  auto destination = destinationFor(ports, request, kMoveTexts, Transfer::Move, files);
  if (!destination) return outcome;
  outcome.destination = *destination;
  transferFiles(ports, request, Transfer::Move, files, outcome);

  if (request.active.view == PaneView::Plugin) {
    outcome.removedItems = outcome.done;
  } else {
    outcome.active.refresh = true;
    outcome.passive.refresh = true;
  }
  outcome.active.rebuildPluginList = request.active.view == PaneView::Plugin;
  outcome.passive.rebuildPluginList = request.passive.view == PaneView::Plugin;
  // Decision: files left one folder and arrived in another, so neither pane's catalogue
  // still describes its folder.
  if (!outcome.done.empty()) {
    outcome.active.catalogueStale = true;
    outcome.passive.catalogueStale = true;
  }
  reportFailures(ports, kMoveTexts.verb, kMoveTexts.title, outcome);
  return outcome;
}

}  // namespace qm::shell
