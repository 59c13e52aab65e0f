#include "gui/batch/convert_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/common/cp1252.h"
#include "core/shell/messages.h"

namespace qm::gui {
namespace {

constexpr const char* kHelpPage = "buttonbar_Convert.htm";

struct Format {
  const char* caption;
  int target;
};

constexpr Format kFormats[] = {
    {"Photoshop FF Plugin", ff::kTargetPlugin},
    {"AFS File", ff::kTargetAfs},
    {"PFF File", ff::kTargetPff},
    {"Text File", ff::kTargetText},
};

QCheckBox* optionBox(QWidget* parent, const char* caption, const char* name, const char* tip) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setToolTip(tip);
  return box;
}

QPushButton* button(QWidget* parent, const char* caption, const char* name) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

bool mayStartConvert(Prompter& prompter, bool anythingSelected, bool fflView) {
  if (anythingSelected || fflView) return true;
  prompter.warn(shell::kSelectFiles, shell::kAttentionTitle);
  return false;
}

ff::ConvertReport runConvert(const ConvertChoice& choice,
                             const std::vector<std::filesystem::path>& selectedFiles, bool fflView,
                             const std::vector<std::uint64_t>& fflEntries,
                             const std::optional<std::string>& clipboardUtf8,
                             const ff::FFOptions& options, Prompter& prompter, Progress& progress) {
  ff::ConvertOptions run;
  run.target = choice.target;
  run.namesFromTitles = choice.namesFromTitles;
  run.ff = options;
  run.ff.architecture = choice.architecture;
  std::vector<std::filesystem::path> files;
  if (choice.useClipboard) {
    // An empty clipboard reads as an empty source, which converts nothing.
    run.clipboardText = utf8ToCp1252(clipboardUtf8.value_or(std::string()));
  } else if (!fflView) {
    files = selectedFiles;
  } else if (!fflEntries.empty()) {
    files = selectedFiles;
    run.libraryEntries = fflEntries;
  }
  return ff::cmd_Convert(files, run, prompter, progress);
}

ConvertDialog::ConvertDialog(QWidget* parent)
    : QDialog(parent),
      format_(new QComboBox(this)),
      architecture_(new QComboBox(this)),
      clipboard_(optionBox(this, "Use Clipboard as Source", "Check1",
                           "Ignore the selected files and read FF source code from the clipboard "
                           "instead")),
      namesFromTitles_(optionBox(this, "Use Filter Name as File Name", "Check2",
                                 "Activate, if you dislike 8+3 file names")),
      macAdaption_(optionBox(this, "Mac FF Adaption", "Check3",
                             "Does some corrections for using the FF code on the Macintosh")),
      outputSettings_(button(this, "Output Settings", "Command3")) {
  setWindowTitle("Convert");
  setObjectName("Convert");
  format_->setObjectName("Combo1");
  for (const auto& format : kFormats) format_->addItem(format.caption, format.target);
  architecture_->setObjectName("Architecture");
  for (const auto& a : ff::kArchitectureChoices)
    architecture_->addItem(a.caption, static_cast<int>(a.value));
  architecture_->setToolTip("64-bit plugins run in today's hosts; 32-bit ones in older hosts");
  outputSettings_->setToolTip("Shows Preferences for selecting a plugin format");

  auto* convert = button(this, "Convert", "Command1");
  convert->setDefault(true);
  auto* cancel = button(this, "Cancel", "Command2");
  auto* help = button(this, "Show Help File", "Command4");
  auto* batchProcessing = button(this, "Batch Processing...", "mnuBatchProcessing");
  batchProcessing->setToolTip("Runs the selected filter over pictures you choose");
  connect(convert, &QPushButton::clicked, this, &ConvertDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &ConvertDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpPage); });
  connect(outputSettings_, &QPushButton::clicked, this, &ConvertDialog::outputSettingsRequested);
  connect(batchProcessing, &QPushButton::clicked, this, [this] {
    reject();
    emit batchProcessingRequested();
  });
  connect(format_, &QComboBox::currentIndexChanged, this, &ConvertDialog::formatChanged);

  auto* form = new QFormLayout;
  form->addRow("Output Format", format_);
  form->addRow("Plugin Architecture", architecture_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(convert);
  buttons->addWidget(cancel);
  buttons->addWidget(outputSettings_);
  buttons->addWidget(help);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(clipboard_);
  layout->addWidget(namesFromTitles_);
  layout->addWidget(macAdaption_);
  layout->addWidget(batchProcessing, 0, Qt::AlignLeft);
  layout->addLayout(buttons);

  format_->setCurrentIndex(0);
  formatChanged();
}

ConvertChoice ConvertDialog::choice() const {
  return {format_->currentData().toInt(), clipboard_->isChecked(), namesFromTitles_->isChecked(),
          macAdaption_->isChecked(),
          static_cast<ff::PluginArchitecture>(architecture_->currentData().toInt())};
}

void ConvertDialog::setTarget(int target) {
  int index = format_->findData(target);
  if (index >= 0) format_->setCurrentIndex(index);
}

void ConvertDialog::clearClipboardOption() {
  clipboard_->setChecked(false);
}

std::optional<ConvertChoice> ConvertDialog::choose() {
  if (exec() != QDialog::Accepted) return std::nullopt;
  return choice();
}

ff::ConvertReport ConvertDialog::convert(const std::vector<std::filesystem::path>& selectedFiles,
                                         bool fflView, const std::vector<std::uint64_t>& fflEntries,
                                         const std::optional<std::string>& clipboardUtf8,
                                         const ff::FFOptions& options, Prompter& prompter,
                                         Progress& progress) {
  auto current = choice();
  auto report = runConvert(current, selectedFiles, fflView, fflEntries, clipboardUtf8, options,
                           prompter, progress);
  if (current.useClipboard) clearClipboardOption();
  return report;
}

void ConvertDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    emit helpRequested(kHelpPage);
    return;
  }
  QDialog::keyPressEvent(event);
}

// Plugins have output settings (the template) but no Mac adaption; sources the opposite.
void ConvertDialog::formatChanged() {
  bool plugin = choice().target == ff::kTargetPlugin;
  outputSettings_->setEnabled(plugin);
  architecture_->setEnabled(plugin);
  macAdaption_->setEnabled(!plugin);
}

}  // namespace qm::gui
