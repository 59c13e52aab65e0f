#include "gui/editor/formula_tools.h"

#include <QShortcut>

#include "core/editor/preview_formulas.h"
#include "gui/editor/error_list.h"
#include "gui/editor/find_bar.h"
#include "gui/editor/formula_edit.h"

namespace qm::gui {

FormulaTools::FormulaTools(QWidget* window, const std::array<FormulaEdit*, 4>& boxes,
                           std::function<bool()> oneBox)
    : QObject(window),
      boxes_(boxes),
      oneBox_(std::move(oneBox)),
      last_(boxes[editor::kBoxRed]),
      errorList_(new ErrorList(window)),
      findBar_(new FindBar([this] { return shownBoxes(); }, [this] { return lastBox(); }, window)) {
  for (FormulaEdit* box : boxes_)
    connect(box, &FormulaEdit::focused, this, [this](FormulaEdit* b) { last_ = b; });
  connect(errorList_, &ErrorList::errorChosen, this, [this](int k) { goToError(k); });
  auto shortcut = [window](QKeySequence keys, auto slot) {
    auto* s = new QShortcut(keys, window);
    s->setContext(Qt::WindowShortcut);
    connect(s, &QShortcut::activated, window, slot);
  };
  shortcut(QKeySequence::Find, [this] { findBar_->open(false); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_H), [this] { findBar_->open(true); });
  shortcut(QKeySequence(Qt::Key_F3), [this] { findBar_->findNext(true); });
  shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { findBar_->findNext(false); });
  shortcut(QKeySequence(Qt::Key_F8), [this] { goToError(true); });
  shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8), [this] { goToError(false); });
}

FormulaEdit* FormulaTools::lastBox() const {
  return last_ && last_->isVisibleTo(last_->parentWidget()) ? last_ : boxes_[editor::kBoxRed];
}

std::vector<std::pair<int, FormulaEdit*>> FormulaTools::shownBoxes() const {
  std::vector<std::pair<int, FormulaEdit*>> shown;
  for (int box : {editor::kBoxRed, editor::kBoxGreen, editor::kBoxBlue, editor::kBoxAlpha})
    if (!(oneBox_() && (box == editor::kBoxGreen || box == editor::kBoxBlue)))
      shown.emplace_back(box, boxes_[box]);
  return shown;
}

void FormulaTools::refresh() {
  std::array<std::string, 4> formulas;
  for (int b = 0; b < 4; ++b) formulas[b] = boxes_[b]->formula();
  errors_ = editor::listBoxErrors(formulas, oneBox_());
  for (int b = 0; b < 4; ++b) {
    std::vector<editor::Diagnostic> own;
    for (const auto& e : errors_)
      if (e.box == b) own.push_back(e.diagnostic);
    boxes_[b]->showDiagnostics(own);
  }
  errorList_->setErrors(errors_);
}

bool FormulaTools::goToError(bool forward) {
  FormulaEdit* box = lastBox();
  int index = 0;
  for (int b = 0; b < 4; ++b)
    if (boxes_[b] == box) index = b;
  // The caret's place in the stored formula: the box counts a line break once, CR LF twice.
  const int at = box->textCursor().selectionStart();
  const std::string formula = box->formula();
  std::size_t stored = 0;
  for (int shown = 0; stored < formula.size() && shown < at; ++stored)
    if (!(formula[stored] == '\r' && stored + 1 < formula.size() && formula[stored + 1] == '\n'))
      ++shown;
  const int k = editor::nextErrorIndex(errors_, index, stored, forward);
  if (k < 0) return false;
  goToError(k);
  return true;
}

void FormulaTools::goToError(int index) {
  if (index < 0 || index >= static_cast<int>(errors_.size())) return;
  const auto& e = errors_[static_cast<std::size_t>(index)];
  boxes_[e.box]->selectStored(e.diagnostic.position, e.diagnostic.length);
  last_ = boxes_[e.box];
  errorList_->markCurrent(index);
}

}  // namespace qm::gui
