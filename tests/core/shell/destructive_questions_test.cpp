// The questions before Delete, Kill, Kill Folder(s) and Move Folder: they name what they act
// on, default to No, and "No" leaves everything where it was.

#include "shell_fixture.h"

namespace qm::shell::test {
namespace {

using Command = CommandOutcome (*)(ShellPorts&, const ShellRequest&);

struct QuestionCase {
  const char* what;
  Command command;
  bool onFolder;
  std::string_view expected;  // "@" stands for the target's path
};

class DestructiveQuestionTest : public ShellTest,
                                public ::testing::WithParamInterface<QuestionCase> {};

TEST_P(DestructiveQuestionTest, NamesTheTargetDefaultsToNoAndNoKeepsIt) {
  const auto& c = GetParam();
  auto target = c.onFolder ? left() / "plugins" : put(left(), "one.8bf", "A");
  if (c.onFolder) put(target, "inner.8bf", "B");
  request_.active.folder = left();
  request_.passive.folder = right();
  (c.onFolder ? request_.selectedFolders : request_.selectedFiles) = {target};
  prompter_.askAnswers = {Button::No};

  auto outcome = c.command(ports_, request_);

  std::string expected(c.expected);
  if (auto at = expected.find('@'); at != std::string::npos)
    expected.replace(at, 1, target.string());
  if (auto at = expected.find('#'); at != std::string::npos)
    expected.replace(at, 1, (right() / "plugins").string());
  EXPECT_EQ(onlyMessage().text, expected);
  EXPECT_EQ(onlyMessage().buttons, Buttons::YesNoDefaultNo);
  EXPECT_TRUE(outcome.done.empty());
  EXPECT_TRUE(stdfs::exists(target));
  EXPECT_TRUE(trash_.trashed.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, DestructiveQuestionTest,
    ::testing::Values(QuestionCase{"Delete", &cmd_DeleteFiles, false, "Move @ to the trash?"},
                      QuestionCase{
                          "Kill", &cmd_Kill, false,
                          "@ will be erased and won't be put in the trash can.\rProceed anyway?"},
                      QuestionCase{"KillFolder", &cmd_KillDir, true,
                                   "Kill the folder @ and the files it contains?"},
                      QuestionCase{"MoveFolder", &cmd_MoveDir, true, "Move  @  to  #  ?"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(ShellTest, MoveFolderIntoItsOwnSubFolderIsRefusedBeforeAnyQuestion) {
  auto source = left() / "a";
  put(source / "sub", "x.8bf", "X");
  request_.active.folder = left();
  request_.selectedFolders = {source};
  for (const auto& passive : {source / "sub", source}) {
    SCOPED_TRACE(passive.string());
    prompter_.messages.clear();
    request_.passive.folder = passive;

    auto outcome = cmd_MoveDir(ports_, request_);

    EXPECT_EQ(onlyMessage().kind, qm::test::MessageKind::Warn);
    EXPECT_EQ(onlyMessage().text,
              "A folder can't be moved into itself or into one of its sub folders.\r\n"
              "Please choose a destination outside of it.");
    EXPECT_TRUE(outcome.failed.empty());
    EXPECT_TRUE(stdfs::exists(source / "sub" / "x.8bf"));
  }
}

}  // namespace
}  // namespace qm::shell::test
