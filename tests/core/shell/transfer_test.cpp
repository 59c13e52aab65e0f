// Copy, Move and Move Folder: destination, overwrite answers across a run, cancelling, and
// failures that must leave every file either handled or untouched.

#include "shell_fixture.h"

namespace qm::shell::test {
namespace {

using qm::test::readFile;

class TransferTest : public ShellTest {
 protected:
  // a, b, c in the left pane; b and c also exist (with other bytes) on the right.
  void threeFilesTwoExisting() {
    request_.selectedFiles = {put(left(), "a.8bf", "new a"), put(left(), "b.8bf", "new b"),
                              put(left(), "c.8bf", "new c")};
    put(right(), "b.8bf", "old b");
    put(right(), "c.8bf", "old c");
    request_.passivePaneFolder = true;
  }
  std::vector<std::string> rightContents() {
    return {readFile(right() / "a.8bf"), readFile(right() / "b.8bf"), readFile(right() / "c.8bf")};
  }
};

using A = OverwriteAnswer;

TEST_F(TransferTest, OverwriteAnswersDecideEachExistingFileInThePassivePane) {
  struct Case {
    std::vector<A> answers;
    std::vector<std::string> expected;  // a, b, c on the right afterwards
    std::size_t questions;
    bool cancelled;
  };
  const Case cases[] = {
      {{A::OverwriteAll}, {"new a", "new b", "new c"}, 1, false},
      {{A::Ignore, A::Overwrite}, {"new a", "old b", "new c"}, 2, false},
      {{A::Cancel}, {"new a", "old b", "old c"}, 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.questions);
    stdfs::remove(right() / "a.8bf");
    threeFilesTwoExisting();
    prompter_.overwriteQuestions.clear();
    prompter_.overwriteAnswers = {c.answers.begin(), c.answers.end()};
    auto outcome = cmd_CopyFiles(ports_, request_);
    EXPECT_EQ(rightContents(), c.expected);
    EXPECT_EQ(prompter_.overwriteQuestions.size(), c.questions);
    EXPECT_EQ(outcome.cancelled, c.cancelled);
    EXPECT_EQ(outcome.destination, right());
    EXPECT_TRUE(outcome.passive.catalogueStale && outcome.passive.refresh);
    EXPECT_FALSE(outcome.passive.rebuildPluginList);
    // The run ends by resetting the shared mode.
    EXPECT_EQ(overwrite_.mode(), OverwriteAnswer::Overwrite);
  }
  EXPECT_TRUE(prompter_.folderRequests.empty());
  EXPECT_TRUE(prompter_.messages.empty());
  EXPECT_EQ(readFile(left() / "b.8bf"), "new b");
}

TEST_F(TransferTest, EscapeStopsBetweenFiles) {
  threeFilesTwoExisting();
  progress_.cancelAfter = 1;
  auto outcome = cmd_CopyFiles(ports_, request_);
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_EQ(outcome.done, std::vector<stdfs::path>{left() / "a.8bf"});
  EXPECT_EQ(readFile(right() / "b.8bf"), "old b");
}

TEST_F(TransferTest, DialogChoiceIsTheDestinationAndCancelDoesNothing) {
  request_.selectedFiles = {put(left(), "a.8bf", "A")};
  stdfs::create_directory(temp_ / "chosen");
  prompter_.folderChoice = FolderChoice{temp_ / "chosen", false};
  cmd_CopyFiles(ports_, request_);
  ASSERT_EQ(prompter_.folderRequests.size(), 1u);
  EXPECT_TRUE(prompter_.folderRequests[0].presetFolder.empty());
  EXPECT_FALSE(prompter_.folderRequests[0].keepPassivePane);
  EXPECT_EQ(readFile(temp_ / "chosen" / "a.8bf"), "A");
  prompter_.folderChoice.reset();
  auto outcome = cmd_MoveFiles(ports_, request_);
  EXPECT_TRUE(outcome.destination.empty());
  EXPECT_TRUE(stdfs::exists(left() / "a.8bf"));
  EXPECT_TRUE(prompter_.messages.empty());
  // A drop target is the preset and keeps the passive pane.
  request_.dropTarget = right();
  prompter_.folderChoice = FolderChoice{right(), false};
  cmd_MoveFiles(ports_, request_);
  ASSERT_EQ(prompter_.folderRequests.size(), 3u);
  EXPECT_EQ(prompter_.folderRequests[2].presetFolder, right());
  EXPECT_TRUE(prompter_.folderRequests[2].keepPassivePane);
  EXPECT_EQ(readFile(right() / "a.8bf"), "A");
}

TEST_F(TransferTest, FailedCopyKeepsTheOldFileAndReports) {
  threeFilesTwoExisting();
  fs_.failCopyFrom = {left() / "b.8bf"};
  prompter_.overwriteAnswers = {A::OverwriteAll};
  auto outcome = cmd_CopyFiles(ports_, request_);
  EXPECT_EQ(rightContents(), (std::vector<std::string>{"new a", "old b", "new c"}));
  EXPECT_EQ(names(right()), (std::vector<std::string>{"a.8bf", "b.8bf", "c.8bf"}));
  EXPECT_EQ(outcome.failed, std::vector<stdfs::path>{left() / "b.8bf"});
  EXPECT_EQ(onlyMessage().text, " 1 file(s) or folder(s) couldn't be copied:\r\n" +
                                    (left() / "b.8bf").string() + ": " +
                                    std::make_error_code(std::errc::no_space_on_device).message());
  EXPECT_EQ(onlyMessage().title, "Copy");
}

TEST_F(TransferTest, MoveRenamesIntoTheDestination) {
  threeFilesTwoExisting();
  prompter_.overwriteAnswers = {A::Ignore, A::Overwrite};
  auto outcome = cmd_MoveFiles(ports_, request_);
  EXPECT_EQ(rightContents(), (std::vector<std::string>{"new a", "old b", "new c"}));
  EXPECT_EQ(names(left()), std::vector<std::string>{"b.8bf"});
  EXPECT_TRUE(outcome.active.refresh && outcome.passive.refresh);
  EXPECT_TRUE(outcome.active.catalogueStale && outcome.passive.catalogueStale);
  EXPECT_TRUE(outcome.removedItems.empty());
  EXPECT_TRUE(outcome.deselectedItems.empty());
}

TEST_F(TransferTest, MoveInPluginViewDropsMovedRowsAndDeselectsSkippedOnes) {
  threeFilesTwoExisting();
  request_.active.view = PaneView::Plugin;
  // A multi-filter plugin has two rows of the same file.
  request_.selectedFiles.push_back(left() / "a.8bf");
  prompter_.overwriteAnswers = {A::IgnoreAll};
  auto outcome = cmd_MoveFiles(ports_, request_);
  EXPECT_EQ(outcome.removedItems, std::vector<stdfs::path>{left() / "a.8bf"});
  EXPECT_EQ(outcome.deselectedItems,
            (std::vector<stdfs::path>{left() / "b.8bf", left() / "c.8bf"}));
  EXPECT_TRUE(outcome.active.rebuildPluginList);
  EXPECT_FALSE(outcome.active.refresh);
}

class CrossDeviceMove : public TransferTest {
 protected:
  CrossDeviceMove() {
    fs_.otherDevice = right();
    request_.selectedFiles = {left() / "a.8bf"};
    request_.passivePaneFolder = true;
  }
};

TEST_F(CrossDeviceMove, CopiesVerifiesThenRemovesTheSourceOrKeepsBoth) {
  struct Case {
    bool failCopy, failCompare;
    std::string left, right;  // a.8bf in each pane afterwards, "" when gone
  };
  for (const Case& c : {Case{false, false, "", "new a"}, Case{true, false, "new a", "old a"},
                        Case{false, true, "new a", "old a"}}) {
    SCOPED_TRACE(c.failCopy ? "copy fails" : c.failCompare ? "copy differs" : "works");
    put(left(), "a.8bf", "new a");
    put(right(), "a.8bf", "old a");
    prompter_.messages.clear();
    prompter_.overwriteAnswers = {A::Overwrite};
    fs_.failCopyFrom = c.failCopy ? std::set{left() / "*"} : std::set<stdfs::path>{};
    fs_.failCompare = c.failCompare;
    auto outcome = cmd_MoveFiles(ports_, request_);
    EXPECT_EQ(outcome.done.size(), c.left.empty() ? 1u : 0u);
    EXPECT_EQ(names(left()),
              c.left.empty() ? std::vector<std::string>{} : std::vector<std::string>{"a.8bf"});
    if (!c.left.empty()) {
      EXPECT_EQ(readFile(left() / "a.8bf"), c.left);
    }
    EXPECT_EQ(names(right()), std::vector<std::string>{"a.8bf"});
    EXPECT_EQ(readFile(right() / "a.8bf"), c.right);
    if (c.failCopy) {
      EXPECT_EQ(onlyMessage().title, "Move");
    }
  }
}

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

}  // namespace
}  // namespace qm::shell::test
