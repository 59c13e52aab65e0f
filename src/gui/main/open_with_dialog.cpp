#include "gui/main/open_with_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::gui {
namespace {

constexpr int kAppRole = Qt::UserRole + 1;  // index into apps_, -1 on a heading

}  // namespace

OpenWithDialog::OpenWithDialog(const QString& fileName,
                               const std::vector<platform::DesktopApp>& forType,
                               const std::vector<platform::DesktopApp>& others, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
  setObjectName("openWithDialog");
  setWindowTitle("Open With");
  auto* layout = new QVBoxLayout(this);
  note_ = new QLabel(QString("No program is set to open %1. Open it with:").arg(fileName), this);
  note_->setObjectName("openWithNote");
  note_->setWordWrap(true);
  layout->addWidget(note_);
  list_->setObjectName("applicationList");
  auto heading = [this](const QString& text) {
    auto* item = new QListWidgetItem(text, list_);
    item->setFlags(Qt::NoItemFlags);
    item->setData(kAppRole, -1);
    QFont bold = list_->font();
    bold.setBold(true);
    item->setFont(bold);
  };
  auto add = [this](const std::vector<platform::DesktopApp>& apps) {
    for (const auto& app : apps) {
      auto* item = new QListWidgetItem(app.name, list_);
      item->setData(kAppRole, static_cast<int>(apps_.size()));
      item->setToolTip(app.exec);
      apps_.push_back(app);
    }
  };
  if (!forType.empty()) {
    heading("Programs for this type of file");
    add(forType);
    heading("All programs");
  }
  add(others);
  layout->addWidget(list_, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setEnabled(false);
  connect(list_, &QListWidget::currentItemChanged, this, [ok](QListWidgetItem* item) {
    ok->setEnabled(item && item->data(kAppRole).toInt() >= 0);
  });
  connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    if (item->data(kAppRole).toInt() >= 0) accept();
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  // Only a program that declares the file's type is offered as the likely choice.
  if (!forType.empty()) list_->setCurrentRow(1);
  resize(420, 460);
}

std::optional<platform::DesktopApp> OpenWithDialog::chosen() const {
  QListWidgetItem* item = list_->currentItem();
  int index = item ? item->data(kAppRole).toInt() : -1;
  if (index < 0 || static_cast<std::size_t>(index) >= apps_.size()) return std::nullopt;
  return apps_[static_cast<std::size_t>(index)];
}

}  // namespace qm::gui
