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
using enum OverwriteAnswer;

class OverwriteCheckTest : public ::testing::Test {
 protected:
  test::TempFolder dir;
  fs::path existing = test::writeFile(dir / "old.afs", "12345");
  fs::path other = test::writeFile(dir / "other.afs", "1");
  test::ScriptedPrompter prompter;
  OverwriteCheck check{prompter};
};

TEST_F(OverwriteCheckTest, AnswerDecidesThisFileAndRemembersAllOnly) {
  using D = OverwriteDecision;
  const struct {
    OverwriteAnswer answer;
    OverwriteDecision first;
    std::optional<OverwriteDecision> later;  // none: it asks again
  } cases[] = {{Overwrite, D::Write, {}},
               {Ignore, D::Skip, {}},
               {OverwriteAll, D::Write, D::Write},
               {IgnoreAll, D::Skip, D::Skip},
               {Cancel, D::Cancel, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    prompter.overwriteQuestions.clear();
    check({}, {});  // a fresh run
    prompter.overwriteAnswers = {c.answer, Ignore};
    EXPECT_EQ(check({}, existing), c.first);
    EXPECT_EQ(check.mode(), c.answer);
    EXPECT_EQ(check(other, existing), c.later.value_or(D::Skip));
    EXPECT_EQ(prompter.overwriteQuestions.size(), c.later ? 1u : 2u);
    prompter.overwriteAnswers.clear();
  }
}

TEST_F(OverwriteCheckTest, MissingDestinationWritesWithoutAskingAndKeepsMode) {
  prompter.overwriteAnswers = {IgnoreAll};
  check({}, existing);
  EXPECT_EQ(check(existing, dir / "new.afs"), OverwriteDecision::Write);
  EXPECT_EQ(check.mode(), IgnoreAll);
  EXPECT_EQ(prompter.overwriteQuestions.size(), 1u);
}

TEST_F(OverwriteCheckTest, QuestionLinesGiveSizeAndTimeAndEndInAQuestionMark) {
  setenv("TZ", "UTC", 1);
  tzset();
  auto when = std::chrono::sys_seconds{std::chrono::seconds{1709647629}};  // 2024-03-05 14:07:09
  fs::last_write_time(existing, std::chrono::file_clock::from_sys(when));
  fs::last_write_time(other, std::chrono::file_clock::from_sys(when + std::chrono::hours{26}));
  prompter.overwriteAnswers = {Overwrite, Overwrite};
  check(other, existing);
  check({}, existing);
  ASSERT_EQ(prompter.overwriteQuestions.size(), 2u);
  const auto& [withSource, alone] =
      std::tie(prompter.overwriteQuestions[0], prompter.overwriteQuestions[1]);
  EXPECT_EQ(withSource.destinationLine, existing.string() + "  (5 bytes, 2024-03-05 14:07:09)");
  EXPECT_EQ(withSource.sourceLine, other.string() + "  (1 bytes, 2024-03-06 16:07:09) ?");
  EXPECT_EQ(alone.destinationLine, existing.string() + "  (5 bytes, 2024-03-05 14:07:09) ?");
  EXPECT_FALSE(alone.sourceLine.has_value());
}

}  // namespace
}  // namespace qm::batch
