#pragma once
// A Prompter that answers the destination and overwrite questions with the Select Folder and
// Overwrite dialogs and passes every other question on to the window's own prompter.

#include "core/common/forwarding_prompter.h"
#include "gui/batch/overwrite_dialog.h"
#include "gui/batch/select_folder_dialog.h"

namespace qm::gui {

class BatchPrompter final : public ForwardingPrompter {
 public:
  // The dialogs belong to the window and outlive this prompter.
  BatchPrompter(Prompter& inner, SelectFolderDialog& selectFolder, OverwriteDialog& overwrite)
      : ForwardingPrompter(inner), selectFolder_(selectFolder), overwrite_(overwrite) {}

  std::optional<FolderChoice> chooseFolder(const FolderRequest& request) override {
    return selectFolder_.choose(request);
  }
  OverwriteAnswer overwrite(const OverwriteQuestion& question) override {
    return overwrite_.ask(question);
  }

 private:
  SelectFolderDialog& selectFolder_;
  OverwriteDialog& overwrite_;
};

}  // namespace qm::gui
