// Every command refuses the views and selections it does not work with, with its own text,
// before it touches a file or asks anything else. The questions before Delete, Kill, Kill
// Folder(s) and Move Folder name what they act on, default to No, and "No" keeps everything.

#include "shell_fixture.h"

namespace qm::shell::test {
namespace {

using Command = CommandOutcome (*)(ShellPorts&, const ShellRequest&);

TEST_F(ShellTest, CommandsRefuseOtherViewsAndEmptySelectionsAndChangeNothing) {
  struct Refusal {
    Command command;
    PaneView view;
    bool withFile, withFolder;
    const char* text;
    const char* title;
  };
  using enum PaneView;
  // clang-format off
  const Refusal refusals[] = {
      {cmd_CopyFiles, Ffl, true, false, "Copy only work in File and Plugin View!", "Copy"},
      {cmd_CopyFiles, File, false, false, "Please select one or more files.", "Attention"},
      {cmd_MoveFiles, Ffl, true, false, "Move only works in File and Plugin View!", "Move"},
      {cmd_MoveFiles, Plugin, false, false, "Please select one or more files.", "Attention"},
      {cmd_RenameFiles, Plugin, true, false, "Rename only works in File View.", "Rename"},
      {cmd_MakeDir, Plugin, false, false, "Create Folder only works in File View.",
       "Create Folder"},
      {cmd_RenameFolder, Ffl, false, true, "Rename Folder only works in File View!",
       "Rename Folder"},
      {cmd_RenameFolder, File, false, false, "Please select a folder!", "Rename Folder"},
      {cmd_MoveDir, Plugin, false, true, "Move Folder only works in File View!", "Move Folder"},
      {cmd_MoveDir, File, false, false, "No Source Folder selected.", "Move Folder"},
      {cmd_KillDir, Ffl, false, true, "Kill Folder only works in File View.", "Kill Folders"},
  };
  // clang-format on
  auto file = put(left(), "a.8bf", "A");
  stdfs::create_directory(left() / "sub");
  request_.passivePaneFolder = true;
  for (const auto& refusal : refusals) {
    SCOPED_TRACE(refusal.text);
    prompter_.messages.clear();
    request_.active.view = refusal.view;
    request_.selectedFiles = refusal.withFile ? std::vector{file} : std::vector<stdfs::path>{};
    request_.selectedFolders =
        refusal.withFolder ? std::vector{left() / "sub"} : std::vector<stdfs::path>{};
    auto outcome = refusal.command(ports_, request_);
    const auto& message = onlyMessage();
    EXPECT_EQ(message.kind, qm::test::MessageKind::Warn);
    EXPECT_EQ(message.text, refusal.text);
    EXPECT_EQ(message.title, refusal.title);
    EXPECT_TRUE(outcome.done.empty());
    EXPECT_FALSE(outcome.active.refresh || outcome.passive.refresh);
    EXPECT_EQ(names(left()), (std::vector<std::string>{"a.8bf", "sub"}));
    EXPECT_TRUE(names(right()).empty());
  }
}

TEST_F(ShellTest, CopyIntoTheSourceFolderIsRefusedBeforeAnyQuestion) {
  auto file = put(left(), "a.8bf", "A");
  request_.selectedFiles = {file};
  prompter_.folderChoice = FolderChoice{left() / "." / "", false};
  auto outcome = cmd_CopyFiles(ports_, request_);
  EXPECT_EQ(onlyMessage().text,
            "The source folder is identical to the destination folder!\r\n"
            "Please select a different folder.");
  EXPECT_EQ(onlyMessage().title, "Copy");
  EXPECT_TRUE(prompter_.overwriteQuestions.empty());
  EXPECT_EQ(names(left()), std::vector<std::string>{"a.8bf"});
  EXPECT_TRUE(outcome.destination.empty());
}

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
