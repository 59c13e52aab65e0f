#include "core/batch/overwrite_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace qm::batch {
namespace {

namespace fs = std::filesystem;
using test::ScriptedPrompter;

class OverwriteCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    existing = test::writeFile(dir / "old.afs", "12345");
    other = test::writeFile(dir / "other.afs", "1");
  }
  test::TempFolder dir;
  fs::path existing, other;
  ScriptedPrompter prompter;
  OverwriteCheck check{prompter};
};

struct AnswerCase {
  OverwriteAnswer answer;
  OverwriteDecision first;
  bool asksAgain;
  OverwriteDecision later;  // when it does not ask again
};

class OverwriteAnswerTest : public OverwriteCheckTest,
                            public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(OverwriteAnswerTest, AnswerDecidesThisFileAndRemembersAllOnly) {
  const auto& c = GetParam();
  prompter.overwriteAnswers = {c.answer};
  EXPECT_EQ(check({}, existing), c.first);
  EXPECT_EQ(check.mode(), c.answer);
  if (c.asksAgain) {
    prompter.overwriteAnswers = {OverwriteAnswer::Ignore};
    EXPECT_EQ(check({}, other), OverwriteDecision::Skip);
    EXPECT_EQ(prompter.overwriteQuestions.size(), 2u);
  } else {
    EXPECT_EQ(check({}, other), c.later);
    EXPECT_EQ(check(other, existing), c.later);
    EXPECT_EQ(prompter.overwriteQuestions.size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, OverwriteAnswerTest,
    ::testing::Values(AnswerCase{OverwriteAnswer::Overwrite, OverwriteDecision::Write, true, {}},
                      AnswerCase{OverwriteAnswer::Ignore, OverwriteDecision::Skip, true, {}},
                      AnswerCase{OverwriteAnswer::OverwriteAll, OverwriteDecision::Write, false,
                                 OverwriteDecision::Write},
                      AnswerCase{OverwriteAnswer::IgnoreAll, OverwriteDecision::Skip, false,
                                 OverwriteDecision::Skip},
                      AnswerCase{OverwriteAnswer::Cancel, OverwriteDecision::Cancel, true, {}}));

TEST_F(OverwriteCheckTest, EmptyCallResetsARememberedMode) {
  prompter.overwriteAnswers = {OverwriteAnswer::IgnoreAll, OverwriteAnswer::Overwrite};
  EXPECT_EQ(check({}, existing), OverwriteDecision::Skip);
  EXPECT_EQ(check({}, {}), OverwriteDecision::Write);
  EXPECT_EQ(check.mode(), OverwriteAnswer::Overwrite);
  EXPECT_EQ(check({}, existing), OverwriteDecision::Write);
  EXPECT_EQ(prompter.overwriteQuestions.size(), 2u);
}

TEST_F(OverwriteCheckTest, MissingDestinationWritesWithoutAskingAndKeepsMode) {
  prompter.overwriteAnswers = {OverwriteAnswer::IgnoreAll};
  check({}, existing);
  EXPECT_EQ(check(existing, dir / "new.afs"), OverwriteDecision::Write);
  EXPECT_EQ(check.mode(), OverwriteAnswer::IgnoreAll);
  EXPECT_EQ(prompter.overwriteQuestions.size(), 1u);
}

class OverwriteTextTest : public OverwriteCheckTest {
 protected:
  void SetUp() override {
    OverwriteCheckTest::SetUp();
    setenv("TZ", "UTC", 1);
    tzset();
    // 2024-03-05 14:07:09 UTC
    auto when = std::chrono::sys_seconds{std::chrono::seconds{1709647629}};
    fs::last_write_time(existing, std::chrono::file_clock::from_sys(when));
    fs::last_write_time(other, std::chrono::file_clock::from_sys(when + std::chrono::hours{26}));
  }
};

TEST_F(OverwriteTextTest, WithSourceShowsBothLines) {
  prompter.overwriteAnswers = {OverwriteAnswer::Overwrite};
  check(other, existing);
  ASSERT_EQ(prompter.overwriteQuestions.size(), 1u);
  const auto& q = prompter.overwriteQuestions[0];
  EXPECT_EQ(q.destinationLine, existing.string() + "  (5 bytes, 2024-03-05 14:07:09)");
  ASSERT_TRUE(q.sourceLine.has_value());
  EXPECT_EQ(*q.sourceLine, other.string() + "  (1 bytes, 2024-03-06 16:07:09) ?");
}

TEST_F(OverwriteTextTest, WithoutSourceEndsFirstLineWithQuestionMark) {
  prompter.overwriteAnswers = {OverwriteAnswer::Overwrite};
  check({}, existing);
  ASSERT_EQ(prompter.overwriteQuestions.size(), 1u);
  EXPECT_EQ(prompter.overwriteQuestions[0].destinationLine,
            existing.string() + "  (5 bytes, 2024-03-05 14:07:09) ?");
  EXPECT_FALSE(prompter.overwriteQuestions[0].sourceLine.has_value());
}

}  // namespace
}  // namespace qm::batch
