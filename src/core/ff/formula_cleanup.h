#pragma once
// Formula clean-up, shortening and the Premiere-to-Photoshop dialect translation.

#include <string>
#include <string_view>

#include "core/ff/record.h"

namespace qm::ff {

// Cleans and shortens the record's four formulas in place; noOptimize is the
// "No FF Code Optimization" option.
void OptimizeCode(FFRecord& rec, bool noOptimize);
// Translates one formula from the Premiere to the Photoshop dialect.
std::string Correctprmcode(std::string_view formula);
// The text up to the first delimiter at parenthesis depth 0, or the whole text.
std::string GetUntill(std::string_view text, char delimiter);

}  // namespace qm::ff
