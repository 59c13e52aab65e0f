#pragma once
// Scripted stand-ins for the engine's ports: answers are queued before a run, and every
// question and message is recorded so a test can assert the exact texts.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/common/ports.h"

namespace qm::test {

enum class MessageKind { Inform, Warn, Error, Ask };

struct RecordedMessage {
  MessageKind kind;
  std::string text;
  std::string title;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
};

class ScriptedPrompter final : public Prompter {
 public:
  // Answers handed out in order. A question with no answer left fails the test and gets the
  // answer that changes nothing (Cancel / No / nullopt).
  std::deque<OverwriteAnswer> overwriteAnswers;
  std::deque<Button> askAnswers;
  std::deque<std::optional<std::string>> textAnswers;
  // Answer to every chooseFolder call; nullopt means the user cancelled.
  std::optional<FolderChoice> folderChoice;

  std::vector<RecordedMessage> messages;  // inform, warn, error and ask, in order
  std::vector<OverwriteQuestion> overwriteQuestions;
  std::vector<FolderRequest> folderRequests;
  std::vector<std::string> textCaptions;

  void inform(std::string_view text, std::string_view title) override;
  void warn(std::string_view text, std::string_view title) override;
  void error(std::string_view text, std::string_view title) override;
  Button ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) override;
  std::optional<std::string> askText(std::string_view caption, std::string_view preset) override;
  std::optional<FolderChoice> chooseFolder(const FolderRequest& request) override;
  OverwriteAnswer overwrite(const OverwriteQuestion& question) override;
};

class ScriptedProgress final : public Progress {
 public:
  // cancelled() answers false this many times, then true for good; negative = never.
  int cancelAfter = -1;

  std::vector<std::string> statuses;
  std::vector<int> percents;
  int cancelledCalls = 0;

  void status(std::string_view text) override { statuses.emplace_back(text); }
  void percent(int value) override { percents.push_back(value); }
  bool cancelled() override;
};

}  // namespace qm::test
