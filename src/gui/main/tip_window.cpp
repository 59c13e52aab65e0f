#include "gui/main/tip_window.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QStyle>

#include "core/outside/tips.h"
#include "core/settings/options.h"

namespace qm::gui {

TipWindow::TipWindow(const std::filesystem::path& programDir, settings::Store& store, int first,
                     QWidget* parent)
    : QDialog(parent),
      tip_(new QLabel(this)),
      counter_(new QLabel(this)),
      showAtStartup_(new QCheckBox("&Show Tips at Startup", this)),
      next_(new QPushButton("&Next Tip", this)) {
  setObjectName("frmTip");
  setWindowTitle("Tip of the Day");
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(40, 40));
  icon->setAlignment(Qt::AlignTop);
  auto* heading = new QLabel("<b>Did you know...</b>", this);
  tip_->setObjectName("tipText");
  tip_->setWordWrap(true);
  tip_->setMinimumSize(380, 110);
  tip_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  tip_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  counter_->setObjectName("tipCounter");
  counter_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  auto* page = new QFrame(this);
  page->setFrameShape(QFrame::StyledPanel);
  page->setBackgroundRole(QPalette::Base);
  page->setAutoFillBackground(true);
  auto* pageLayout = new QGridLayout(page);
  pageLayout->setContentsMargins(14, 14, 14, 10);
  pageLayout->setHorizontalSpacing(14);
  pageLayout->addWidget(icon, 0, 0, 2, 1);
  pageLayout->addWidget(heading, 0, 1);
  pageLayout->addWidget(tip_, 1, 1);
  pageLayout->addWidget(counter_, 2, 1);
  pageLayout->setColumnStretch(1, 1);
  pageLayout->setRowStretch(1, 1);

  showAtStartup_->setChecked(settings::showTipsAtStartup(store));
  // The box writes the option at once, not on OK.
  connect(showAtStartup_, &QCheckBox::toggled, this,
          [&store](bool on) { settings::setShowTipsAtStartup(store, on); });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->addButton(next_, QDialogButtonBox::ActionRole);
  connect(next_, &QPushButton::clicked, this, &TipWindow::nextTip);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(showAtStartup_);
  bottom->addStretch(1);
  bottom->addWidget(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(page, 1);
  layout->addLayout(bottom);

  QFile file(QString::fromStdString((programDir / outside::kTipFileName).string()));
  if (!file.open(QIODevice::ReadOnly)) {
    tip_->setText(QString::fromUtf8(outside::kTipFileMissing));
    next_->setEnabled(false);
    return;
  }
  for (const std::string& tip : outside::parseTips(file.readAll().toStdString()))
    tips_ << QString::fromStdString(tip);  // UTF-8, like every text file we ship
  current_ = outside::tipIndex(first, static_cast<int>(tips_.size()));
  next_->setEnabled(tips_.size() > 1);
  showTip();
}

void TipWindow::nextTip() {
  if (tips_.isEmpty()) return;
  current_ = outside::nextTipIndex(current_, static_cast<int>(tips_.size()));
  showTip();
}

void TipWindow::showTip() {
  if (tips_.isEmpty()) return;
  tip_->setText(tips_[current_]);
  counter_->setText(
      QString::fromStdString(outside::tipCounter(current_, static_cast<int>(tips_.size()))));
}

}  // namespace qm::gui
