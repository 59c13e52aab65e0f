#include "gui/main/tip_window.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/common/cp1252.h"
#include "core/settings/options.h"

namespace qm::gui {

TipWindow::TipWindow(const std::filesystem::path& programDir, settings::Store& store, int first,
                     QWidget* parent)
    : QDialog(parent),
      tip_(new QLabel(this)),
      counter_(new QLabel(this)),
      showAtStartup_(new QCheckBox("&Show Tips at Startup", this)) {
  setObjectName("frmTip");
  setWindowTitle("Tip of the Day");
  tip_->setObjectName("tipText");
  tip_->setWordWrap(true);
  tip_->setMinimumSize(360, 110);
  tip_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  tip_->setFrameShape(QFrame::StyledPanel);
  tip_->setMargin(10);
  showAtStartup_->setChecked(settings::showTipsAtStartup(store));
  // The box writes the option at once, not on OK.
  connect(showAtStartup_, &QCheckBox::toggled, this,
          [&store](bool on) { settings::setShowTipsAtStartup(store, on); });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  QPushButton* next = buttons->addButton("&Next Tip", QDialogButtonBox::ActionRole);
  connect(next, &QPushButton::clicked, this, &TipWindow::nextTip);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tip_, 1);
  layout->addWidget(counter_);
  layout->addWidget(showAtStartup_);
  layout->addWidget(buttons);

  QFile file(QString::fromStdString((programDir / "TipOfDay.txt").string()));
  if (!file.open(QIODevice::ReadOnly)) {
    tip_->setText(kTipFileMissing);
    next->setEnabled(false);
    return;
  }
  for (const QByteArray& line : file.readAll().split('\n')) {
    QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
    if (!text.isEmpty()) tips_ << QString::fromStdString(cp1252ToUtf8(text.toStdString()));
  }
  current_ = tips_.isEmpty() ? 0 : ((first % tips_.size()) + tips_.size()) % tips_.size();
  showTip();
}

void TipWindow::nextTip() {
  if (tips_.isEmpty()) return;
  current_ = (current_ + 1) % static_cast<int>(tips_.size());
  showTip();
}

void TipWindow::showTip() {
  if (tips_.isEmpty()) return;
  tip_->setText(tips_[current_]);
  counter_->setText(QString("%1/%2").arg(current_ + 1).arg(tips_.size()));
}

}  // namespace qm::gui
