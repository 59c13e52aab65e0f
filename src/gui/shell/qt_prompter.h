#pragma once
// The engine's questions and messages as Qt dialogs, owned by a parent window. Other windows
// of the program reuse it.

#include <QPointer>
#include <QWidget>

#include "core/common/ports.h"

namespace qm::gui {

// Turns the engine's CR / CR LF line breaks into the ones Qt shows.
QString messageText(std::string_view text);

class QtPrompter final : public Prompter {
 public:
  explicit QtPrompter(QWidget* parent) : parent_(parent) {}

  void inform(std::string_view text, std::string_view title) override;
  void warn(std::string_view text, std::string_view title) override;
  void error(std::string_view text, std::string_view title) override;
  Button ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) override;
  std::optional<std::string> askText(std::string_view caption, std::string_view preset) override;
  // The same with a title of its own above the prompt.
  std::optional<std::string> askText(std::string_view title, std::string_view prompt,
                                     std::string_view preset);
  // Plain folder and overwrite choices until the Select Folder and Overwrite dialogs of the
  // batch windows take over.
  std::optional<FolderChoice> chooseFolder(const FolderRequest& request) override;
  OverwriteAnswer overwrite(const OverwriteQuestion& question) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace qm::gui
