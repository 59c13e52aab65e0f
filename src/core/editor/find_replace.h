#pragma once
// Find and replace across the editor's formula boxes, in the order they are shown. Texts are
// the boxes' own (UTF-16), so offsets are caret positions.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::editor {

struct FindOptions {
  bool matchCase = false;
  bool wholeName = false;  // the match is a whole name or number, not part of one
};

struct FindMatch {
  int box = 0;  // index into the texts
  std::size_t start = 0;
  std::size_t length = 0;
  bool operator==(const FindMatch&) const = default;
};

// Every match of needle in the texts, box by box in order (the indices of the texts, as
// shown), left to right, not overlapping. Boxes not in order are not searched.
std::vector<FindMatch> findAll(const std::array<std::u16string, 4>& texts,
                               const std::vector<int>& order, std::u16string_view needle,
                               const FindOptions& options);

// Going forward, the first match that starts at or after (box, offset); going backward, the
// last one that starts before it. Wraps around the boxes; none when nothing matches.
std::optional<FindMatch> findNext(const std::array<std::u16string, 4>& texts,
                                  const std::vector<int>& order, std::u16string_view needle,
                                  const FindOptions& options, int box, std::size_t offset,
                                  bool forward);

}  // namespace qm::editor
