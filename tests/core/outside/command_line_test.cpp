#include "core/outside/command_line.h"

#include <gtest/gtest.h>

namespace qm::outside {
namespace {

using Words = std::vector<std::string>;

TEST(CommandLine, SplitsLikeAShell) {
  struct Case {
    const char* line;
    Words words;
  } cases[] = {
      {"gimp", {"gimp"}},
      {"  gimp   --new-instance\t-a ", {"gimp", "--new-instance", "-a"}},
      {"\"/opt/My Editor/run\" -x", {"/opt/My Editor/run", "-x"}},
      {"'/opt/a \"b\"/c' d", {"/opt/a \"b\"/c", "d"}},
      {"a\\ b c", {"a b", "c"}},
      {"say \"a \\\"q\\\" \\n\"", {"say", "a \"q\" \\n"}},
      {"pre\"fix \"'and more'", {"prefix and more"}},
      {"x '' y", {"x", "", "y"}},
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
      {"editor %1", "", {"editor"}},
      {"editor", "/f", {"editor"}},
      {"editor %1x", "/f", {"editor", "%1x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    auto words = applicationCommand(c.entry, c.file);
    ASSERT_TRUE(words.has_value());
    EXPECT_EQ(*words, c.words);
  }
}

}  // namespace
}  // namespace qm::outside
