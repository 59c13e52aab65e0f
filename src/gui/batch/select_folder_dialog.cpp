#include "gui/batch/select_folder_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/shell/messages.h"
#include "core/shell/select_folder_rules.h"

namespace qm::gui {
namespace {

constexpr const char* kTitle = "Select Folder";

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

QString defaultBrowse(QWidget* parent, const QString& prompt, const QString& start) {
  return QFileDialog::getExistingDirectory(parent, prompt, start);
}

}  // namespace

SelectFolderDialog::SelectFolderDialog(SelectFolderHost& host, Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      host_(host),
      prompter_(prompter),
      browser_(defaultBrowse),
      folders_(new QComboBox(this)),
      subFolders_(new QCheckBox("Automatically create sub folder(s)", this)) {
  setWindowTitle(kTitle);
  setObjectName("SelectFolder");
  folders_->setObjectName("Combo1");
  folders_->setEditable(true);
  folders_->setInsertPolicy(QComboBox::NoInsert);
  folders_->setMinimumContentsLength(40);
  // Long folders are cut in the list, not widening the dialog: the buttons stay where they are
  // from one question to the next.
  folders_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  subFolders_->setObjectName("Check2");

  auto* browseButton = new QPushButton(kTitle, this);
  browseButton->setObjectName("Command1");
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("Command2");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("Command3");
  connect(browseButton, &QPushButton::clicked, this, &SelectFolderDialog::browse);
  connect(ok, &QPushButton::clicked, this, &SelectFolderDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &SelectFolderDialog::reject);

  auto* row = new QHBoxLayout;
  row->addWidget(folders_, 1);
  row->addWidget(browseButton);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(subFolders_);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addLayout(buttons);
}

QString SelectFolderDialog::folderText() const {
  return folders_->currentText();
}

bool SelectFolderDialog::createSubFolders() const {
  return subFolders_->isChecked();
}

std::optional<FolderChoice> SelectFolderDialog::choose(const FolderRequest& request) {
  preset_ = request.presetFolder;
  keepPassivePane_ = request.keepPassivePane;
  exec();
  auto text = folderText().toStdString();
  if (text.empty()) return std::nullopt;
  return FolderChoice{shell::pathFromText(text), createSubFolders()};
}

void SelectFolderDialog::showEvent(QShowEvent* event) {
  fillList();
  QDialog::showEvent(event);
}

void SelectFolderDialog::fillList() {
  folders_->clear();
  auto entries = shell::selectFolderEntries(preset_, host_.passivePaneFolder(),
                                            host_.activePaneFolder(), host_.preferenceFolders());
  for (const auto& entry : entries) folders_->addItem(qs(entry));
  folders_->setCurrentIndex(0);
}

void SelectFolderDialog::browse() {
  QString chosen = browser_(this, "Please select a folder ...", folderText().trimmed());
  if (chosen.isEmpty()) return;
  folders_->insertItem(0, qs(shell::withTrailingSeparator(chosen.toStdString())));
  folders_->setCurrentIndex(0);
}

void SelectFolderDialog::accept() {
  // Decision: OK on an empty box does nothing rather than choosing the file system root.
  if (folderText().trimmed().isEmpty()) return;
  auto text = shell::cleanFolderText(folderText().toStdString());
  folders_->setEditText(qs(text));
  auto folder = shell::pathFromText(text);
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    if (prompter_.ask(shell::createFolderQuestion(text), kTitle, Buttons::YesNo,
                      Icon::Exclamation) != Button::Yes)
      return;
    // One level only: a missing parent is the user's to fix.
    if (!std::filesystem::create_directory(folder, ec) || ec) {
      if (!ec) ec = std::make_error_code(std::errc::file_exists);
      prompter_.warn(shell::failureText("created", {folder}, {ec.message()}), kTitle);
      return;
    }
    host_.folderCreated(folder);
  }
  if (!keepPassivePane_ && shell::folderText(host_.passivePaneFolder()) != text)
    host_.showInPassivePane(folder);
  keepPassivePane_ = false;
  QDialog::accept();
}

void SelectFolderDialog::reject() {
  folders_->setEditText(QString());
  QDialog::reject();
}

}  // namespace qm::gui
