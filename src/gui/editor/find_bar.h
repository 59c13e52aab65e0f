#pragma once
// "Find and Replace" over the editor's formula boxes: a small tool window that searches the
// shown boxes in their order, wrapping around, and replaces one match or all of them (each
// box's replacements undo in one step).

#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/editor/find_replace.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace qm::gui {

class FormulaEdit;

class FindBar final : public QWidget {
  Q_OBJECT
 public:
  // The boxes shown, in their order, with their editor indices.
  using ShownBoxes = std::function<std::vector<std::pair<int, FormulaEdit*>>()>;
  // The box the search starts from (the one last used).
  using CurrentBox = std::function<FormulaEdit*()>;

  FindBar(ShownBoxes shown, CurrentBox current, QWidget* parent);

  // Shows the window with the selected text (when any) as what to find; replace: the
  // replacement field takes the focus.
  void open(bool replace);
  // F3 / Shift+F3; false when nothing matches.
  bool findNext(bool forward);
  // Replaces the selected match, then finds the next one.
  bool replaceOne();
  int replaceAll();

  QLineEdit* findField() const { return find_; }
  QLineEdit* replaceField() const { return replace_; }
  QCheckBox* matchCaseBox() const { return matchCase_; }
  QCheckBox* wholeNameBox() const { return wholeName_; }
  QLabel* statusLabel() const { return status_; }

 private:
  editor::FindOptions options() const;
  std::array<std::u16string, 4> texts(const std::vector<std::pair<int, FormulaEdit*>>& shown,
                                      std::vector<int>& order) const;
  FormulaEdit* boxAt(int index) const;

  ShownBoxes shown_;
  CurrentBox current_;
  FormulaEdit* last_ = nullptr;  // where the last match was selected
  QLineEdit* find_;
  QLineEdit* replace_;
  QCheckBox* matchCase_;
  QCheckBox* wholeName_;
  QLabel* status_;
};

}  // namespace qm::gui
