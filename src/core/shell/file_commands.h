#pragma once
// The file and folder commands of the "&Commands" and "&Folders" menus. Each takes the
// selection of the active pane, talks to the user only through the Prompter, polls Progress
// between items, and returns what the main window must refresh. A failure leaves each file
// either fully handled or untouched; the command goes on with the next one and reports.

#include "core/batch/overwrite_check.h"
#include "core/common/ports.h"
#include "core/shell/fs.h"
#include "core/shell/pane.h"
#include "core/shell/trash.h"

namespace qm::shell {

struct ShellPorts {
  Prompter& prompter;
  Progress& progress;
  Fs& fs;
  batch::OverwriteCheck& overwrite;  // the main window's, with its shared mode
  Trash* trash = nullptr;            // needed by Delete only
};

CommandOutcome cmd_CopyFiles(ShellPorts& ports, const ShellRequest& request);
// request.dropTarget, when set, is preset in the Select Folder dialog, which then leaves the
// passive pane as it is.
CommandOutcome cmd_MoveFiles(ShellPorts& ports, const ShellRequest& request);
// File and Plugin View: to the trash. FFL View: turns the selected entries of
// request.library into placeholders.
CommandOutcome cmd_DeleteFiles(ShellPorts& ports, const ShellRequest& request);
CommandOutcome cmd_Kill(ShellPorts& ports, const ShellRequest& request);

CommandOutcome cmd_RenameFiles(ShellPorts& ports, const ShellRequest& request);
CommandOutcome cmd_RenameFolder(ShellPorts& ports, const ShellRequest& request);
CommandOutcome cmd_MakeDir(ShellPorts& ports, const ShellRequest& request);
CommandOutcome cmd_MoveDir(ShellPorts& ports, const ShellRequest& request);
CommandOutcome cmd_KillDir(ShellPorts& ports, const ShellRequest& request);

}  // namespace qm::shell
