#include "gui/editor/error_list.h"

#include "core/common/cp1252.h"

namespace qm::gui {

ErrorList::ErrorList(QWidget* parent) : QListWidget(parent) {
  setObjectName("errorList");
  setToolTip("Formula errors: F8 next, Shift+F8 previous");
  setUniformItemSizes(true);
  setAlternatingRowColors(true);
  QFont small = font();
  small.setPointSizeF(small.pointSizeF() * 0.9);
  setFont(small);
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    if (item->flags() & Qt::ItemIsEnabled) emit errorChosen(row(item));
  });
  connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (item->flags() & Qt::ItemIsEnabled) emit errorChosen(row(item));
  });
  setErrors({});
}

void ErrorList::setErrors(const std::vector<editor::BoxError>& errors) {
  clear();
  for (const auto& e : errors) {
    auto* item = new QListWidgetItem(QString::fromStdString(cp1252ToUtf8(errorListText(e))), this);
    item->setForeground(QColor(0xb0, 0x10, 0x10));
  }
  if (errors.empty()) {
    auto* none = new QListWidgetItem("No errors", this);
    none->setFlags(Qt::NoItemFlags);
  }
}

void ErrorList::markCurrent(int index) {
  if (index >= 0 && index < count() && (item(index)->flags() & Qt::ItemIsEnabled))
    setCurrentRow(index);
  else
    clearSelection();
}

}  // namespace qm::gui
