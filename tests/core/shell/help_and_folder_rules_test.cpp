// Help links and error boxes, and the entries and typed text of the Select Folder dialog.

#include <gtest/gtest.h>

#include "core/shell/help_links.h"
#include "core/shell/select_folder_rules.h"
#include "support/scripted_ports.h"

namespace qm::shell {
namespace {

TEST(HelpLinks, MailtoAddsOnlyWhatIsGiven) {
  EXPECT_EQ(mailtoAddress("a@b.c", "", ""), "mailto:a@b.c");
  EXPECT_EQ(mailtoAddress("a@b.c", "Hi", ""), "mailto:a@b.c?subject=Hi");
  EXPECT_EQ(mailtoAddress("a@b.c", "Hi", "Body"), "mailto:a@b.c?subject=Hi&body=Body");
}

TEST(HelpLinks, ErrorBoxes) {
  test::ScriptedPrompter prompter;
  prompter.askAnswers = {Button::No};
  ErrorMessage(prompter, 53, "File not found");
  EXPECT_EQ(ErrorMessage2(prompter, 70, "Permission denied"), Button::No);
  ASSERT_EQ(prompter.messages.size(), 2u);
  const auto& [warn, ask] = std::tie(prompter.messages[0], prompter.messages[1]);
  EXPECT_EQ(std::tie(warn.kind, warn.text, warn.title),
            std::tuple(test::MessageKind::Warn, "Qumo Error 53: File not found",
                       "Just a small problem..."));
  EXPECT_EQ(std::tie(ask.text, ask.title, ask.buttons, ask.icon),
            std::tuple("Qumo Error 70: Permission denied\r\rContinue anyway?",
                       "An error occured, but don't panik!", Buttons::YesNo, Icon::Exclamation));
}

TEST(HelpLinks, HelpPagesStayInTheHelpFolder) {
  EXPECT_EQ(helpPagePath("/p", "ffe.htm"), std::filesystem::path("/p/help/ffe.htm"));
  EXPECT_EQ(helpPagePath("/p", "tuts\\tutorials.htm"),
            std::filesystem::path("/p/help/tuts/tutorials.htm"));
  EXPECT_EQ(helpPagePath("/p", "..\\..\\etc/passwd"), std::filesystem::path("/p/help/etc/passwd"));
}

using Entries = std::vector<std::string>;

TEST(SelectFolderEntries, SamePanesGiveTheFolderOncePassiveBeforeActiveNoPresetNoEntry) {
  EXPECT_EQ(selectFolderEntries("/drop", "/plug/", "/plug", {"/a/", "/plug"}),
            (Entries{"/drop/", "/plug/", "/a/", "/plug/"}));
  EXPECT_EQ(selectFolderEntries({}, "/right", "/left", {}), (Entries{"/right/", "/left/"}));
}

TEST(SelectFolderText, SeparatorIsAddedBeforeBlanksAreTrimmed) {
  EXPECT_EQ(cleanFolderText("/tmp/new"), "/tmp/new/");
  EXPECT_EQ(cleanFolderText("  /tmp/new/"), "/tmp/new/");
  // The separator goes after the trailing blank, which then stays inside the name.
  EXPECT_EQ(cleanFolderText("/tmp/new "), "/tmp/new /");
  EXPECT_EQ(cleanFolderText("   "), "/");
}

}  // namespace
}  // namespace qm::shell
