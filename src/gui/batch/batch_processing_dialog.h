#pragma once
// "Batch Processing": one filter over many pictures from the window, the window's face of the
// command line's batch apply. Pictures are chosen in a list, the results go into a folder
// chosen through Select Folder in a format and with a suffix of the user's choice. The run
// shows its progress, Escape stops it, and it ends with what was written, kept and failed.

#include <QDialog>
#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "core/apply/batch_apply.h"
#include "core/batch/overwrite_check.h"
#include "core/common/ports.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace qm::gui {

// What the dialog shows after a run: the summary line of the command line's batch apply,
// where it stopped, then one line per written file, per kept file with why and per failure.
std::string batchSummaryText(const apply::BatchSummary& summary);

// What the user set up, kept by the window for the next opening.
struct BatchChoices {
  std::vector<std::filesystem::path> pictures;
  std::filesystem::path destination;  // empty: the passive pane's folder
  int format = 0;                     // row of "Output Format"
  std::string suffix;
};

class BatchProcessingDialog final : public QDialog {
  Q_OBJECT
 public:
  // setup is the filter to run (shown as filterName); prompter answers Select Folder and the
  // messages, overwrite decides about existing results. destination is the folder shown first.
  BatchProcessingDialog(apply::ApplySetup setup, const QString& filterName,
                        const std::filesystem::path& destination, Prompter& prompter,
                        batch::OverwriteCheck& overwrite, QWidget* parent = nullptr);
  ~BatchProcessingDialog() override;

  void addPictures(const std::vector<std::filesystem::path>& pictures);
  std::filesystem::path destination() const;
  // Runs the filter over the listed pictures; the summary shows in the dialog afterwards.
  void start();
  bool running() const { return running_; }
  BatchChoices choices() const;
  void setChoices(const BatchChoices& choices);
  // The last run's summary line ("N written, M skipped, F failed."), empty before a run.
  const std::string& lastSummary() const { return lastSummary_; }
  // Folders results were written to since the dialog opened.
  const std::vector<std::filesystem::path>& changedFolders() const { return changedFolders_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void choosePictures();
  void removePictures();
  void chooseDestination();
  void setRunning(bool running);
  std::vector<std::filesystem::path> pictures() const;

  apply::ApplySetup setup_;
  Prompter& prompter_;
  batch::OverwriteCheck& overwrite_;
  QListWidget* list_;
  QLineEdit* destination_;
  QComboBox* format_;
  QLineEdit* suffix_;
  QProgressBar* progress_;
  QPlainTextEdit* summary_;
  QPushButton* start_;
  QPushButton* close_;
  std::vector<QWidget*> inputs_;  // disabled while a run goes on
  std::atomic<bool> stop_{false};
  bool running_ = false;
  std::vector<std::filesystem::path> changedFolders_;
  std::string lastSummary_;
};

}  // namespace qm::gui
