#include "core/outside/tips.h"

namespace qm::outside {

std::vector<std::string> parseTips(std::string_view text) {
  std::vector<std::string> tips;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    start = end == std::string_view::npos ? text.size() : end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!line.empty()) tips.emplace_back(line);
  }
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
