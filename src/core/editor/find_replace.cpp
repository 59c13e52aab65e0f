#include "core/editor/find_replace.h"

#include <algorithm>

namespace qm::editor {
namespace {

char16_t folded(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool isNameChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

bool matchesAt(std::u16string_view text, std::size_t at, std::u16string_view needle,
               const FindOptions& options) {
  if (at + needle.size() > text.size()) return false;
  for (std::size_t k = 0; k < needle.size(); ++k) {
    const char16_t a = text[at + k], b = needle[k];
    if (options.matchCase ? a != b : folded(a) != folded(b)) return false;
  }
  if (!options.wholeName) return true;
  const std::size_t end = at + needle.size();
  return (at == 0 || !isNameChar(text[at - 1])) && (end == text.size() || !isNameChar(text[end]));
}

std::vector<std::size_t> matchesIn(std::u16string_view text, std::u16string_view needle,
                                   const FindOptions& options) {
  std::vector<std::size_t> found;
  if (needle.empty()) return found;
  for (std::size_t at = 0; at + needle.size() <= text.size();) {
    if (matchesAt(text, at, needle, options)) {
      found.push_back(at);
      at += needle.size();
    } else {
      ++at;
    }
  }
  return found;
}

int rankOf(const std::vector<int>& order, int box) {
  const auto it = std::ranges::find(order, box);
  return it == order.end() ? -1 : static_cast<int>(it - order.begin());
}

}  // namespace

std::vector<FindMatch> findAll(const std::array<std::u16string, 4>& texts,
                               const std::vector<int>& order, std::u16string_view needle,
                               const FindOptions& options) {
  std::vector<FindMatch> all;
  for (int box : order) {
    if (box < 0 || box >= 4) continue;
    for (std::size_t at : matchesIn(texts[box], needle, options))
      all.push_back({box, at, needle.size()});
  }
  return all;
}

std::optional<FindMatch> findNext(const std::array<std::u16string, 4>& texts,
                                  const std::vector<int>& order, std::u16string_view needle,
                                  const FindOptions& options, int box, std::size_t offset,
                                  bool forward) {
  const auto all = findAll(texts, order, needle, options);
  if (all.empty()) return std::nullopt;
  const auto here = std::pair(rankOf(order, box), offset);
  auto key = [&](const FindMatch& m) { return std::pair(rankOf(order, m.box), m.start); };
  if (forward) {
    for (const auto& m : all)
      if (key(m) >= here) return m;
    return all.front();
  }
  for (auto it = all.rbegin(); it != all.rend(); ++it)
    if (key(*it) < here) return *it;
  return all.back();
}

}  // namespace qm::editor
