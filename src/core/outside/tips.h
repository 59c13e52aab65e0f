#pragma once
// The tips of the Tip of the Day window: one tip a line of the tip file.

#include <string>
#include <string_view>
#include <vector>

namespace qm::outside {

inline constexpr std::string_view kTipFileName = "TipOfDay.txt";
inline constexpr std::string_view kTipFileMissing = "The Tip file was not found. ";

// Every non-empty line, without its line end.
std::vector<std::string> parseTips(std::string_view text);
// Any number picks a tip; the same number always the same one. 0 when there is none.
int tipIndex(long long pick, int count);
// The tip after current, the first again after the last.
int nextTipIndex(int current, int count);
// "3/12": the tip's number counted from 1, "/", the number of tips.
std::string tipCounter(int current, int count);

}  // namespace qm::outside
