// Copy and Move: destination, overwrite answers across a run, cancelling, and failures that
// must leave every file either handled or untouched.

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

TEST_F(TransferTest, CopyWithSuppressedDialogUsesThePassivePane) {
  threeFilesTwoExisting();
  prompter_.overwriteAnswers = {OverwriteAnswer::OverwriteAll};

  auto outcome = cmd_CopyFiles(ports_, request_);

  EXPECT_TRUE(prompter_.folderRequests.empty());
  EXPECT_EQ(outcome.destination, right());
  EXPECT_EQ(rightContents(), (std::vector<std::string>{"new a", "new b", "new c"}));
  EXPECT_EQ(readFile(left() / "b.8bf"), "new b");
  EXPECT_TRUE(outcome.passive.catalogueStale);
  EXPECT_TRUE(outcome.passive.refresh);
  EXPECT_FALSE(outcome.passive.rebuildPluginList);
  EXPECT_TRUE(prompter_.messages.empty());
}

struct AnswerRun {
  const char* name;
  std::vector<OverwriteAnswer> answers;
  std::vector<std::string> expected;  // a, b, c on the right afterwards
  std::size_t questions;
  bool cancelled;
};

void PrintTo(const AnswerRun& run, std::ostream* os) {
  *os << run.name;
}

class OverwriteAnswers : public TransferTest, public ::testing::WithParamInterface<AnswerRun> {};

TEST_P(OverwriteAnswers, DecideEachExistingFile) {
  const auto& run = GetParam();
  threeFilesTwoExisting();
  prompter_.overwriteAnswers = {run.answers.begin(), run.answers.end()};

  auto outcome = cmd_CopyFiles(ports_, request_);

  EXPECT_EQ(rightContents(), run.expected);
  EXPECT_EQ(prompter_.overwriteQuestions.size(), run.questions);
  EXPECT_EQ(outcome.cancelled, run.cancelled);
  // The run ends by resetting the shared mode.
  EXPECT_EQ(overwrite_.mode(), OverwriteAnswer::Overwrite);
}

using A = OverwriteAnswer;
INSTANTIATE_TEST_SUITE_P(
    Shell, OverwriteAnswers,
    ::testing::Values(AnswerRun{"IgnoreThenOverwrite",
                                {A::Ignore, A::Overwrite},
                                {"new a", "old b", "new c"},
                                2,
                                false},
                      AnswerRun{"CancelStops", {A::Cancel}, {"new a", "old b", "old c"}, 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

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
}

TEST_F(TransferTest, FailedCopyKeepsTheOldFileAndReports) {
  threeFilesTwoExisting();
  fs_.failCopyFrom = {left() / "b.8bf"};
  prompter_.overwriteAnswers = {A::OverwriteAll};

  auto outcome = cmd_CopyFiles(ports_, request_);

  EXPECT_EQ(rightContents(), (std::vector<std::string>{"new a", "old b", "new c"}));
  EXPECT_EQ(names(right()), (std::vector<std::string>{"a.8bf", "b.8bf", "c.8bf"}));
  EXPECT_EQ(outcome.failed, std::vector<stdfs::path>{left() / "b.8bf"});
  EXPECT_EQ(onlyMessage().text,
            " 1 file(s) or folder(s) couldn't be copied:\r\n" + (left() / "b.8bf").string());
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

TEST_F(TransferTest, DropTargetIsPresetAndKeepsThePassivePane) {
  request_.selectedFiles = {put(left(), "a.8bf", "A")};
  request_.dropTarget = right();
  prompter_.folderChoice = FolderChoice{right(), false};

  cmd_MoveFiles(ports_, request_);

  ASSERT_EQ(prompter_.folderRequests.size(), 1u);
  EXPECT_EQ(prompter_.folderRequests[0].presetFolder, right());
  EXPECT_TRUE(prompter_.folderRequests[0].keepPassivePane);
  EXPECT_EQ(readFile(right() / "a.8bf"), "A");
}

class CrossDeviceMove : public TransferTest {
 protected:
  CrossDeviceMove() {
    fs_.otherDevice = right();
    request_.selectedFiles = {put(left(), "a.8bf", "new a")};
    put(right(), "a.8bf", "old a");
    request_.passivePaneFolder = true;
    prompter_.overwriteAnswers = {A::Overwrite};
  }
};

TEST_F(CrossDeviceMove, CopiesVerifiesThenRemovesTheSource) {
  auto outcome = cmd_MoveFiles(ports_, request_);

  EXPECT_EQ(outcome.done.size(), 1u);
  EXPECT_EQ(readFile(right() / "a.8bf"), "new a");
  EXPECT_TRUE(names(left()).empty());
  EXPECT_EQ(names(right()), std::vector<std::string>{"a.8bf"});
}

TEST_F(CrossDeviceMove, FailedCopyKeepsTheSourceAndTheOldFile) {
  fs_.failCopyFrom = {left() / "*"};

  auto outcome = cmd_MoveFiles(ports_, request_);

  EXPECT_EQ(outcome.failed.size(), 1u);
  EXPECT_EQ(names(left()), std::vector<std::string>{"a.8bf"});
  EXPECT_EQ(readFile(left() / "a.8bf"), "new a");
  EXPECT_EQ(names(right()), std::vector<std::string>{"a.8bf"});
  EXPECT_EQ(readFile(right() / "a.8bf"), "old a");
  EXPECT_EQ(onlyMessage().title, "Move");
}

TEST_F(CrossDeviceMove, CopyThatDiffersFromTheSourceIsNotKept) {
  fs_.failCompare = true;

  cmd_MoveFiles(ports_, request_);

  EXPECT_EQ(readFile(left() / "a.8bf"), "new a");
  EXPECT_EQ(names(right()), std::vector<std::string>{"a.8bf"});
  EXPECT_EQ(readFile(right() / "a.8bf"), "old a");
}

}  // namespace
}  // namespace qm::shell::test
