// The editor's error list and typing aids over any formula text: every error lies inside the
// text, a formula lists no error exactly when it parses (its shape check included), and the
// bracket, name and completion helpers stay inside the text.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/editor/code_assist.h"
#include "core/editor/formula_errors.h"
#include "core/editor/shape_check.h"
#include "core/formula/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto errors = qm::editor::listErrors(text);
  for (const auto& e : errors)
    if (e.position > text.size() || e.length == 0 || e.message.empty()) std::abort();
  const bool parses = qm::formula::parseFormula(text).has_value();
  if (errors.empty() != parses) std::abort();
  for (std::size_t k = 1; k < errors.size(); ++k)
    if (errors[k].position < errors[k - 1].position) std::abort();
  // The shape check reads the language as the parser does: nothing wrong in what it accepts.
  const auto shape = qm::editor::listShapeErrors(text);
  if (parses && !shape.empty()) std::abort();
  for (const auto& e : shape)
    if (e.position > text.size() || e.length == 0) std::abort();

  const std::u16string wide(text.begin(), text.end());
  for (std::size_t caret : {std::size_t{0}, size / 2, size}) {
    if (auto match = qm::editor::matchBracket(wide, caret))
      if (match->at >= wide.size() || (match->partner && *match->partner >= wide.size()))
        std::abort();
    if (auto name = qm::editor::nameAt(wide, caret))
      if (name->start + name->length > wide.size() || name->length == 0) std::abort();
    if (qm::editor::wordStart(wide, caret) > caret) std::abort();
    qm::editor::offersCompletion(wide, caret, {});
  }
  return 0;
}
