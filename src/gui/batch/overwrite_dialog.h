#pragma once
// "Overwrite?": the destination file and, when the caller has one, the file that would replace
// it, each with its size and date; five answers. The texts come from the overwrite decision.

#include <QDialog>
#include <QPoint>
#include <optional>

#include "core/common/ports.h"

class QLabel;

namespace qm::gui {

class OverwriteDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit OverwriteDialog(QWidget* parent = nullptr);

  // Fills the lines; "With:" and the source line show only when the question has a source.
  void setQuestion(const OverwriteQuestion& question);
  // The answer of the last showing; closing the window counts as "Cancel".
  OverwriteAnswer answer() const { return answer_; }
  // Shows the dialog modally and returns the pressed button's code.
  OverwriteAnswer ask(const OverwriteQuestion& question);

 private:
  void answerWith(OverwriteAnswer answer);

  QLabel* destination_;
  QLabel* with_;
  QLabel* source_;
  OverwriteAnswer answer_ = OverwriteAnswer::Cancel;
  std::optional<QPoint> place_;
};

}  // namespace qm::gui
