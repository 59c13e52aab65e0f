#include "gui/commands/category_prompter.h"

#include "core/plugins/change_category.h"

namespace qm::gui {

std::optional<std::string> CategoryPrompter::askText(std::string_view caption,
                                                     std::string_view preset) {
  if (caption != plugins::kChooseCategoryCaption) return inner().askText(caption, preset);
  auto answer = dialog_.ask(choices_);
  if (!answer) return std::nullopt;
  return answer->toStdString();
}

}  // namespace qm::gui
