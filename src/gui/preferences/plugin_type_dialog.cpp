#include "gui/preferences/plugin_type_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::gui {
namespace {

QString qstr(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PluginTypeDialog::PluginTypeDialog(const QString& caption,
                                   const preferences::PluginTypeFields& fields,
                                   const plugins::TypeList& list,
                                   std::optional<std::size_t> editing, QWidget* parent)
    : QDialog(parent),
      label_(new QLineEdit(this)),
      extension_(new QLineEdit(this)),
      list_(list),
      editing_(editing) {
  setObjectName("FrmPluginType");
  setWindowTitle(caption);
  label_->setObjectName("Text1_0");
  extension_->setObjectName("Text1_1");
  label_->setText(QString::fromStdString(fields.label));
  extension_->setText(QString::fromStdString(fields.extension));

  auto* frame = new QGroupBox("Get Plugin Name from", this);
  auto* sources = new QVBoxLayout(frame);
  const char* captions[] = {"Description", "Internal Name", "Product Name", "File Name"};
  for (int i = 0; i < preferences::kNameSourceCount; ++i) {
    auto* radio = new QRadioButton(captions[i], frame);
    radio->setObjectName(QString("Option1_%1").arg(i));
    sources_[static_cast<std::size_t>(i)] = radio;
    sources->addWidget(radio);
  }
  sources_[static_cast<std::size_t>(
               std::clamp(fields.nameSource, 0, preferences::kNameSourceCount - 1))]
      ->setChecked(true);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("Command1_0");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("Command1_1");
  connect(ok, &QPushButton::clicked, this, &PluginTypeDialog::ok);
  connect(cancel, &QPushButton::clicked, this, &PluginTypeDialog::cancel);

  auto* form = new QFormLayout;
  form->addRow("Plugin Type:", label_);
  form->addRow("File Extension:", extension_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(frame);
  layout->addLayout(buttons);
  setMinimumWidth(320);
}

preferences::PluginTypeFields PluginTypeDialog::fields() const {
  preferences::PluginTypeFields f{label_->text().toStdString(), extension_->text().toStdString(),
                                  0};
  for (int i = 0; i < preferences::kNameSourceCount; ++i)
    if (sources_[static_cast<std::size_t>(i)]->isChecked()) f.nameSource = i;
  return f;
}

void PluginTypeDialog::ok() {
  auto accepted = preferences::acceptPluginType(fields(), list_, editing_);
  if (!accepted) {
    QMessageBox::warning(this, "Quillmark", qstr(accepted.error().message));
    (accepted.error().focus == preferences::PluginTypeField::Label ? label_ : extension_)
        ->setFocus();
    return;
  }
  label_->setText(QString::fromStdString(accepted->label));
  extension_->setText(QString::fromStdString(accepted->extension));
  accept();
}

void PluginTypeDialog::cancel() {
  label_->clear();
  extension_->clear();
  reject();
}

void PluginTypeDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    emit helpRequested("Prefs_PluginTypes.htm");
    return;
  }
  if (event->key() == Qt::Key_Escape) {
    cancel();
    return;
  }
  QDialog::keyPressEvent(event);
}

// Dragging the background moves the dialog, as with the program's other small dialogs.
void PluginTypeDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
  QDialog::mousePressEvent(event);
}

void PluginTypeDialog::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) move(event->globalPosition().toPoint() - dragOffset_);
  QDialog::mouseMoveEvent(event);
}

}  // namespace qm::gui
