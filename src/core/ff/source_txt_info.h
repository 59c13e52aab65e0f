#pragma once
// The plugin-information text dialect of .txt sources (read only).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/byte_view.h"
#include "core/common/ports.h"
#include "core/ff/record.h"

namespace qm::ff {

inline constexpr std::string_view kPluginInformationHeader = "Filter Factory Plugin Information:";

bool isPluginInformationText(const std::vector<std::string>& lines);

// Fills rec from the lines (the header line included). shownName is the text file's own name
// as the user sees it (UTF-8), used in the "Format Violation" message. Does not optimise the
// formulas.
bool readPluginInformationText(const std::vector<std::string>& lines, std::string_view shownName,
                               std::optional<ByteView> companionAfs, FFRecord& rec,
                               Prompter* prompter);

}  // namespace qm::ff
