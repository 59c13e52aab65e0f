// Delete to the trash, FFL placeholders, Kill, Kill Folder(s) and DeleteTree.

#include "core/shell/delete_tree.h"
#include "shell_fixture.h"

namespace qm::shell::test {
namespace {

using qm::test::readFile;

TEST_F(ShellTest, DeleteAsksThenTrashesAndReportsWhatStayed) {
  auto a = put(left(), "a.8bf", "A");
  auto b = put(left(), "b.8bf", "B");
  request_.active.view = PaneView::Plugin;
  request_.selectedFiles = {a, b, a};
  trash_.refuse = {b};
  prompter_.askAnswers = {Button::Yes};
  auto outcome = cmd_DeleteFiles(ports_, request_);
  ASSERT_EQ(prompter_.messages.size(), 2u);
  EXPECT_EQ(prompter_.messages[0].text,
            "Move these 2 files to the trash?\r\n" + a.string() + "\r\n" + b.string());
  EXPECT_EQ(prompter_.messages[0].title, "Delete");
  EXPECT_EQ(prompter_.messages[1].text,
            " 1 file(s) or folder(s) couldn't be moved to the trash:\r\n" + b.string() + ": " +
                std::make_error_code(std::errc::device_or_resource_busy).message());
  EXPECT_EQ(trash_.trashed, std::vector<stdfs::path>{a});
  EXPECT_EQ(outcome.removedItems, std::vector<stdfs::path>{a});
  EXPECT_EQ(names(left()), std::vector<std::string>{"b.8bf"});
}

class FflDeleteTest : public ShellTest {
 protected:
  FflDeleteTest() {
    library_ = put(left(), "lib.ffl", kLibrary);
    request_.active.view = PaneView::Ffl;
    request_.library = library_;
  }
  static constexpr std::string_view kLibrary = "FFL1.0\r\n2\r\nOne.8bf\r\nCat\r\nTwo.8bf\r\nC";
  stdfs::path library_;
};

TEST_F(FflDeleteTest, WritesTwoSlashesOverEachEntryAndKeepsTheSize) {
  // Entries at 11 and 25; 37 leaves one byte, 99 is past the end: both stale positions.
  request_.fflPositions = {11, 25, 37, 99};
  prompter_.askAnswers = {Button::Yes};
  auto outcome = cmd_DeleteFiles(ports_, request_);
  EXPECT_EQ(onlyMessage().text, "Delete these 4 entries from " + library_.string() + "?");
  EXPECT_EQ(std::tie(onlyMessage().title, onlyMessage().icon),
            std::tuple("Delete FFL Item", Icon::Question));
  EXPECT_EQ(readFile(library_), "FFL1.0\r\n2\r\n//e.8bf\r\nCat\r\n//o.8bf\r\nC");
  EXPECT_EQ(outcome.removedFflPositions, (std::vector<std::uint64_t>{11, 25}));
  EXPECT_EQ(names(left()), std::vector<std::string>{"lib.ffl"});
}

TEST_F(FflDeleteTest, NoOrARefusedReplaceLeavesTheLibraryAndNoTemporaryFile) {
  request_.fflPositions = {11};
  for (bool refusedReplace : {false, true}) {
    prompter_.askAnswers = {refusedReplace ? Button::Yes : Button::No};
    if (refusedReplace) fs_.failRenameFrom = {left() / ".lib.ffl.part"};
    auto outcome = cmd_DeleteFiles(ports_, request_);
    EXPECT_EQ(readFile(library_), kLibrary);
    EXPECT_EQ(names(left()), std::vector<std::string>{"lib.ffl"});
    EXPECT_TRUE(outcome.removedFflPositions.empty());
    EXPECT_EQ(prompter_.messages.back().title, "Delete FFL Item");
  }
}

TEST_F(ShellTest, KillAsksWithTheStopIconAndErasesUntilEscape) {
  request_.selectedFiles = {put(left(), "a.8bf", "A"), put(left(), "b.8bf", "B"),
                            put(left(), "c.8bf", "C")};
  prompter_.askAnswers = {Button::Yes};
  progress_.cancelAfter = 2;
  auto outcome = cmd_Kill(ports_, request_);
  EXPECT_EQ(onlyMessage().text,
            "These 3 files will be erased and won't be put in the trash can.\rProceed anyway?" +
                ("\r\n" + request_.selectedFiles[0].string()) + "\r\n" +
                request_.selectedFiles[1].string() + "\r\n" + request_.selectedFiles[2].string());
  EXPECT_EQ(std::tie(onlyMessage().title, onlyMessage().icon, onlyMessage().buttons),
            std::tuple("Kill", Icon::Critical, Buttons::YesNoDefaultNo));
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_EQ(names(left()), std::vector<std::string>{"c.8bf"});
  EXPECT_TRUE(outcome.active.refresh);
  EXPECT_TRUE(outcome.active.catalogueStale);
}

TEST_F(ShellTest, KillInPluginViewDropsRowsOfErasedFilesOnly) {
  auto a = put(left(), "a.8bf", "A");
  auto locked = put(left(), "locked.8bf", "L");
  request_.active.view = PaneView::Plugin;
  request_.selectedFiles = {a, locked};
  fs_.failRemove = {locked};
  prompter_.askAnswers = {Button::Yes};
  auto outcome = cmd_Kill(ports_, request_);
  EXPECT_EQ(outcome.removedItems, std::vector<stdfs::path>{a});
  EXPECT_EQ(outcome.failed, std::vector<stdfs::path>{locked});
  EXPECT_EQ(prompter_.messages.back().text,
            " 1 file(s) or folder(s) couldn't be erased:\r\n" + locked.string() + ": " +
                std::make_error_code(std::errc::device_or_resource_busy).message());
  EXPECT_FALSE(outcome.active.refresh);
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

// One message names the file that stayed and the system's reason.
TEST_F(KillFolderTest, LockedFileIsNamedWithItsReasonAndStaysWithItsFolders) {
  fs_.failRemove = {locked_};
  prompter_.askAnswers = {Button::Yes};
  cmd_KillDir(ports_, request_);
  ASSERT_EQ(prompter_.messages.size(), 2u);
  EXPECT_EQ(prompter_.messages[1].text,
            " 1 file(s) or folder(s) couldn't be deleted:\r\n" + locked_.string() + ": " +
                std::make_error_code(std::errc::device_or_resource_busy).message());
  EXPECT_EQ(prompter_.messages[1].title, "Kill Folders");
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
