#include "scripted_ports.h"

#include <gtest/gtest.h>

namespace qm::test {
namespace {

// The next scripted answer; with none left the question fails the test and gets fallback.
template <typename Answer, typename Fallback>
Answer next(std::deque<Answer>& answers, Fallback fallback, std::string_view question) {
  if (answers.empty()) {
    ADD_FAILURE() << "unscripted question: " << question;
    return fallback;
  }
  Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace

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
  return next(askAnswers, buttons == Buttons::YesNo ? Button::No : Button::Cancel, text);
}

std::optional<std::string> ScriptedPrompter::askText(std::string_view caption, std::string_view) {
  textCaptions.emplace_back(caption);
  return next(textAnswers, std::nullopt, caption);
}

std::optional<FolderChoice> ScriptedPrompter::chooseFolder(const FolderRequest& request) {
  folderRequests.push_back(request);
  return folderChoice;
}

OverwriteAnswer ScriptedPrompter::overwrite(const OverwriteQuestion& question) {
  overwriteQuestions.push_back(question);
  return next(overwriteAnswers, OverwriteAnswer::Cancel, question.destinationLine);
}

bool ScriptedProgress::cancelled() {
  ++cancelledCalls;
  return cancelAfter >= 0 && cancelledCalls > cancelAfter;
}

}  // namespace qm::test
