#pragma once
// The file-type box of each pane: six fixed entries and the patterns they stand for.

#include <array>
#include <string>
#include <string_view>
#include <vector>

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

// "*.8bf;*.prm" -> {"*.8bf", "*.prm"}; blanks around the parts are dropped.
std::vector<std::string> splitPattern(std::string_view pattern);

// Case-insensitive match of a file name against one "*"/"?" wildcard part.
bool wildcardMatch(std::string_view part, std::string_view name);
bool matchesPattern(std::string_view pattern, std::string_view name);

// The folder caption: the path with a trailing separator (none added to a root).
std::string folderCaption(std::string_view path);

}  // namespace qm::settings
