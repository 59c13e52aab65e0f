#pragma once
// The file-type box of each pane: six fixed entries and the patterns they stand for.

#include <array>
#include <string>
#include <string_view>

#include "core/settings/window_state.h"

namespace qm::settings {

inline constexpr std::string_view kPatternBoxTooltip = "Select or enter the displayed file types";

struct PatternEntry {
  std::string_view caption;
  std::string_view pattern;  // empty for "Defined Plugins": built from the type table
};

const std::array<PatternEntry, 6>& patternEntries();

inline constexpr int kDefinedPluginsEntry = 3;

// The pattern in force for a choice. typeTablePattern is the type table's own pattern
// (";*?api;*.p;*_p;..."); "Defined Plugins" lists exactly those extensions, so it is that
// text without its leading ";".
std::string patternFor(const PatternChoice& choice, std::string_view typeTablePattern);

// The folder caption: the path with a trailing separator (none added to a root).
std::string folderCaption(std::string_view path);

}  // namespace qm::settings
