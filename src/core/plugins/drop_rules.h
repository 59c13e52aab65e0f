#pragma once
// What a drop onto a pane's lists does; the view carries it out.

#include <optional>

namespace qm::plugins {

enum class PaneView { File = 1, Plugin = 2, Ffl = 3 };
enum class DropList { CategoryList, FilterList, FileList, FolderList };

enum class DropAction {
  None,
  ChangeCategory,  // select the category under the pointer and run Change Category
  MoveFiles,       // cmd_MoveFiles into the target pane's folder
};

DropAction decideDrop(int sourcePane, PaneView sourceView, int targetPane, DropList target);

// Index of the category list item under the pointer: top index + y / item height, when it
// is below the item count.
std::optional<int> categoryIndexAt(int topIndex, int pointerY, int itemHeight, int itemCount);

}  // namespace qm::plugins
