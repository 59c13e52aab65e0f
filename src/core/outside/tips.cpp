#include "core/outside/tips.h"

#include "core/common/text_lines.h"

namespace qm::outside {

std::vector<std::string> parseTips(std::string_view text) {
  std::vector<std::string> tips;
  for (std::string_view line : textLines(text))
    if (!line.empty()) tips.emplace_back(line);
  return tips;
}

int tipIndex(long long pick, int count) {
  if (count <= 0) return 0;
  long long index = pick % count;
  return static_cast<int>(index < 0 ? index + count : index);
}

int nextTipIndex(int current, int count) {
  return count <= 0 ? 0 : tipIndex(static_cast<long long>(current) + 1, count);
}

std::string tipCounter(int current, int count) {
  return std::to_string(current + 1) + "/" + std::to_string(count);
}

}  // namespace qm::outside
