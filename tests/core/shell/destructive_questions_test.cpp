// The questions before Delete, Kill, Kill Folder(s) and Move Folder: they name what they act
// on, default to No, and "No" leaves everything where it was.

#include "shell_fixture.h"

namespace qm::shell::test {
namespace {

using Command = CommandOutcome (*)(ShellPorts&, const ShellRequest&);

TEST_F(ShellTest, DestructiveQuestionsNameTheTargetDefaultToNoAndNoKeepsIt) {
  struct Case {
    Command command;
    bool onFolder;
    std::string_view expected;  // "@" stands for the target's path, "#" for the destination
  };
  const Case cases[] = {
      {&cmd_DeleteFiles, false, "Move @ to the trash?"},
      {&cmd_Kill, false, "@ will be erased and won't be put in the trash can.\rProceed anyway?"},
      {&cmd_KillDir, true, "Kill the folder @ and the files it contains?"},
      {&cmd_MoveDir, true, "Move  @  to  #  ?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    auto target = c.onFolder ? left() / "plugins" : put(left(), "one.8bf", "A");
    if (c.onFolder) put(target, "inner.8bf", "B");
    request_.selectedFiles.clear();
    request_.selectedFolders.clear();
    (c.onFolder ? request_.selectedFolders : request_.selectedFiles) = {target};
    prompter_.messages.clear();
    prompter_.askAnswers = {Button::No};
    auto outcome = c.command(ports_, request_);
    std::string expected(c.expected);
    expected.replace(expected.find('@'), 1, target.string());
    if (auto at = expected.find('#'); at != std::string::npos)
      expected.replace(at, 1, (right() / "plugins").string());
    EXPECT_EQ(onlyMessage().text, expected);
    EXPECT_EQ(onlyMessage().buttons, Buttons::YesNoDefaultNo);
    EXPECT_TRUE(outcome.done.empty());
    EXPECT_TRUE(stdfs::exists(target));
    EXPECT_TRUE(trash_.trashed.empty());
  }
}

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
