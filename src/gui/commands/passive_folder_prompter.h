#pragma once
// With "Suppress the Select Folder dialog" the destination question of a conversion run is
// answered with the passive pane's folder, and no dialog shows.

#include <filesystem>

#include "core/common/forwarding_prompter.h"

namespace qm::gui {

class PassiveFolderPrompter final : public ForwardingPrompter {
 public:
  PassiveFolderPrompter(Prompter& inner, std::filesystem::path passiveFolder)
      : ForwardingPrompter(inner), passiveFolder_(std::move(passiveFolder)) {}

  std::optional<FolderChoice> chooseFolder(const FolderRequest&) override {
    return FolderChoice{passiveFolder_, false};
  }

 private:
  std::filesystem::path passiveFolder_;
};

}  // namespace qm::gui
