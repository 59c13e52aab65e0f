// Rename... (one file, several extensions), Rename Folder... and Create Folder ...

#include "shell_fixture.h"

namespace qm::shell::test {
namespace {

using qm::test::readFile;

TEST_F(ShellTest, SeveralFilesGetTheNewTextAfterTheirFirstDot) {
  request_.selectedFiles = {put(left(), "a.b.8bf", "A"), put(left(), "c.8bf", "C"),
                            put(left(), "README", "R")};
  prompter_.textAnswers = {"txt"};
  auto outcome = cmd_RenameFiles(ports_, request_);
  EXPECT_EQ(prompter_.textCaptions, std::vector<std::string>{"Rename File Extension"});
  EXPECT_EQ(recorder_.presets, std::vector<std::string>{"b.8bf"});
  EXPECT_EQ(names(left()), (std::vector<std::string>{"README.txt", "a.txt", "c.txt"}));
  EXPECT_EQ(readFile(left() / "a.txt"), "A");
  EXPECT_FALSE(outcome.active.catalogueStale);
  EXPECT_TRUE(outcome.active.refresh);
}

TEST_F(ShellTest, RenameThatWouldReplaceAFileFailsAndKeepsBoth) {
  request_.selectedFiles = {put(left(), "a.txt", "A"), put(left(), "a.afs", "B")};
  prompter_.textAnswers = {"8bf"};
  auto outcome = cmd_RenameFiles(ports_, request_);
  EXPECT_EQ(names(left()), (std::vector<std::string>{"a.8bf", "a.afs"}));
  EXPECT_EQ(readFile(left() / "a.8bf"), "A");
  EXPECT_EQ(outcome.failed, std::vector<stdfs::path>{left() / "a.afs"});
  EXPECT_TRUE(outcome.active.catalogueStale);
  EXPECT_EQ(onlyMessage().title, "Rename");
  EXPECT_EQ(onlyMessage().text, " 1 file(s) or folder(s) couldn't be renamed:\r\n" +
                                    (left() / "a.afs").string() +
                                    ": there is already a file or folder named: a.8bf");
}

TEST_F(ShellTest, OneFileIsRenamedWithinItsFolder) {
  struct Case {
    const char* answer;
    const char* after;
    bool stale, failed;
  };
  const Case cases[] = {{"Wave.8BF", "Wave.8BF", true, false},
                        {"Wave_prm", "Wave_prm", true, false},
                        {"Wave.afs", "Wave.afs", false, false},
                        {"", "Wave.txt", false, false},
                        {"../right/x.8bf", "Wave.txt", true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    stdfs::remove_all(left());
    request_.selectedFiles = {put(left(), "Wave.txt", "W")};
    prompter_.textAnswers = {std::string(c.answer)};
    auto outcome = cmd_RenameFiles(ports_, request_);
    EXPECT_EQ(prompter_.textCaptions.back(), "Rename File");
    EXPECT_EQ(recorder_.presets.back(), "Wave.txt");
    EXPECT_EQ(names(left()), std::vector<std::string>{c.after});
    EXPECT_EQ(outcome.active.catalogueStale, c.stale);
    EXPECT_EQ(outcome.failed.size(), c.failed ? 1u : 0u);
    EXPECT_TRUE(names(right()).empty());
  }
}

TEST_F(ShellTest, RenameWithOnlyAFolderSelectedRenamesTheFolder) {
  stdfs::create_directory(left() / "old");
  request_.selectedFolders = {left() / "old" / ""};
  request_.passive.folder = left() / "old" / "deep";
  prompter_.textAnswers = {"new"};
  auto outcome = cmd_RenameFiles(ports_, request_);
  EXPECT_EQ(prompter_.textCaptions, std::vector<std::string>{"Rename folder"});
  EXPECT_EQ(recorder_.presets, std::vector<std::string>{"old"});
  EXPECT_EQ(names(left()), std::vector<std::string>{"new"});
  EXPECT_EQ(outcome.passive.showFolder, left() / "new" / "deep");
  EXPECT_FALSE(outcome.active.showFolder.has_value());
}

TEST_F(ShellTest, CreateFolderMakesOneSubFolder) {
  prompter_.textAnswers = {"x", "a/b", "x", std::nullopt};
  auto created = cmd_MakeDir(ports_, request_);
  auto refused = cmd_MakeDir(ports_, request_);
  EXPECT_EQ(onlyMessage().text, " 1 file(s) or folder(s) couldn't be created:\r\n" +
                                    (left() / "a/b").string() +
                                    ": a name cannot be empty, \".\", \"..\" or hold \"/\"");
  prompter_.messages.clear();
  cmd_MakeDir(ports_, request_);
  EXPECT_EQ(onlyMessage().text, " 1 file(s) or folder(s) couldn't be created:\r\n" +
                                    (left() / "x").string() +
                                    ": there is already a file or folder named: x");
  auto cancelled = cmd_MakeDir(ports_, request_);
  EXPECT_EQ(prompter_.textCaptions.front(), "Enter name for new folder");
  EXPECT_EQ(recorder_.presets.front(), "");
  EXPECT_EQ(created.done, std::vector<stdfs::path>{left() / "x"});
  EXPECT_TRUE(created.active.refresh);
  EXPECT_EQ(refused.failed.size(), 1u);
  EXPECT_EQ(onlyMessage().title, "Create Folder");
  EXPECT_FALSE(cancelled.active.refresh);
  EXPECT_EQ(names(left()), std::vector<std::string>{"x"});
}

}  // namespace
}  // namespace qm::shell::test
