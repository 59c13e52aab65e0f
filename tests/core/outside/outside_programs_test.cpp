// Outside programs: the command line of an Applications entry and the zip command lines (the
// window's tests run them through the real zip program).
#include <gtest/gtest.h>

#include "core/outside/command_line.h"
#include "core/outside/zip_commands.h"
#include "support/temp_folder.h"

namespace qm::outside {
namespace {

namespace fs = std::filesystem;

using Words = std::vector<std::string>;

TEST(CommandLine, SplitsLikeAShell) {
  struct Case {
    const char* line;
    Words words;
  } cases[] = {
      // clang-format off
      {"gimp", {"gimp"}}, {"  gimp   --new-instance\t-a ", {"gimp", "--new-instance", "-a"}},
      {"\"/opt/My Editor/run\" -x", {"/opt/My Editor/run", "-x"}},
      {"'/opt/a \"b\"/c' d", {"/opt/a \"b\"/c", "d"}},
      {"a\\ b c", {"a b", "c"}}, {"say \"a \\\"q\\\" \\n\"", {"say", "a \"q\" \\n"}},
      {"pre\"fix \"'and more'", {"prefix and more"}}, {"x '' y", {"x", "", "y"}},
      // clang-format on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    auto words = splitCommandLine(c.line);
    ASSERT_TRUE(words.has_value());
    EXPECT_EQ(*words, c.words);
  }
}

TEST(CommandLine, RefusesWhatCannotBeSplit) {
  EXPECT_EQ(splitCommandLine("  \t").error(), SplitError::Empty);
  EXPECT_EQ(splitCommandLine("edit \"open").error(), SplitError::UnclosedQuote);
  EXPECT_EQ(splitCommandLine("edit 'open").error(), SplitError::UnclosedQuote);
}

TEST(CommandLine, ApplicationEntryTakesTheSelectedFileAsOneWord) {
  struct Case {
    const char* entry;
    const char* file;
    Words words;
  } cases[] = {
      {"editor %1", "/home/u/a.8bf", {"editor", "/home/u/a.8bf"}},
      {"editor %1", "/home/u/My Filters/a b.8bf", {"editor", "/home/u/My Filters/a b.8bf"}},
      {"\"/opt/x y/ed\" -o %1", "/f", {"/opt/x y/ed", "-o", "/f"}},
      // clang-format off
      {"editor %1", "", {"editor"}}, {"editor", "/f", {"editor"}},
      {"editor %1x", "/f", {"editor", "%1x"}},
      // clang-format on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    auto words = applicationCommand(c.entry, c.file);
    ASSERT_TRUE(words.has_value());
    EXPECT_EQ(*words, c.words);
  }
}

TEST(ZipCommands, PresetNameAndArguments) {
  for (auto [file, preset] : {std::pair{"pack.zip", "pack.zip"},
                              {"PACK.ZIP", "PACK.ZIP"},
                              {"a.8bf", "New.zip"},
                              {"zip", "New.zip"}})
    EXPECT_EQ(presetZipName(file), preset) << file;
  CommandLine add =
      addToZipCommand("/usr/bin/zip", "/d/my files", "out.zip", {"a b.8bf", "-n.txt", "c.jpg"});
  EXPECT_EQ(add.program, "/usr/bin/zip");
  EXPECT_EQ(add.workingFolder, "/d/my files");
  EXPECT_EQ(add.arguments,
            (std::vector<std::string>{"-r", "-n", ".zip:.tif:.gif:.jpg:.arj:.rar",
                                      "/d/my files/out.zip", "a b.8bf", "./-n.txt", "c.jpg"}));
  CommandLine test = testZipCommand("/usr/bin/zip", "/d/x y/p.zip");
  EXPECT_EQ(test.arguments, (std::vector<std::string>{"-T", "p.zip"}));
  EXPECT_EQ(test.workingFolder, "/d/x y");
}

TEST(ZipCommands, ProgressCountsOnlyTheDotsAfterABlank) {
  ZipProgressMeter meter(10ull * 1024 * 1024 * 100);  // a dot per 10 MB
  EXPECT_EQ(meter.options(), (std::vector<std::string>{"-dg", "-ds", "10240k"}));
  EXPECT_EQ(meter.take("  adding: a.b..c.txt "), 0);
  EXPECT_EQ(meter.take("..."), 3);
  EXPECT_EQ(meter.take(".. (deflated 1%)\n  adding: x.y .."), 7);
  EXPECT_EQ(ZipProgressMeter(1000).options()[2], "64k");
  ZipProgressMeter small(1000);
  EXPECT_EQ(small.take(" ...."), 100);
  // Many small files write no dots; the lines of the files taken move the bar, also when a
  // word is cut between two pieces of output.
  ZipProgressMeter files(1000, 4);
  EXPECT_EQ(files.take("  adding: a.8bf (stored 0%)\n  add"), 25);
  EXPECT_EQ(files.take("ing: b.8bf (deflated 3%)\n updating: c"), 75);
}

TEST(ZipCommands, ProgramIsFoundOnThePathThenInTheProgramFolder) {
  test::TempFolder dir;
  auto makeProgram = [](const fs::path& file) {
    test::writeFile(file, "#!/bin/sh\n");
    fs::permissions(file, fs::perms::owner_all);
  };
  test::writeFile(dir / "bin1" / "zip", "not executable");
  makeProgram(dir / "bin2" / "zip");
  makeProgram(dir / "prog" / "zip");
  std::string path =
      (dir / "none").string() + ":" + (dir / "bin1").string() + "::" + (dir / "bin2").string();
  EXPECT_EQ(findZipProgram(path, dir / "prog"), dir / "bin2" / "zip");
  EXPECT_EQ(findZipProgram((dir / "bin1").string(), dir / "prog"), dir / "prog" / "zip");
  EXPECT_EQ(findZipProgram("", dir / "none"), std::nullopt);
}

}  // namespace
}  // namespace qm::outside
