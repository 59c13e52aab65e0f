#pragma once
// How a pane's File View lists its files.

namespace qm::settings {

enum class FileViewMode { LargeIcons = 0, SmallIcons = 1, List = 2, Details = 3, Classic = 4 };

inline constexpr int kPaneCount = 2;

// A stored mode outside 0..4 is not a mode; the pane keeps its own.
inline bool isFileViewMode(long long value) {
  return value >= 0 && value <= 4;
}

}  // namespace qm::settings
