#include "gui/batch/batch_processing_dialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <thread>

#include "core/common/unicode_text.h"
#include "platform/picture_files.h"

namespace qm::gui {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTitle = "Batch Processing";

struct Format {
  const char* caption;
  const char* extension;  // empty: each picture's own
};

constexpr Format kFormats[] = {
    {"Same as each picture", ""},
    {"PNG", "png"},
    {"JPEG", "jpg"},
    {"BMP", "bmp"},
    {"TIFF", "tif"},
    {"WebP", "webp"},
};

QPushButton* button(QWidget* parent, const char* caption, const char* name) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

QString pathText(const fs::path& path) {
  return QString::fromStdString(path.string());
}

}  // namespace

std::string batchSummaryText(const apply::BatchSummary& summary) {
  std::string text = apply::summaryLine(summary);
  if (summary.stopped)
    text += "; stopped after " + std::to_string(summary.finished) +
            (summary.finished == 1 ? " picture" : " pictures");
  text += ".\n";
  if (!summary.written.empty() || !summary.keptOutputs.empty() || !summary.failed.empty())
    text += '\n';
  for (const fs::path& file : summary.written) text += displayPath(file) + '\n';
  for (const fs::path& file : summary.keptOutputs)
    text += displayPath(file) + ": " + std::string(apply::kKeptReason) + '\n';
  for (const auto& failure : summary.failed) text += failure.line() + '\n';
  return text;
}

BatchProcessingDialog::BatchProcessingDialog(apply::ApplySetup setup, const QString& filterName,
                                             const fs::path& destination, Prompter& prompter,
                                             batch::OverwriteCheck& overwrite, QWidget* parent)
    : QDialog(parent),
      setup_(std::move(setup)),
      prompter_(prompter),
      overwrite_(overwrite),
      list_(new QListWidget(this)),
      destination_(new QLineEdit(pathText(destination), this)),
      format_(new QComboBox(this)),
      suffix_(new QLineEdit(this)),
      progress_(new QProgressBar(this)),
      summary_(new QPlainTextEdit(this)),
      start_(button(this, "Start", "batchStart")),
      close_(button(this, "Close", "batchClose")) {
  setWindowTitle(QString::fromUtf8(kTitle.data(), static_cast<qsizetype>(kTitle.size())));
  setObjectName("BatchProcessing");
  auto* filter = new QLabel(filterName, this);
  filter->setObjectName("batchFilter");
  filter->setTextInteractionFlags(Qt::TextSelectableByMouse);
  list_->setObjectName("batchPictures");
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  auto* add = button(this, "Add...", "batchAdd");
  auto* remove = button(this, "Remove", "batchRemove");
  destination_->setObjectName("batchDestination");
  auto* browse = button(this, "Select Folder...", "batchSelectFolder");
  format_->setObjectName("batchFormat");
  for (const auto& f : kFormats) format_->addItem(f.caption, QString(f.extension));
  suffix_->setObjectName("batchSuffix");
  suffix_->setToolTip("Added to each result's name, before its ending");
  progress_->setObjectName("batchProgress");
  progress_->setValue(0);
  summary_->setObjectName("batchSummary");
  summary_->setReadOnly(true);
  summary_->setPlaceholderText("Escape stops a run; what it did shows here.");
  start_->setDefault(true);

  connect(add, &QPushButton::clicked, this, &BatchProcessingDialog::choosePictures);
  connect(remove, &QPushButton::clicked, this, &BatchProcessingDialog::removePictures);
  connect(browse, &QPushButton::clicked, this, &BatchProcessingDialog::chooseDestination);
  connect(start_, &QPushButton::clicked, this, &BatchProcessingDialog::start);
  connect(close_, &QPushButton::clicked, this, &BatchProcessingDialog::reject);

  auto* listButtons = new QVBoxLayout;
  listButtons->addWidget(add);
  listButtons->addWidget(remove);
  listButtons->addStretch();
  auto* pictures = new QHBoxLayout;
  pictures->addWidget(list_, 1);
  pictures->addLayout(listButtons);
  auto* folder = new QHBoxLayout;
  folder->addWidget(destination_, 1);
  folder->addWidget(browse);
  auto* form = new QFormLayout;
  form->addRow("Filter:", filter);
  form->addRow("Pictures:", pictures);
  form->addRow("Destination:", folder);
  form->addRow("Output Format:", format_);
  form->addRow("Suffix:", suffix_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(start_);
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(progress_);
  layout->addWidget(summary_, 1);
  layout->addLayout(buttons);
  inputs_ = {list_, add, remove, destination_, browse, format_, suffix_, start_};
  resize(620, 520);
}

BatchProcessingDialog::~BatchProcessingDialog() = default;

void BatchProcessingDialog::addPictures(const std::vector<fs::path>& pictures) {
  auto listed = this->pictures();
  for (const fs::path& picture : pictures)
    if (std::find(listed.begin(), listed.end(), picture) == listed.end()) {
      list_->addItem(pathText(picture));
      listed.push_back(picture);
    }
}

std::vector<fs::path> BatchProcessingDialog::pictures() const {
  std::vector<fs::path> result;
  for (int row = 0; row < list_->count(); ++row)
    result.emplace_back(list_->item(row)->text().toStdString());
  return result;
}

fs::path BatchProcessingDialog::destination() const {
  return destination_->text().trimmed().toStdString();
}

BatchChoices BatchProcessingDialog::choices() const {
  return {pictures(), destination(), format_->currentIndex(), suffix_->text().toStdString()};
}

void BatchProcessingDialog::setChoices(const BatchChoices& choices) {
  list_->clear();
  addPictures(choices.pictures);
  if (!choices.destination.empty()) destination_->setText(pathText(choices.destination));
  format_->setCurrentIndex(std::clamp(choices.format, 0, format_->count() - 1));
  suffix_->setText(QString::fromStdString(choices.suffix));
}

void BatchProcessingDialog::choosePictures() {
  const auto listed = pictures();
  const QString folder = listed.empty() ? QString() : pathText(listed.back().parent_path());
  const QStringList chosen = QFileDialog::getOpenFileNames(
      this, "Add Pictures", folder,
      "Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.webp *.tga);;All Files (*)");
  std::vector<fs::path> files;
  for (const QString& file : chosen) files.emplace_back(file.toStdString());
  addPictures(files);
}

void BatchProcessingDialog::removePictures() {
  for (QListWidgetItem* item : list_->selectedItems()) delete item;
}

void BatchProcessingDialog::chooseDestination() {
  FolderRequest request;
  request.presetFolder = destination();
  request.keepPassivePane = true;
  if (const auto choice = prompter_.chooseFolder(request))
    destination_->setText(pathText(choice->folder));
}

void BatchProcessingDialog::setRunning(bool running) {
  running_ = running;
  for (QWidget* input : inputs_) input->setEnabled(!running);
  close_->setText(running ? "Stop" : "Close");
}

void BatchProcessingDialog::start() {
  if (running_) return;
  const auto images = pictures();
  if (images.empty()) {
    prompter_.warn("Please add one or more pictures.", kTitle);
    return;
  }
  if (destination().empty()) chooseDestination();
  if (destination().empty()) return;
  apply::BatchOptions options;
  options.dest = destination();
  options.suffix = suffix_->text().toStdString();
  options.format = format_->currentData().toString().toStdString();
  options.threads = std::max(1u, std::thread::hardware_concurrency());
  platform::QtPictureFiles files;
  apply::BatchApply batch(setup_, files, images, options);
  if (const auto problem = batch.makeDestination()) {
    prompter_.error(*problem, kTitle);
    return;
  }
  summary_->clear();
  overwrite_({}, {});  // this run's own overwrite mode
  const bool decided = batch.decide(overwrite_);
  overwrite_({}, {});
  if (!decided) {
    summary_->setPlainText("Stopped; nothing was written.");
    return;
  }

  setRunning(true);
  stop_ = false;
  progress_->setRange(0, static_cast<int>(std::max<std::size_t>(1, batch.toRun())));
  progress_->setValue(0);
  // The pictures run on worker threads; this one keeps the dialog alive for Escape.
  QEventLoop waiting;
  std::thread worker([&] {
    batch.run([this] { return stop_.load(); },
              [this] {
                QMetaObject::invokeMethod(
                    this, [this] { progress_->setValue(progress_->value() + 1); },
                    Qt::QueuedConnection);
              });
    QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
  });
  waiting.exec();
  worker.join();
  setRunning(false);

  const auto summary = batch.summary();
  if (!summary.stopped) progress_->setValue(progress_->maximum());
  const std::string text = batchSummaryText(summary);
  summary_->setPlainText(QString::fromStdString(text));
  lastSummary_ = text.substr(0, text.find('\n'));
  if (!summary.written.empty() && std::find(changedFolders_.begin(), changedFolders_.end(),
                                            options.dest) == changedFolders_.end())
    changedFolders_.push_back(options.dest);
}

void BatchProcessingDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && running_) {
    stop_ = true;
    return;
  }
  QDialog::keyPressEvent(event);
}

void BatchProcessingDialog::closeEvent(QCloseEvent* event) {
  if (running_) {
    stop_ = true;
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void BatchProcessingDialog::reject() {
  if (running_) {
    stop_ = true;
    return;
  }
  QDialog::reject();
}

}  // namespace qm::gui
