#pragma once
// A Prompter that answers the destination and overwrite questions with the Select Folder and
// Overwrite dialogs and passes every other question on to the window's own prompter.

#include "core/common/ports.h"
#include "gui/batch/overwrite_dialog.h"
#include "gui/batch/select_folder_dialog.h"

namespace qm::gui {

class BatchPrompter final : public Prompter {
 public:
  // The dialogs belong to the window and outlive this prompter.
  BatchPrompter(Prompter& inner, SelectFolderDialog& selectFolder, OverwriteDialog& overwrite)
      : inner_(inner), selectFolder_(selectFolder), overwrite_(overwrite) {}

  void inform(std::string_view text, std::string_view title) override {
    inner_.inform(text, title);
  }
  void warn(std::string_view text, std::string_view title) override { inner_.warn(text, title); }
  void error(std::string_view text, std::string_view title) override { inner_.error(text, title); }
  Button ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) override {
    return inner_.ask(text, title, buttons, icon);
  }
  std::optional<std::string> askText(std::string_view caption, std::string_view preset) override {
    return inner_.askText(caption, preset);
  }
  std::optional<FolderChoice> chooseFolder(const FolderRequest& request) override {
    return selectFolder_.choose(request);
  }
  OverwriteAnswer overwrite(const OverwriteQuestion& question) override {
    return overwrite_.ask(question);
  }

 private:
  Prompter& inner_;
  SelectFolderDialog& selectFolder_;
  OverwriteDialog& overwrite_;
};

}  // namespace qm::gui
