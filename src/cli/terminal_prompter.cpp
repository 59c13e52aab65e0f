#include "cli/terminal_prompter.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <string>

namespace qm::cli {
namespace {

// A signal handler can only reach static storage; this flag is the one piece of it.
volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) {
  interrupted = 1;
  std::signal(SIGINT, SIG_DFL);  // a second Ctrl-C ends the process at once
}

void printMessage(std::ostream& err, std::string_view title, std::string_view text) {
  if (!title.empty()) err << title << ": ";
  err << text << '\n';
}

}  // namespace

TerminalPrompter::TerminalPrompter(TerminalAnswers answers, std::istream& in, std::ostream& err,
                                   bool interactive)
    : answers_(std::move(answers)), in_(in), err_(err), interactive_(interactive) {}

void TerminalPrompter::inform(std::string_view text, std::string_view title) {
  printMessage(err_, title, text);
}
void TerminalPrompter::warn(std::string_view text, std::string_view title) {
  printMessage(err_, title, text);
}
void TerminalPrompter::error(std::string_view text, std::string_view title) {
  printMessage(err_, title, text);
}

std::optional<char> TerminalPrompter::readChoice(std::string_view choices) {
  std::string line;
  while (std::getline(in_, line)) {
    if (!line.empty()) {
      char c = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
      if (choices.find(c) != std::string_view::npos) return c;
    }
    err_ << "Please answer one of [" << choices << "]: " << std::flush;
  }
  return std::nullopt;
}

Button TerminalPrompter::ask(std::string_view text, std::string_view title, Buttons buttons, Icon) {
  const bool yesNo = buttons == Buttons::YesNo || buttons == Buttons::YesNoDefaultNo ||
                     buttons == Buttons::YesNoCancel;
  if (!interactive_) {
    printMessage(err_, title, text);
    // Without a person to answer, take the answer that changes nothing.
    return yesNo ? Button::No : Button::Cancel;
  }
  printMessage(err_, title, text);
  switch (buttons) {
    case Buttons::Ok:
      return Button::Ok;
    case Buttons::OkCancel:
      err_ << "[o]k / [c]ancel? " << std::flush;
      return readChoice("oc").value_or('c') == 'o' ? Button::Ok : Button::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoDefaultNo:
      err_ << "[y]es / [n]o? " << std::flush;
      return readChoice("yn").value_or('n') == 'y' ? Button::Yes : Button::No;
    case Buttons::YesNoCancel: {
      err_ << "[y]es / [n]o / [c]ancel? " << std::flush;
      char c = readChoice("ync").value_or('c');
      return c == 'y' ? Button::Yes : c == 'n' ? Button::No : Button::Cancel;
    }
    case Buttons::AbortRetryIgnore: {
      err_ << "[a]bort / [r]etry / [i]gnore? " << std::flush;
      char c = readChoice("ari").value_or('a');
      return c == 'r' ? Button::Retry : c == 'i' ? Button::Ignore : Button::Abort;
    }
    case Buttons::RetryCancel:
      err_ << "[r]etry / [c]ancel? " << std::flush;
      return readChoice("rc").value_or('c') == 'r' ? Button::Retry : Button::Cancel;
  }
  return Button::Cancel;
}

std::optional<std::string> TerminalPrompter::askText(std::string_view caption,
                                                     std::string_view preset) {
  if (!interactive_) return std::nullopt;
  err_ << caption << " [" << preset << "]: " << std::flush;
  std::string line;
  if (!std::getline(in_, line)) return std::nullopt;
  return line.empty() ? std::string(preset) : line;
}

std::optional<FolderChoice> TerminalPrompter::chooseFolder(const FolderRequest& request) {
  FolderChoice choice;
  choice.folder = answers_.destination.empty() ? request.presetFolder : answers_.destination;
  if (choice.folder.empty()) choice.folder = std::filesystem::current_path();
  choice.createSubFolders = answers_.createSubFolders;
  return choice;
}

OverwriteAnswer TerminalPrompter::overwrite(const OverwriteQuestion& question) {
  if (answers_.overwrite == OverwritePolicy::All) return OverwriteAnswer::OverwriteAll;
  if (answers_.overwrite == OverwritePolicy::None || !interactive_)
    return OverwriteAnswer::IgnoreAll;
  err_ << "Overwrite?\n" << question.destinationLine << '\n';
  if (question.sourceLine) err_ << "With:\n" << *question.sourceLine << '\n';
  err_ << "[o]verwrite / [i]gnore / overwrite [a]ll / ignore a[l]l / [c]ancel? " << std::flush;
  switch (readChoice("oialc").value_or('c')) {
    case 'o':
      return OverwriteAnswer::Overwrite;
    case 'i':
      return OverwriteAnswer::Ignore;
    case 'a':
      return OverwriteAnswer::OverwriteAll;
    case 'l':
      return OverwriteAnswer::IgnoreAll;
    default:
      return OverwriteAnswer::Cancel;
  }
}

InterruptProgress::InterruptProgress() {
  std::signal(SIGINT, onInterrupt);
}

bool InterruptProgress::cancelled() {
  return interrupted != 0;
}

}  // namespace qm::cli
