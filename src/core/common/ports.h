#pragma once
// The engine's ways of talking to people. The desktop program implements them with dialogs,
// quillmark-cli with terminal prompts and flags, tests with scripted fakes. Every text passed
// through a port is UTF-8 and already worded as the user should read it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

enum class Button { Ok, Cancel, Yes, No, Abort, Retry, Ignore };
// YesNoDefaultNo: Yes and No with No as the default, for questions before destructive work.
enum class Buttons {
  Ok,
  OkCancel,
  YesNo,
  YesNoCancel,
  AbortRetryIgnore,
  RetryCancel,
  YesNoDefaultNo
};
enum class Icon { None, Information, Exclamation, Critical, Question };

// Codes of the Overwrite dialog; the pressed one becomes the shared overwrite mode.
enum class OverwriteAnswer : int {
  Overwrite = 0,
  Ignore = 1,
  OverwriteAll = 2,
  IgnoreAll = 3,
  Cancel = 4,
};

// What the Overwrite dialog shows: the destination line and, when the caller has a source
// file, the source line (shown under "With:").
struct OverwriteQuestion {
  std::string destinationLine;
  std::optional<std::string> sourceLine;
};

// A request for a destination folder (the Select Folder dialog).
struct FolderRequest {
  std::filesystem::path presetFolder;  // shown first when not empty
  bool keepPassivePane = false;        // the chosen folder does not become the passive pane's
};

struct FolderChoice {
  std::filesystem::path folder;
  bool createSubFolders = false;  // "Automatically create sub folder(s)"
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual void inform(std::string_view text, std::string_view title) = 0;
  virtual void warn(std::string_view text, std::string_view title) = 0;
  virtual void error(std::string_view text, std::string_view title) = 0;
  virtual Button ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) = 0;
  // An empty optional means the user cancelled.
  virtual std::optional<std::string> askText(std::string_view caption, std::string_view preset) = 0;
  virtual std::optional<FolderChoice> chooseFolder(const FolderRequest& request) = 0;
  virtual OverwriteAnswer overwrite(const OverwriteQuestion& question) = 0;
};

// Long work reports here and polls cancelled() between items (Escape in the desktop
// program, Ctrl-C in the terminal).
class Progress {
 public:
  virtual ~Progress() = default;
  virtual void status(std::string_view text) = 0;
  virtual void percent(int value) = 0;
  virtual bool cancelled() = 0;
};

// A Progress that shows nothing and never cancels.
class SilentProgress final : public Progress {
 public:
  void status(std::string_view) override {}
  void percent(int) override {}
  bool cancelled() override { return false; }
};

}  // namespace qm
