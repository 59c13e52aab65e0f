// Every command refuses the views and selections it does not work with, with its own text,
// before it touches a file or asks anything else.

#include "shell_fixture.h"

namespace qm::shell::test {
namespace {

using Command = CommandOutcome (*)(ShellPorts&, const ShellRequest&);

struct Refusal {
  const char* name;
  Command command;
  PaneView view;
  bool withFile;
  bool withFolder;
  const char* text;
  const char* title;
};

const Refusal kRefusals[] = {
    {"CopyInFfl", cmd_CopyFiles, PaneView::Ffl, true, false,
     "Copy only work in File and Plugin View!", "Copy"},
    {"CopyNothing", cmd_CopyFiles, PaneView::File, false, false, "Please select one or more files.",
     "Attention"},
    {"MoveInFfl", cmd_MoveFiles, PaneView::Ffl, true, false,
     "Move only works in File and Plugin View!", "Move"},
    {"MoveNothing", cmd_MoveFiles, PaneView::Plugin, false, false,
     "Please select one or more files.", "Attention"},
    {"RenameInPlugin", cmd_RenameFiles, PaneView::Plugin, true, false,
     "Rename only works in File View.", "Rename"},
    {"CreateFolderInPlugin", cmd_MakeDir, PaneView::Plugin, false, false,
     "Create Folder only works in File View.", "Create Folder"},
    {"RenameFolderInFfl", cmd_RenameFolder, PaneView::Ffl, false, true,
     "Rename Folder only works in File View!", "Rename Folder"},
    {"RenameFolderNone", cmd_RenameFolder, PaneView::File, false, false, "Please select a folder!",
     "Rename Folder"},
    {"MoveFolderInPlugin", cmd_MoveDir, PaneView::Plugin, false, true,
     "Move Folder only works in File View!", "Move Folder"},
    {"MoveFolderNone", cmd_MoveDir, PaneView::File, false, false, "No Source Folder selected.",
     "Move Folder"},
    {"KillFolderInFfl", cmd_KillDir, PaneView::Ffl, false, true,
     "Kill Folder only works in File View.", "Kill Folders"},
};

void PrintTo(const Refusal& refusal, std::ostream* os) {
  *os << refusal.name;
}

class RefusalTest : public ShellTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, ShowsItsTextAndChangesNothing) {
  const auto& refusal = GetParam();
  auto file = put(left(), "a.8bf", "A");
  stdfs::create_directory(left() / "sub");
  request_.active.view = refusal.view;
  request_.passivePaneFolder = true;
  if (refusal.withFile) request_.selectedFiles = {file};
  if (refusal.withFolder) request_.selectedFolders = {left() / "sub"};

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

INSTANTIATE_TEST_SUITE_P(Shell, RefusalTest, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

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

TEST_F(ShellTest, MoveIntoTheSourceFolderThroughTheOptionIsRefused) {
  request_.selectedFiles = {put(left(), "a.8bf", "A")};
  request_.passive.folder = left();
  request_.passivePaneFolder = true;

  cmd_MoveFiles(ports_, request_);

  EXPECT_EQ(onlyMessage().title, "Move");
  EXPECT_TRUE(onlyMessage().text.starts_with("The source folder is identical"));
  EXPECT_TRUE(prompter_.folderRequests.empty());
}

}  // namespace
}  // namespace qm::shell::test
