#pragma once
// "Convert": the output format and options of a conversion run. The window keeps one
// instance; it hides instead of closing, so the choices stay between uses.

#include <QDialog>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/common/ports.h"
#include "core/ff/convert.h"
#include "core/ff/plugin_architecture.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace qm::gui {

struct ConvertChoice {
  int target = ff::kTargetPlugin;  // 0 plugin, 3 .afs, 4 .pff, 5 .txt
  bool useClipboard = false;       // "Use Clipboard as Source"
  bool namesFromTitles = false;    // "Use Filter Name as File Name"
  bool macAdaption = false;        // "Mac FF Adaption": offered, changes nothing written
  ff::PluginArchitecture architecture = ff::PluginArchitecture::Stored;  // plugins only
};

// "Convert..." with nothing selected outside FFL View shows the refusal and gives false.
bool mayStartConvert(Prompter& prompter, bool anythingSelected, bool fflView);

// The conversion run for a choice. In FFL View selectedFiles is the library and fflEntries the
// byte positions of the chosen entries; nothing chosen converts nothing. clipboardUtf8 is the
// clipboard's text, if it holds any.
ff::ConvertReport runConvert(const ConvertChoice& choice,
                             const std::vector<std::filesystem::path>& selectedFiles, bool fflView,
                             const std::vector<std::uint64_t>& fflEntries,
                             const std::optional<std::string>& clipboardUtf8,
                             const ff::FFOptions& options, Prompter& prompter, Progress& progress);

class ConvertDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit ConvertDialog(QWidget* parent = nullptr);

  ConvertChoice choice() const;
  void setTarget(int target);
  // The run clears the clipboard option after a clipboard conversion.
  void clearClipboardOption();

  // Shows the dialog modally: the choice when "Convert" was pressed, nullopt on "Cancel".
  std::optional<ConvertChoice> choose();

  // runConvert with the current choice; a clipboard run clears the clipboard option.
  ff::ConvertReport convert(const std::vector<std::filesystem::path>& selectedFiles, bool fflView,
                            const std::vector<std::uint64_t>& fflEntries,
                            const std::optional<std::string>& clipboardUtf8,
                            const ff::FFOptions& options, Prompter& prompter, Progress& progress);

 signals:
  // "Output Settings": the window opens Preferences on its plugin format page.
  void outputSettingsRequested();
  // "Show Help File" and F1: the window opens this page of the help folder.
  void helpRequested(const QString& page);
  // "Batch Processing...": the dialog hides; the window runs the filter over pictures.
  void batchProcessingRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void formatChanged();

  QComboBox* format_;
  QComboBox* architecture_;
  QCheckBox* clipboard_;
  QCheckBox* namesFromTitles_;
  QCheckBox* macAdaption_;
  QPushButton* outputSettings_;
};

}  // namespace qm::gui
