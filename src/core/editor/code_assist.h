#pragma once
// What the formula boxes offer while typing: completion of names, the partner of a bracket,
// a name's signature and meaning for tooltips, and where undo steps begin. Texts are the
// boxes' own (UTF-16, as shown), so offsets are the boxes' caret positions.

#include <array>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::editor {

struct CompletionItem {
  enum class Kind { Function, Variable, Constant, Slider };
  Kind kind = Kind::Variable;
  std::string label;      // "mix(a,b,n,d)", "ctl(0)"
  std::u16string insert;  // replaces the typed word: "mix(‹a›,‹b›,‹n›,‹d›)", "ctl(0)"
  std::string meaning;    // one line
};

// The names of the sliders and maps, offered as ready calls ("ctl(0)  Level").
struct SliderNames {
  std::array<std::string, 8> controls;
  std::array<std::string, 4> maps;
};

// Start of the name the caret is in or just after (caret itself when there is none).
std::size_t wordStart(std::u16string_view text, std::size_t caret);

// Every name that begins with prefix (case counts, as in formulas), functions and their
// ready slider and map calls first. An empty prefix lists the catalogue.
std::vector<CompletionItem> completions(std::string_view prefix, const SliderNames& sliders);

// Typing offers completion by itself once a name of two letters or more stands before the
// caret and something completes it.
inline constexpr std::size_t kAutoCompleteLetters = 2;
bool offersCompletion(std::u16string_view text, std::size_t caret, const SliderNames& sliders);

// The bracket at the caret (or just before it) and its partner; no partner when it is
// unmatched. Comments ("//" to the end of the line) are skipped.
struct BracketMatch {
  std::size_t at = 0;
  std::optional<std::size_t> partner;
};
std::optional<BracketMatch> matchBracket(std::u16string_view text, std::size_t caret);

// The name around offset, as a range; none over anything else.
struct NameRange {
  std::size_t start = 0;
  std::size_t length = 0;
};
std::optional<NameRange> nameAt(std::u16string_view text, std::size_t offset);

// "mix(a,b,n,d)\na and b mixed: ..." for a function, "x: column of this pixel" for a
// variable, the value of a constant; empty for an unknown name.
std::string nameTooltip(std::string_view name);

// Undo steps: typing after a pause, or starting a new word or a new line, begins a new step;
// the letters of one word typed in one go undo together.
inline constexpr std::chrono::milliseconds kTypingPause{1000};
bool startsUndoStep(char16_t previous, char16_t typed, std::chrono::milliseconds sincePrevious);

}  // namespace qm::editor
