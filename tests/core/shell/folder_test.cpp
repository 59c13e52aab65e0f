// Move Folder, Kill Folder(s) and DeleteTree.

#include "core/shell/delete_tree.h"
#include "shell_fixture.h"

namespace qm::shell::test {
namespace {

class MoveFolderTest : public ShellTest {
 protected:
  MoveFolderTest() {
    put(left() / "src", "a.8bf", "A");
    request_.selectedFolders = {left() / "src"};
  }
};

TEST_F(MoveFolderTest, AsksThenMovesIntoThePassivePane) {
  request_.active.folder = left() / "src";  // the pane shows the folder that moves
  prompter_.askAnswers = {Button::Yes};
  auto outcome = cmd_MoveDir(ports_, request_);
  // The question's text is checked with the other destructive questions.
  EXPECT_EQ(std::tie(onlyMessage().title, onlyMessage().icon),
            std::tuple("Move Folder", Icon::Question));
  EXPECT_EQ(qm::test::readFile(right() / "src" / "a.8bf"), "A");
  EXPECT_TRUE(names(left()).empty());
  EXPECT_EQ(outcome.active.showFolder, left());
  EXPECT_TRUE(outcome.active.refresh && outcome.passive.refresh);
}

TEST_F(MoveFolderTest, SamePanesAreRefused) {
  request_.passive.folder = left() / ".";
  cmd_MoveDir(ports_, request_);
  EXPECT_EQ(onlyMessage().text, "The source folder is identical to the destination folder.");
  EXPECT_EQ(names(left()), std::vector<std::string>{"src"});
}

TEST_F(MoveFolderTest, AnotherFileSystemIsRefusedWithTheCopyHint) {
  fs_.otherDevice = right();
  prompter_.askAnswers = {Button::Yes};
  cmd_MoveDir(ports_, request_);
  EXPECT_EQ(prompter_.messages.back().text,
            "Move Folder works only within the same drive.\r\nPlease use the Copy command.");
  EXPECT_EQ(names(left()), std::vector<std::string>{"src"});
  EXPECT_TRUE(names(right()).empty());
}

TEST_F(MoveFolderTest, ExistingFolderOfThatNameIsNotReplaced) {
  stdfs::create_directory(right() / "src");
  prompter_.askAnswers = {Button::Yes};
  auto outcome = cmd_MoveDir(ports_, request_);
  EXPECT_EQ(outcome.failed.size(), 1u);
  EXPECT_TRUE(stdfs::exists(left() / "src" / "a.8bf"));
  EXPECT_TRUE(stdfs::is_empty(right() / "src"));
}

class KillFolderTest : public ShellTest {
 protected:
  // tree/a, tree/sub/b, tree/sub/locked, tree/sub/deeper/c
  KillFolderTest() {
    tree_ = left() / "tree";
    put(tree_, "a", "1");
    put(tree_ / "sub", "b", "2");
    locked_ = put(tree_ / "sub", "locked", "3");
    put(tree_ / "sub" / "deeper", "c", "4");
    request_.selectedFolders = {tree_};
  }
  stdfs::path tree_;
  stdfs::path locked_;
};

TEST_F(KillFolderTest, DeletesEverythingAndMovesPanesOut) {
  request_.passive.folder = tree_ / "sub";
  prompter_.askAnswers = {Button::Yes};
  auto outcome = cmd_KillDir(ports_, request_);
  EXPECT_EQ(std::tie(onlyMessage().title, onlyMessage().icon),
            std::tuple("Kill Folders", Icon::Critical));
  EXPECT_TRUE(names(left()).empty());
  EXPECT_EQ(outcome.passive.showFolder, left());
  EXPECT_FALSE(outcome.active.showFolder.has_value());
  EXPECT_TRUE(outcome.active.refresh);
}

TEST_F(KillFolderTest, LockedFileIsCountedAndStaysWithItsFolders) {
  fs_.failRemove = {locked_};
  prompter_.askAnswers = {Button::Yes};
  cmd_KillDir(ports_, request_);
  ASSERT_EQ(prompter_.messages.size(), 3u);
  EXPECT_EQ(prompter_.messages[1].text,
            " 1 files or folders couldn't be deleted.\rThey are probably used by running "
            "applications.");
  EXPECT_EQ(prompter_.messages[2].text,
            "Error while deleting...\rPlease check, if all selected files were deleted.");
  EXPECT_EQ(prompter_.messages[2].title, "Error");
  EXPECT_EQ(names(tree_), std::vector<std::string>{"sub"});
  EXPECT_EQ(names(tree_ / "sub"), std::vector<std::string>{"locked"});
}

TEST_F(KillFolderTest, DeleteTreeRemovesLinksWithoutFollowingThem) {
  auto outside = put(temp_ / "outside", "keep", "K");
  stdfs::create_directory_symlink(temp_ / "outside", tree_ / "link");
  stdfs::create_directory_symlink(temp_ / "outside", left() / "toplink");
  EXPECT_TRUE(DeleteTree(fs_, left() / "toplink").removed);
  auto result = DeleteTree(fs_, tree_);
  EXPECT_TRUE(result.removed);
  EXPECT_EQ(result.failures, 0);
  EXPECT_EQ(qm::test::readFile(outside), "K");
  EXPECT_TRUE(names(left()).empty());
}

TEST_F(KillFolderTest, DeleteTreeNeverTouchesARoot) {
  fs_.calls = 0;
  auto result = DeleteTree(fs_, tree_.root_path());
  EXPECT_FALSE(result.removed);
  EXPECT_EQ(fs_.calls, 0);
}

}  // namespace
}  // namespace qm::shell::test
