#pragma once
// The list of every formula error under the editor's boxes: channel, place and message, one
// row each; choosing a row (click, Enter) goes to that error.

#include <QListWidget>
#include <vector>

#include "core/editor/formula_errors.h"

namespace qm::gui {

class ErrorList final : public QListWidget {
  Q_OBJECT
 public:
  explicit ErrorList(QWidget* parent = nullptr);

  void setErrors(const std::vector<editor::BoxError>& errors);
  // Marks row index as the error the caret is at (-1: none).
  void markCurrent(int index);

 signals:
  void errorChosen(int index);
};

}  // namespace qm::gui
