#include "core/ff/convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "support/ff_sources.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace qm::ff {
namespace {

namespace fs = std::filesystem;
using test::ScriptedProgress;
using test::ScriptedPrompter;

using test::afsSource;
using test::fflEntry;
using test::fflLibrary;
using test::txtSource;

// Every file below root, relative to it.
std::set<std::string> filesBelow(const fs::path& root) {
  std::set<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) out.insert(fs::relative(e.path(), root).generic_string());
  return out;
}

class ConvertTest : public ::testing::Test {
 protected:
  ConvertTest() {
    fs::create_directories(in);
    prompter.folderChoice = FolderChoice{out, false};
    options.target = kTargetAfs;
    options.ff.programDir = dir.path();
  }
  ConvertReport run(const std::vector<fs::path>& files) {
    return cmd_Convert(files, options, prompter, progress);
  }
  fs::path source(const std::string& name, const std::string& bytes) {
    return test::writeFile(in / name, bytes);
  }

  test::TempFolder dir;
  fs::path in = dir / "in";
  fs::path out = dir / "out";
  ScriptedPrompter prompter;
  ScriptedProgress progress;
  ConvertOptions options;
};

TEST_F(ConvertTest, UnreadableInputsAreSkippedAndTheRunGoesOn) {
  auto first = source("one.txt", txtSource("One", "one.8bf"));
  auto jpeg = source("photo.jpg", "\xFF\xD8\xFF\xE0");
  auto noTrailer = source("bare.afs", afsSource(""));
  auto third = source("three.txt", txtSource("Three", "three.8bf"));
  auto report = run({first, jpeg, noTrailer, dir / "missing.afs", third});
  EXPECT_EQ(report.written.size(), 3u);
  ASSERT_EQ(report.unreadable.size(), 2u);
  EXPECT_EQ(report.unreadable[0].path, jpeg);
  EXPECT_EQ(report.unreadable[0].text, "not a Filter Factory file");
  EXPECT_EQ(report.unreadable[1].path, dir / "missing.afs");
  EXPECT_EQ(report.unreadable[1].text, "No such file or directory");
  EXPECT_TRUE(report.skipped.empty());
  EXPECT_EQ(filesBelow(out), (std::set<std::string>{"one.afs", "bare.afs", "three.afs"}));
}

// The answers themselves are decided by the overwrite check; here only that a run obeys them,
// library entries included, and that each run starts with a fresh overwrite mode.
TEST_F(ConvertTest, OverwriteAnswersAreObeyed) {
  auto a = source("a.txt", txtSource("A", "a.8bf"));
  auto b = source("b.txt", txtSource("B", "b.8bf"));
  test::writeFile(out / "a.afs", "old");
  test::writeFile(out / "b.afs", "old");
  prompter.overwriteAnswers = {OverwriteAnswer::Cancel, OverwriteAnswer::IgnoreAll,
                               OverwriteAnswer::Overwrite, OverwriteAnswer::Ignore};
  auto report = run({a, b});
  EXPECT_TRUE(report.cancelled);
  EXPECT_TRUE(report.written.empty());
  EXPECT_EQ(prompter.overwriteQuestions.size(), 1u);
  EXPECT_EQ(run({a, b}).skipped, (std::vector<fs::path>{a, b}));
  EXPECT_EQ(run({a}).written.size(), 1u);
  EXPECT_EQ(prompter.overwriteQuestions.size(), 3u);
  run({source("L.ffl", fflLibrary({fflEntry("b.8bf", "B")}))});
  EXPECT_EQ(test::readFile(out / "b.afs"), "old");
  EXPECT_EQ(prompter.overwriteQuestions.size(), 4u);
}

TEST_F(ConvertTest, CancelBetweenFilesOrEntriesKeepsWhatWasWritten) {
  auto a = source("a.txt", txtSource("A", "a.8bf"));
  auto b = source("b.txt", txtSource("B", "b.8bf"));
  progress.cancelAfter = 1;
  EXPECT_TRUE(run({a, b}).cancelled);
  EXPECT_EQ(filesBelow(out), std::set<std::string>{"a.afs"});
  ASSERT_FALSE(progress.statuses.empty());
  EXPECT_TRUE(progress.statuses.front().starts_with(" 1 of  2  ")) << progress.statuses.front();
  EXPECT_TRUE(progress.statuses.front().ends_with(" sec."));
  EXPECT_EQ(progress.statuses.back(), "");

  auto lib = source("L.ffl", fflLibrary({fflEntry("c.8bf", "C"), fflEntry("d.8bf", "D")}));
  progress = {};
  progress.cancelAfter = 2;  // before the run's first file, before entry 1
  EXPECT_TRUE(run({lib, b}).cancelled);
  EXPECT_EQ(filesBelow(out), (std::set<std::string>{"a.afs", "c.afs"}));
}

TEST_F(ConvertTest, NamesFromTitlesDropCharactersNoFileNameHolds) {
  options.target = kTargetText;
  options.namesFromTitles = true;
  auto report = run({source("t.afs", afsSource("Twirl: Fast")),
                     source("u.txt", txtSource("a*b?c\"d<e>f|g/h\\i.j", "u.8bf"))});
  EXPECT_EQ(filesBelow(out), (std::set<std::string>{"Twirl Fast.txt", "abcdefghij.txt"}));
}

TEST_F(ConvertTest, LibrariesGoIntoASubFolderEachWhenAsked) {
  prompter.folderChoice->createSubFolders = true;
  auto lib1 = source("Lib1.ffl", fflLibrary({fflEntry("a.8bf", "A"), fflEntry("//b.8bf", "B"),
                                             fflEntry("c.8bf", "C")}));
  auto lib2 = source("Lib2.FFL", fflLibrary({fflEntry("d.8bf", "D")}, "FFL1.1"));
  auto report = run({lib1, lib2});
  EXPECT_EQ(filesBelow(out), (std::set<std::string>{"Lib1/a.afs", "Lib1/c.afs", "Lib2/d.afs"}));
  EXPECT_EQ(report.written.size(), 3u);
  EXPECT_TRUE(prompter.overwriteQuestions.empty());
  // The library's own count text, entries counted with the placeholder.
  EXPECT_NE(std::find(progress.statuses.begin(), progress.statuses.end(), " 3 of  3"),
            progress.statuses.end());
}

TEST_F(ConvertTest, LibraryWithWrongHeaderIsUnreadableWithItsMessage) {
  auto bad = source("v2.ffl", fflLibrary({fflEntry("a.8bf", "A")}, "FFL2.0"));
  auto report = run({bad});
  ASSERT_EQ(report.unreadable.size(), 1u);
  EXPECT_EQ(report.unreadable[0].path, bad);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, bad.string() + " is not a Filter Factory Library File!");
  EXPECT_EQ(prompter.messages[0].title, "Format Violation");
  EXPECT_TRUE(!fs::exists(out) || fs::is_empty(out));
}

TEST_F(ConvertTest, ClipboardTextIsTheOnlySource) {
  options.clipboardText = "Title: Clip Board\r\nR:r+1\r\nG:g\r\nB:b\r\n";
  auto ignored = source("a.txt", txtSource("A", "a.8bf"));
  test::writeFile(out / "Temp.afs", "old");
  prompter.overwriteAnswers = {OverwriteAnswer::Ignore};
  EXPECT_EQ(run({ignored}).skipped, std::vector<fs::path>{fs::path{}});
  // The question about the clipboard's output has no source line.
  ASSERT_EQ(prompter.overwriteQuestions.size(), 1u);
  EXPECT_FALSE(prompter.overwriteQuestions[0].sourceLine.has_value());
  EXPECT_TRUE(prompter.overwriteQuestions[0].destinationLine.ends_with(") ?"));
  options.namesFromTitles = true;
  run({ignored});
  EXPECT_EQ(filesBelow(out), (std::set<std::string>{"ClipBoard.afs", "Temp.afs"}));
  EXPECT_EQ(test::readFile(out / "Temp.afs"), "old");
  EXPECT_FALSE(fs::exists(dir / "Temp.txt"));
}

TEST_F(ConvertTest, NoDestinationOrAPremiereTargetWritesNothing) {
  auto input = source("a.txt", txtSource("A", "a.8bf"));
  auto folder = prompter.folderChoice;
  prompter.folderChoice.reset();
  EXPECT_TRUE(run({input}).noDestination);
  EXPECT_FALSE(fs::exists(out));
  prompter.folderChoice = folder;
  options.target = kTargetPremiereFF;
  auto report = run({input});
  EXPECT_TRUE(report.written.empty());
  EXPECT_TRUE(report.failed.empty());
  EXPECT_TRUE(fs::is_empty(out));
}

TEST(InputKind, ByLastFourCharactersInAnyCase) {
  using enum InputKind;
  // clang-format off
  const std::pair<const char*, InputKind> cases[] = {
      {"a.TXT", Text}, {"a.8bf", Plugin}, {"a._bf", Plugin}, {"a.BIN", Plugin}, {"a_8bf", Plugin},
      {"a.prm", Premiere}, {"a._rm", Premiere}, {"a_prm", Premiere}, {"a.afs", Afs},
      {"a.Pff", Pff}, {"a.ffx", Ffx}, {"a.ffl", Library}, {"a.jpg", Unknown}, {"afs", Unknown}};
  // clang-format on
  for (auto [name, kind] : cases) EXPECT_EQ(inputKindOf(name), kind) << name;
}

}  // namespace
}  // namespace qm::ff
