#pragma once
// Every error of a formula, not only the first, and the editor's list of them across its boxes
// with channel, line and column, in the order F8 walks them.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/editor/diagnostics.h"

namespace qm::editor {

// Each error the formula shows: the names, characters, calls and brackets that are wrong
// anywhere in it, and every misplaced operator, missing operand or ":" (reading on after
// each). Ordered by position; positions are offsets in formula (the record's bytes). Empty
// exactly when the formula parses.
std::vector<Diagnostic> listErrors(std::string_view formula);

// 1-based line and column of an offset; CR LF, LF and a lone CR each end a line.
struct TextPlace {
  int line = 1;
  int column = 1;
};
TextPlace placeOf(std::string_view text, std::size_t position);

// One row of the editor's error list.
struct BoxError {
  int box = 0;            // editor box: 0 alpha, 1 red (or C), 2 green, 3 blue
  std::string channel;    // "A", "R", "G", "B", or "C" in one-box mode
  Diagnostic diagnostic;  // position in the box's formula
  TextPlace place;
  bool multiLine = false;  // the formula has line breaks: its place names the line
};

// The errors of the boxes the user sees, in the order they are shown (R or C, G, B, A).
// boxes: the editor's formulas (A, R, G, B), as the record stores them.
std::vector<BoxError> listBoxErrors(const std::array<std::string, 4>& boxes, bool oneBox);

// "C  column 5: unknown name 'foo'"
std::string errorListText(const BoxError& error);

// The window caption for an error: "C= column 5: unknown name 'foo'".
std::string errorCaption(const BoxError& error);

// Where F8 (forward) or Shift+F8 goes from the caret: the index into errors of the first error
// after (box, offset) in list order, wrapping around; -1 when there are none. offset counts in
// the same units as the errors' positions.
int nextErrorIndex(const std::vector<BoxError>& errors, int box, std::size_t offset, bool forward);

}  // namespace qm::editor
