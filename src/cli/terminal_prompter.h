#pragma once
// Questions on the terminal when stdin is one; otherwise the answers come from flags, so a
// script never hangs.

#include <filesystem>
#include <iosfwd>
#include <optional>

#include "core/common/ports.h"

namespace qm::cli {

enum class OverwritePolicy { Ask, All, None };

struct TerminalAnswers {
  OverwritePolicy overwrite = OverwritePolicy::None;
  std::filesystem::path destination;  // answer to "where to?"
  bool createSubFolders = false;
};

class TerminalPrompter final : public Prompter {
 public:
  TerminalPrompter(TerminalAnswers answers, std::istream& in, std::ostream& err, bool interactive);

  void inform(std::string_view text, std::string_view title) override;
  void warn(std::string_view text, std::string_view title) override;
  void error(std::string_view text, std::string_view title) override;
  Button ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) override;
  std::optional<std::string> askText(std::string_view caption, std::string_view preset) override;
  std::optional<FolderChoice> chooseFolder(const FolderRequest& request) override;
  OverwriteAnswer overwrite(const OverwriteQuestion& question) override;

 private:
  std::optional<char> readChoice(std::string_view choices);

  TerminalAnswers answers_;
  std::istream& in_;
  std::ostream& err_;
  bool interactive_;
};

// Ctrl-C sets a flag that cancelled() reports; the work stops between items.
class InterruptProgress final : public Progress {
 public:
  InterruptProgress();
  void status(std::string_view) override {}
  void percent(int) override {}
  bool cancelled() override;
};

}  // namespace qm::cli
