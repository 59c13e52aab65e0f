#include "gui/commands/change_category_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/plugins/change_category.h"

namespace qm::gui {
namespace {

constexpr const char* kHelpPage = "buttonbar_ChangeCat.htm";

}  // namespace

ChangeCategoryDialog::ChangeCategoryDialog(QWidget* parent)
    : QDialog(parent), combo_(new QComboBox(this)) {
  setObjectName("ChangeCategory");
  setWindowTitle(QString::fromUtf8(plugins::kChooseCategoryCaption.data(),
                                   static_cast<qsizetype>(plugins::kChooseCategoryCaption.size())));
  combo_->setObjectName("Combo1");
  combo_->setEditable(true);
  // A typed name must not become a list entry; the engine adds new categories itself.
  combo_->setInsertPolicy(QComboBox::NoInsert);
  combo_->installEventFilter(this);
  combo_->lineEdit()->installEventFilter(this);

  auto* buttons = new QDialogButtonBox(this);
  auto* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  ok->setObjectName("okButton");
  ok->setDefault(true);
  auto* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
  cancel->setObjectName("cancelButton");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // Picking an entry from the list confirms it at once.
  connect(combo_, &QComboBox::activated, this, [this](int index) {
    combo_->setEditText(combo_->itemText(index));
    accept();
  });
  connect(combo_->lineEdit(), &QLineEdit::returnPressed, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(combo_);
  layout->addWidget(buttons);
  // The question is the caption: wide enough for the window manager to show it whole beside
  // its buttons (a title bar's font is often larger than the dialog's).
  setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) * 5 / 4 + 140);
}

std::optional<QString> ChangeCategoryDialog::ask(const QStringList& choices) {
  combo_->clear();
  combo_->addItems(choices);
  combo_->setCurrentIndex(-1);
  combo_->setEditText(QString());
  combo_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return combo_->currentText();
}

void ChangeCategoryDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    emit helpRequested(kHelpPage);
    return;
  }
  QDialog::keyPressEvent(event);
}

// Getting the focus selects the whole text, so typing replaces it.
bool ChangeCategoryDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn)
    QTimer::singleShot(0, combo_->lineEdit(), &QLineEdit::selectAll);
  return QDialog::eventFilter(watched, event);
}

}  // namespace qm::gui
