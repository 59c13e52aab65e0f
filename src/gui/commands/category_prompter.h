#pragma once
// Change Category's prompter: the engine's category question is answered by the Change
// Category dialog, filled with the pane's choices.

#include <QStringList>

#include "core/common/forwarding_prompter.h"
#include "gui/commands/change_category_dialog.h"

namespace qm::gui {

class CategoryPrompter final : public ForwardingPrompter {
 public:
  // choices are the combo box's entries.
  CategoryPrompter(Prompter& inner, ChangeCategoryDialog& dialog, QStringList choices)
      : ForwardingPrompter(inner), dialog_(dialog), choices_(std::move(choices)) {}

  std::optional<std::string> askText(std::string_view caption, std::string_view preset) override;

 private:
  ChangeCategoryDialog& dialog_;
  QStringList choices_;
};

}  // namespace qm::gui
