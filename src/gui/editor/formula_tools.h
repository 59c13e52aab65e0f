#pragma once
// The code-editor side of the editor window's four formula boxes: every error checked, listed
// and underlined; F8 / Shift+F8 through them; find and replace (Ctrl+F, Ctrl+H, F3); the
// completion list (Ctrl+Space). The window places the error list and keeps the rest.

#include <QObject>
#include <array>
#include <functional>
#include <vector>

#include "core/editor/formula_errors.h"

class QWidget;

namespace qm::gui {

class ErrorList;
class FindBar;
class FormulaEdit;

class FormulaTools final : public QObject {
  Q_OBJECT
 public:
  // boxes: the editor's boxes (A, R, G, B); oneBox: whether the one-box mode shows only C
  // and A. The shortcuts work while window is active.
  FormulaTools(QWidget* window, const std::array<FormulaEdit*, 4>& boxes,
               std::function<bool()> oneBox);

  ErrorList* errorList() const { return errorList_; }
  FindBar* findBar() const { return findBar_; }
  // Checks the shown boxes again, underlines and lists what is wrong.
  void refresh();
  const std::vector<editor::BoxError>& errors() const { return errors_; }
  // Goes to the next (previous) error after the caret of the box last used; false: none.
  bool goToError(bool forward);
  void goToError(int index);
  // The box last focused, and the shown boxes in their order with their indices.
  FormulaEdit* lastBox() const;
  std::vector<std::pair<int, FormulaEdit*>> shownBoxes() const;

 private:
  std::array<FormulaEdit*, 4> boxes_;
  std::function<bool()> oneBox_;
  FormulaEdit* last_ = nullptr;
  ErrorList* errorList_;
  FindBar* findBar_;
  std::vector<editor::BoxError> errors_;
};

}  // namespace qm::gui
