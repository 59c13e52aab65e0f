#pragma once
// The Tip of the Day window: one tip of TipOfDay.txt at a time, and the start-up check box.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <filesystem>

#include "core/settings/store.h"

namespace qm::gui {

class TipWindow : public QDialog {
  Q_OBJECT
 public:
  // first: the tip shown first (the caller picks it at random); wraps like Next does.
  TipWindow(const std::filesystem::path& programDir, settings::Store& store, int first,
            QWidget* parent = nullptr);

  void nextTip();
  QLabel* tipLabel() const { return tip_; }
  QLabel* counterLabel() const { return counter_; }
  QCheckBox* showAtStartup() const { return showAtStartup_; }
  QPushButton* nextButton() const { return next_; }

 private:
  void showTip();

  QStringList tips_;
  int current_ = 0;
  QLabel* tip_;
  QLabel* counter_;
  QCheckBox* showAtStartup_;
  QPushButton* next_;
};

}  // namespace qm::gui
