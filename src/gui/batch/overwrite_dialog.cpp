#include "gui/batch/overwrite_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/shell/elided_label.h"

namespace qm::gui {
namespace {

QString utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct AnswerButton {
  const char* caption;
  const char* objectName;
  OverwriteAnswer answer;
};

constexpr AnswerButton kButtons[] = {
    {"Overwrite", "overwriteButton", OverwriteAnswer::Overwrite},
    {"Ignore", "ignoreButton", OverwriteAnswer::Ignore},
    {"Overwrite All", "overwriteAllButton", OverwriteAnswer::OverwriteAll},
    {"Ignore All", "ignoreAllButton", OverwriteAnswer::IgnoreAll},
    {"Cancel", "cancelButton", OverwriteAnswer::Cancel},
};

// One line whatever the path: the dialog keeps its size and its buttons their place from one
// file to the next.
QLabel* pathLabel(QWidget* parent, const char* objectName) {
  auto* label = new ElidedLabel(parent);
  label->setObjectName(objectName);
  QSizePolicy keepRoom = label->sizePolicy();
  keepRoom.setRetainSizeWhenHidden(true);
  label->setSizePolicy(keepRoom);
  return label;
}

}  // namespace

OverwriteDialog::OverwriteDialog(QWidget* parent)
    : QDialog(parent),
      destination_(pathLabel(this, "destinationLine")),
      with_(new QLabel("With:", this)),
      source_(pathLabel(this, "sourceLine")) {
  setWindowTitle("Overwrite?");
  setObjectName("Overwrite");
  with_->setObjectName("withLabel");
  QSizePolicy keepRoom = with_->sizePolicy();
  keepRoom.setRetainSizeWhenHidden(true);
  with_->setSizePolicy(keepRoom);

  auto* buttons = new QHBoxLayout;
  for (const auto& entry : kButtons) {
    auto* button = new QPushButton(entry.caption, this);
    button->setObjectName(entry.objectName);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this,
            [this, answer = entry.answer] { answerWith(answer); });
    buttons->addWidget(button);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(destination_);
  layout->addWidget(with_);
  layout->addWidget(source_);
  layout->addLayout(buttons);
  setMinimumWidth(fontMetrics().averageCharWidth() * 80);
}

void OverwriteDialog::setQuestion(const OverwriteQuestion& question) {
  answer_ = OverwriteAnswer::Cancel;
  destination_->setText(utf8(question.destinationLine));
  bool hasSource = question.sourceLine.has_value();
  source_->setText(hasSource ? utf8(*question.sourceLine) : QString());
  with_->setVisible(hasSource);
  source_->setVisible(hasSource);
}

OverwriteAnswer OverwriteDialog::ask(const OverwriteQuestion& question) {
  setQuestion(question);
  // Where it was last: the buttons stay under the pointer from one file to the next.
  if (place_) move(*place_);
  exec();
  place_ = pos();
  return answer_;
}

void OverwriteDialog::answerWith(OverwriteAnswer answer) {
  answer_ = answer;
  if (answer == OverwriteAnswer::Cancel)
    reject();
  else
    accept();
}

}  // namespace qm::gui
