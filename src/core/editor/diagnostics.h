#pragma once
// Formula errors as the editor underlines them and `quillmark-cli check` prints them.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm::editor {

struct Diagnostic {
  int channel = 0;           // record order: 0 R, 1 G, 2 B, 3 A
  std::size_t position = 0;  // byte offset in the formula
  std::size_t length = 1;    // bytes to underline
  std::string message;
};

// The first error of each formula (record order R, G, B, A), none for a formula that parses.
std::vector<Diagnostic> checkFormulas(const std::array<std::string, 4>& formulas);

// The first error of one formula, if any (channel left 0).
std::vector<Diagnostic> checkFormula(std::string_view formula);

// "R", "G", "B" or "A".
std::string_view channelName(int channel);

// "R:5: unknown name 'foo'" (column 1-based).
std::string describe(const Diagnostic& diagnostic);

// An inserted argument placeholder ("‹a›", stored in Windows-1252) that starts at from: the
// position of its closing mark; npos when no whole placeholder starts there.
std::size_t placeholderEnd(std::string_view formula, std::size_t from);

}  // namespace qm::editor
