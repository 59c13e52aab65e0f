#include "core/shell/help_links.h"

namespace qm::shell {

std::filesystem::path helpPagePath(const std::filesystem::path& programDir, std::string_view page) {
  std::filesystem::path path = programDir / "help";
  std::size_t start = 0;
  while (start < page.size()) {
    std::size_t end = page.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = page.size();
    std::string_view part = page.substr(start, end - start);
    // A page name never leaves the help folder.
    if (!part.empty() && part != "." && part != "..") path /= std::string(part);
    start = end + 1;
  }
  return path;
}

std::string mailtoAddress(std::string_view address, std::string_view subject,
                          std::string_view body) {
  std::string target = "mailto:" + std::string(address);
  if (!subject.empty()) target += "?subject=" + std::string(subject);
  if (!body.empty()) target += "&body=" + std::string(body);
  return target;
}

std::string errorText(long long number, std::string_view description) {
  std::string signedNumber = number < 0 ? std::to_string(number) : " " + std::to_string(number);
  return "Qumo Error" + signedNumber + ": " + std::string(description);
}

std::string errorTextContinue(long long number, std::string_view description) {
  return errorText(number, description) + "\r\r" + "Continue anyway?";
}

void ErrorMessage(Prompter& prompter, long long number, std::string_view description) {
  prompter.warn(errorText(number, description), kErrorTitle);
}

Button ErrorMessage2(Prompter& prompter, long long number, std::string_view description) {
  return prompter.ask(errorTextContinue(number, description), kErrorTitleContinue, Buttons::YesNo,
                      Icon::Exclamation);
}

std::string commentSubject(std::string_view productTitle) {
  return "Feedback on " + std::string(productTitle);
}

std::string supportSubject(std::string_view productTitle) {
  return "I need help with " + std::string(productTitle);
}

}  // namespace qm::shell
