#include "core/shell/help_links.h"

#include <gtest/gtest.h>

namespace qm::shell {
namespace {

TEST(HelpLinks, MailtoAddsOnlyWhatIsGiven) {
  EXPECT_EQ(mailtoAddress("a@b.c", "", ""), "mailto:a@b.c");
  EXPECT_EQ(mailtoAddress("a@b.c", "Hi", ""), "mailto:a@b.c?subject=Hi");
  EXPECT_EQ(mailtoAddress("a@b.c", "Hi", "Body"), "mailto:a@b.c?subject=Hi&body=Body");
}

TEST(HelpLinks, ErrorTexts) {
  EXPECT_EQ(errorText(53, "File not found"), "Qumo Error 53: File not found");
  EXPECT_EQ(errorText(-2, "x"), "Qumo Error-2: x");
  EXPECT_EQ(errorTextContinue(53, "File not found"),
            "Qumo Error 53: File not found\r\rContinue anyway?");
  EXPECT_EQ(commentSubject("Quillmark 1.00"), "Feedback on Quillmark 1.00");
  EXPECT_EQ(supportSubject("Quillmark 1.00"), "I need help with Quillmark 1.00");
}

TEST(HelpLinks, HelpPagesStayInTheHelpFolder) {
  EXPECT_EQ(helpPagePath("/p", "ffe.htm"), std::filesystem::path("/p/help/ffe.htm"));
  EXPECT_EQ(helpPagePath("/p", "tuts\\tutorials.htm"),
            std::filesystem::path("/p/help/tuts/tutorials.htm"));
  EXPECT_EQ(helpPagePath("/p", "..\\..\\etc/passwd"), std::filesystem::path("/p/help/etc/passwd"));
}

}  // namespace
}  // namespace qm::shell
