// Move Folder and Kill Folder(s).

#include "core/common/unicode_text.h"
#include "core/shell/command_helpers.h"
#include "core/shell/delete_tree.h"
#include "core/shell/file_commands.h"
#include "core/shell/messages.h"

namespace qm::shell {
namespace {

namespace stdfs = std::filesystem;

constexpr std::string_view kMoveFolderTitle = "Move Folder";
constexpr std::string_view kOtherDrive =
    "Move Folder works only within the same drive.\r\nPlease use the Copy command.";
constexpr std::string_view kKillFoldersTitle = "Kill Folders";

// Links resolved where the path exists, so a link into the folder counts as inside it.
stdfs::path resolved(const stdfs::path& p) {
  std::error_code ec;
  auto real = stdfs::weakly_canonical(p, ec);
  return ec ? p : real;
}

}  // namespace

CommandOutcome cmd_MoveDir(ShellPorts& ports, const ShellRequest& request) {
  CommandOutcome outcome;
  auto& prompter = ports.prompter;
  if (request.active.view != PaneView::File) {
    prompter.warn("Move Folder only works in File View!", kMoveFolderTitle);
    return outcome;
  }
  if (request.selectedFolders.empty()) {
    prompter.warn("No Source Folder selected.", kMoveFolderTitle);
    return outcome;
  }
  if (ports.fs.same(request.active.folder, request.passive.folder)) {
    prompter.warn("The source folder is identical to the destination folder.", kMoveFolderTitle);
    return outcome;
  }
  auto source = withoutTrailingSeparator(request.selectedFolders.front());
  auto destination = request.passive.folder / source.filename();
  if (isWithin(resolved(request.passive.folder), resolved(source))) {
    prompter.warn(kMoveIntoItself, kMoveFolderTitle);
    return outcome;
  }
  // The drive letters; file systems without them are told apart when the rename refuses.
  if (source.root_name() != destination.root_name()) {
    prompter.warn(kOtherDrive, kMoveFolderTitle);
    return outcome;
  }
  // Decision: the question carries the title of the command's other messages.
  auto question = "Move  " + displayPath(source) + "  to  " + displayPath(destination) + "  ?";
  if (prompter.ask(question, kMoveFolderTitle, Buttons::YesNoDefaultNo, Icon::Question) !=
      Button::Yes)
    return outcome;

  // rename() would silently replace an empty folder of that name; never do that.
  auto moved = ports.fs.exists(destination)
                   ? FsStatus(std::unexpected(std::make_error_code(std::errc::file_exists)))
                   : ports.fs.rename(source, destination);
  if (!moved && moved.error() == std::errc::cross_device_link) {
    prompter.warn(kOtherDrive, kMoveFolderTitle);
    return outcome;
  }
  if (moved)
    outcome.done.push_back(source);
  else
    addFailure(outcome, source, moved.error().message());
  if (moved) {
    outcome.destination = destination;
    followMovedFolder(outcome.active, request.active, source, source.parent_path(), false);
    followMovedFolder(outcome.passive, request.passive, source, source.parent_path(), false);
  }
  outcome.active.refresh = true;
  outcome.passive.refresh = true;
  reportFailures(ports, "moved", kMoveFolderTitle, outcome);
  return outcome;
}

CommandOutcome cmd_KillDir(ShellPorts& ports, const ShellRequest& request) {
  CommandOutcome outcome;
  auto& prompter = ports.prompter;
  if (request.active.view != PaneView::File) {
    prompter.warn("Kill Folder only works in File View.", kKillFoldersTitle);
    return outcome;
  }
  if (request.selectedFolders.empty()) return outcome;
  if (prompter.ask(killFoldersQuestion(request.selectedFolders), kKillFoldersTitle,
                   Buttons::YesNoDefaultNo, Icon::Critical) != Button::Yes)
    return outcome;

  for (const auto& selected : request.selectedFolders) {
    auto folder = withoutTrailingSeparator(selected);
    // A pane must not keep showing a folder that is about to go. Decision: the process's
    // working directory is left alone; nothing in the program depends on it.
    followMovedFolder(outcome.active, request.active, folder, folder.parent_path(), false);
    followMovedFolder(outcome.passive, request.passive, folder, folder.parent_path(), false);
    auto result = DeleteTree(ports.fs, folder);
    if (result.removed) outcome.done.push_back(folder);
    // What stayed is named with the system's reason: the files, then the folders holding them.
    for (auto& item : result.failed) addFailure(outcome, item.path, std::move(item.reason));
    if (!result.removed && result.failed.empty())
      addFailure(outcome, folder, "the folder could not be removed");
  }
  outcome.active.refresh = true;
  reportFailures(ports, "deleted", kKillFoldersTitle, outcome);
  return outcome;
}

}  // namespace qm::shell
