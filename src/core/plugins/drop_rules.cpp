#include "core/plugins/drop_rules.h"

namespace qm::plugins {

DropAction decideDrop(int sourcePane, PaneView sourceView, int targetPane, DropList target) {
  if (sourceView == PaneView::Ffl) return DropAction::None;
  if (sourcePane == targetPane) {
    // Within a pane only a filter dragged onto its own category list does something.
    return sourceView == PaneView::Plugin && target == DropList::CategoryList
               ? DropAction::ChangeCategory
               : DropAction::None;
  }
  if (target == DropList::FileList || target == DropList::FolderList) return DropAction::MoveFiles;
  return sourceView == PaneView::File ? DropAction::MoveFiles : DropAction::None;
}

std::optional<int> categoryIndexAt(int topIndex, int pointerY, int itemHeight, int itemCount) {
  if (itemHeight <= 0 || pointerY < 0) return std::nullopt;
  int index = topIndex + pointerY / itemHeight;
  if (index < 0 || index >= itemCount) return std::nullopt;
  return index;
}

}  // namespace qm::plugins
