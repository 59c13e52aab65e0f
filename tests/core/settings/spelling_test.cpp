#include "core/settings/spelling.h"

#include <gtest/gtest.h>

namespace qm::settings {
namespace {

TEST(Spelling, LenientParse) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"", 0},    {" 1", 1},        {"1", 1},   {"  20x", 20}, {"-3", -3},
      {"abc", 0}, {"612.5", 612.5}, {"7 8", 7}, {"+4", 4},     {".5", 0.5},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(lenientNumber(c.text), c.value) << c.text;
  EXPECT_EQ(lenientInteger("612.9"), 612);
  EXPECT_EQ(lenientInteger("99999999999999999999999"), 0);
}

TEST(Spelling, FlagsInAnySpelling) {
  for (const char* on : {"True", "true", "1", " 1", "-1"}) EXPECT_TRUE(readFlag(on)) << on;
  for (const char* off : {"False", "", "0", " 0", "no"}) EXPECT_FALSE(readFlag(off)) << off;
}

}  // namespace
}  // namespace qm::settings
