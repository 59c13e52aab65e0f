#include "scripted_ports.h"

#include <gtest/gtest.h>

namespace qm::test {

void ScriptedPrompter::inform(std::string_view text, std::string_view title) {
  messages.push_back({MessageKind::Inform, std::string(text), std::string(title)});
}

void ScriptedPrompter::warn(std::string_view text, std::string_view title) {
  messages.push_back({MessageKind::Warn, std::string(text), std::string(title)});
}

void ScriptedPrompter::error(std::string_view text, std::string_view title) {
  messages.push_back({MessageKind::Error, std::string(text), std::string(title)});
}

Button ScriptedPrompter::ask(std::string_view text, std::string_view title, Buttons buttons,
                             Icon icon) {
  messages.push_back({MessageKind::Ask, std::string(text), std::string(title), buttons, icon});
  if (askAnswers.empty()) {
    ADD_FAILURE() << "unscripted question: " << text;
    return buttons == Buttons::YesNo ? Button::No : Button::Cancel;
  }
  Button answer = askAnswers.front();
  askAnswers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedPrompter::askText(std::string_view caption, std::string_view) {
  textCaptions.emplace_back(caption);
  if (textAnswers.empty()) {
    ADD_FAILURE() << "unscripted text request: " << caption;
    return std::nullopt;
  }
  auto answer = textAnswers.front();
  textAnswers.pop_front();
  return answer;
}

std::optional<FolderChoice> ScriptedPrompter::chooseFolder(const FolderRequest& request) {
  folderRequests.push_back(request);
  return folderChoice;
}

OverwriteAnswer ScriptedPrompter::overwrite(const OverwriteQuestion& question) {
  overwriteQuestions.push_back(question);
  if (overwriteAnswers.empty()) {
    ADD_FAILURE() << "unscripted overwrite question: " << question.destinationLine;
    return OverwriteAnswer::Cancel;
  }
  OverwriteAnswer answer = overwriteAnswers.front();
  overwriteAnswers.pop_front();
  return answer;
}

bool ScriptedProgress::cancelled() {
  ++cancelledCalls;
  return cancelAfter >= 0 && cancelledCalls > cancelAfter;
}

}  // namespace qm::test
