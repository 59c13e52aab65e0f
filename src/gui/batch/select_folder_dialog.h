#pragma once
// "Select Folder": the destination of copies, moves and conversions. The window keeps one
// instance for the whole run; it hides instead of closing, so the preset folder and the
// "Automatically create sub folder(s)" choice stay between uses.

#include <QDialog>
#include <filesystem>
#include <functional>
#include <optional>

#include "core/common/ports.h"
#include "gui/batch/select_folder_host.h"

class QCheckBox;
class QComboBox;

namespace qm::gui {

class SelectFolderDialog final : public QDialog {
  Q_OBJECT
 public:
  // Asks for a folder with the given prompt; an empty text means none was chosen.
  // start: the folder the browser opens in (the one the box shows).
  using Browser =
      std::function<QString(QWidget* parent, const QString& prompt, const QString& start)>;

  // prompter asks the creation question.
  SelectFolderDialog(SelectFolderHost& host, Prompter& prompter, QWidget* parent = nullptr);

  void setBrowser(Browser browser) { browser_ = std::move(browser); }
  void setPresetFolder(const std::filesystem::path& folder) { preset_ = folder; }
  void setKeepPassivePane(bool keep) { keepPassivePane_ = keep; }
  bool keepPassivePane() const { return keepPassivePane_; }

  // The folder text as the caller reads it afterwards; empty after "Cancel".
  QString folderText() const;
  bool createSubFolders() const;

  // The Prompter::chooseFolder answer: shows the dialog modally with the request's preset
  // and flag; nullopt when the user cancelled.
  std::optional<FolderChoice> choose(const FolderRequest& request);

  void accept() override;  // OK
  void reject() override;  // Cancel

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void fillList();
  void browse();

  SelectFolderHost& host_;
  Prompter& prompter_;
  Browser browser_;
  std::filesystem::path preset_;
  bool keepPassivePane_ = false;
  QComboBox* folders_;
  QCheckBox* subFolders_;
};

}  // namespace qm::gui
