#include "core/shell/help_links.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(prompter.messages[0].text, "Qumo Error 53: File not found");
  EXPECT_EQ(prompter.messages[0].title, "Just a small problem...");
  EXPECT_EQ(prompter.messages[0].kind, test::MessageKind::Warn);
  EXPECT_EQ(prompter.messages[1].text, "Qumo Error 70: Permission denied\r\rContinue anyway?");
  EXPECT_EQ(prompter.messages[1].title, "An error occured, but don't panik!");
  EXPECT_EQ(prompter.messages[1].buttons, Buttons::YesNo);
  EXPECT_EQ(prompter.messages[1].icon, Icon::Exclamation);
}

TEST(HelpLinks, HelpPagesStayInTheHelpFolder) {
  EXPECT_EQ(helpPagePath("/p", "ffe.htm"), std::filesystem::path("/p/help/ffe.htm"));
  EXPECT_EQ(helpPagePath("/p", "tuts\\tutorials.htm"),
            std::filesystem::path("/p/help/tuts/tutorials.htm"));
  EXPECT_EQ(helpPagePath("/p", "..\\..\\etc/passwd"), std::filesystem::path("/p/help/etc/passwd"));
}

}  // namespace
}  // namespace qm::shell
