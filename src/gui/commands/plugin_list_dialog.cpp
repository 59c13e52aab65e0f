#include "gui/commands/plugin_list_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::gui {
namespace {

constexpr const char* kHelpPage = "menu_Command.htm";

QCheckBox* box(QWidget* parent, const char* caption, const char* name, bool checked) {
  auto* b = new QCheckBox(caption, parent);
  b->setObjectName(name);
  b->setChecked(checked);
  return b;
}

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PluginListDialog::PluginListDialog(QWidget* parent)
    : QDialog(parent),
      include_(new QGroupBox("Include", this)),
      category_(box(include_, "Category", "categoryBox", plugins::ListFields{}.category)),
      title_(box(include_, "Filtername", "filternameBox", plugins::ListFields{}.title)),
      fileName_(box(include_, "Filename", "filenameBox", plugins::ListFields{}.fileName)),
      author_(box(include_, "Author", "authorBox", plugins::ListFields{}.author)),
      copyright_(box(include_, "Copyright", "copyrightBox", plugins::ListFields{}.copyright)),
      csv_(box(this, "CSV Format", "csvBox", false)),
      clipboard_(box(this, "Output to Clipboard", "clipboardBox", false)),
      name_(new QLineEdit(qs(plugins::kDefaultListFileName), this)),
      start_(new QPushButton("Start", this)) {
  setObjectName("PluginList");
  setWindowTitle(qs(plugins::kPluginListTitle));
  clipboard_->setToolTip("Exports the plugin list to the clipboard");
  name_->setObjectName("fileNameEdit");
  start_->setObjectName("startButton");
  start_->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("cancelButton");
  connect(start_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(csv_, &QCheckBox::toggled, this, &PluginListDialog::updateEnabling);
  connect(clipboard_, &QCheckBox::toggled, this, &PluginListDialog::updateEnabling);
  connect(name_, &QLineEdit::textChanged, this, &PluginListDialog::updateEnabling);

  auto* fields = new QVBoxLayout(include_);
  for (auto* b : {category_, title_, fileName_, author_, copyright_}) fields->addWidget(b);
  auto* nameRow = new QHBoxLayout;
  auto* nameLabel = new QLabel("Filename:", this);
  nameLabel->setBuddy(name_);
  nameRow->addWidget(nameLabel);
  nameRow->addWidget(name_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(start_);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(include_);
  layout->addWidget(csv_);
  layout->addWidget(clipboard_);
  layout->addLayout(nameRow);
  layout->addLayout(buttons);
  updateEnabling();
}

PluginListChoice PluginListDialog::choice() const {
  PluginListChoice c;
  c.fields = {category_->isChecked(), title_->isChecked(), fileName_->isChecked(),
              author_->isChecked(), copyright_->isChecked()};
  c.csv = csv_->isChecked();
  c.toClipboard = clipboard_->isChecked();
  c.fileName = name_->text().trimmed().toStdString();
  return c;
}

std::optional<PluginListChoice> PluginListDialog::choose() {
  if (exec() != QDialog::Accepted) return std::nullopt;
  return choice();
}

void PluginListDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    emit helpRequested(kHelpPage);
    return;
  }
  QDialog::keyPressEvent(event);
}

// Decision: the CSV form ignores the "Include" boxes and the clipboard needs no file name,
// so those controls are greyed while they have no effect; a list file needs a name to start.
void PluginListDialog::updateEnabling() {
  include_->setEnabled(!csv_->isChecked());
  name_->setEnabled(!clipboard_->isChecked());
  start_->setEnabled(clipboard_->isChecked() || !name_->text().trimmed().isEmpty());
}

}  // namespace qm::gui
