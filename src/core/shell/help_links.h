#pragma once
// Targets and texts of the help, web, mail and error helpers. The platform layer hands the
// targets to the desktop and shows the texts; building them needs no window.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/ports.h"

namespace qm::shell {

inline constexpr std::string_view kNoHtmlViewer = "You have no HTML Viewer installed!";
inline constexpr std::string_view kNoEmailProgram = "You have no email application installed!";
inline constexpr std::string_view kErrorTitle = "Just a small problem...";
inline constexpr std::string_view kErrorTitleContinue = "An error occured, but don't panik!";

// Product addresses used by the Help menu.
inline constexpr std::string_view kHomePage = "https://quillmark.example.org/";
inline constexpr std::string_view kHomePageTitle = "Quillmark Home Page";
inline constexpr std::string_view kSupportAddress = "support@quillmark.example.org";

// program folder / "help" / page; page names may hold a sub folder in either separator
// ("tuts\tutorials.htm").
std::filesystem::path helpPagePath(const std::filesystem::path& programDir, std::string_view page);

// "mailto:" + address, then "?subject=" + subject and "&body=" + body when not empty.
std::string mailtoAddress(std::string_view address, std::string_view subject,
                          std::string_view body);

// "Qumo Error" + the number with its sign position + ": " + the description.
std::string errorText(long long number, std::string_view description);
// The same followed by two line breaks and "Continue anyway?".
std::string errorTextContinue(long long number, std::string_view description);

// The two general error boxes, with the exclamation icon: ErrorMessage a warning with OK,
// ErrorMessage2 asking whether to go on (Yes or No, returned).
void ErrorMessage(Prompter& prompter, long long number, std::string_view description);
Button ErrorMessage2(Prompter& prompter, long long number, std::string_view description);

// Subjects of the two mail entries of the Help menu.
std::string commentSubject(std::string_view productTitle);
std::string supportSubject(std::string_view productTitle);

}  // namespace qm::shell
