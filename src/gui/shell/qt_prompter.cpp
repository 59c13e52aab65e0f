#include "gui/shell/qt_prompter.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace qm::gui {
namespace {

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon boxIcon(Icon icon) {
  switch (icon) {
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::Critical:
      return QMessageBox::Critical;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return QMessageBox::Ok;
    case Buttons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoDefaultNo:
      return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::AbortRetryIgnore:
      return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case Buttons::RetryCancel:
      return QMessageBox::Retry | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

Button pressed(int standardButton) {
  switch (standardButton) {
    case QMessageBox::Cancel:
      return Button::Cancel;
    case QMessageBox::Yes:
      return Button::Yes;
    case QMessageBox::No:
      return Button::No;
    case QMessageBox::Abort:
      return Button::Abort;
    case QMessageBox::Retry:
      return Button::Retry;
    case QMessageBox::Ignore:
      return Button::Ignore;
    default:
      return Button::Ok;
  }
}

}  // namespace

QString messageText(std::string_view text) {
  QString shown = qs(text);
  shown.replace("\r\n", "\n");
  shown.replace('\r', '\n');
  return shown;
}

void QtPrompter::inform(std::string_view text, std::string_view title) {
  ask(text, title, Buttons::Ok, Icon::Information);
}

void QtPrompter::warn(std::string_view text, std::string_view title) {
  ask(text, title, Buttons::Ok, Icon::Exclamation);
}

void QtPrompter::error(std::string_view text, std::string_view title) {
  ask(text, title, Buttons::Ok, Icon::Critical);
}

Button QtPrompter::ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) {
  QMessageBox box(boxIcon(icon), qs(title), messageText(text), boxButtons(buttons), parent_);
  box.setObjectName("qmMessageBox");
  if (buttons == Buttons::YesNoDefaultNo) box.setDefaultButton(QMessageBox::No);
  return pressed(box.exec());
}

std::optional<std::string> QtPrompter::askText(std::string_view caption, std::string_view preset) {
  return askText(caption, caption, preset);
}

std::optional<std::string> QtPrompter::askText(std::string_view title, std::string_view prompt,
                                               std::string_view preset) {
  QInputDialog dialog(parent_);
  dialog.setWindowTitle(qs(title));
  dialog.setLabelText(qs(prompt));
  dialog.setTextValue(qs(preset));
  // Wide enough for its title and a long name; the dialog's layout fixes its own size, so the
  // width goes to the text box.
  if (auto* edit = dialog.findChild<QLineEdit*>()) {
    edit->setMinimumWidth(360);
    // Renaming a file usually keeps its type: the name is selected without its extension, as
    // file managers do.
    const QString name = qs(preset);
    const qsizetype dot = name.lastIndexOf('.');
    if (title == "Rename File" && dot > 0)
      QTimer::singleShot(0, edit, [edit, dot] { edit->setSelection(0, static_cast<int>(dot)); });
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue().toStdString();
}

std::optional<FolderChoice> QtPrompter::chooseFolder(const FolderRequest& request) {
  QString folder = QFileDialog::getExistingDirectory(
      parent_, QString(), QString::fromStdString(request.presetFolder.string()));
  if (folder.isEmpty()) return std::nullopt;
  return FolderChoice{folder.toStdString(), false};
}

OverwriteAnswer QtPrompter::overwrite(const OverwriteQuestion& question) {
  QString text = qs(question.destinationLine);
  if (question.sourceLine) text += "\n\nWith:\n" + qs(*question.sourceLine);
  QMessageBox box(QMessageBox::Question, "Overwrite", text, QMessageBox::NoButton, parent_);
  auto* yes = box.addButton("&Overwrite", QMessageBox::YesRole);
  auto* no = box.addButton("&Ignore", QMessageBox::NoRole);
  auto* all = box.addButton("Overwrite &All", QMessageBox::YesRole);
  auto* none = box.addButton("Ignore A&ll", QMessageBox::NoRole);
  box.addButton(QMessageBox::Cancel);
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (clicked == yes) return OverwriteAnswer::Overwrite;
  if (clicked == no) return OverwriteAnswer::Ignore;
  if (clicked == all) return OverwriteAnswer::OverwriteAll;
  if (clicked == none) return OverwriteAnswer::IgnoreAll;
  return OverwriteAnswer::Cancel;
}

}  // namespace qm::gui
