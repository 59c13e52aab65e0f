#include "core/formula/tables.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "core/formula/random.h"

namespace qm::formula {
namespace {

// A few entries, then sums that any changed entry disturbs.
TEST(Tables, CosineMatchesTheOriginalChecks) {
  const auto& c = tables().cos;
  EXPECT_EQ(c[0], 16384);
  EXPECT_EQ(c[128], 11585);
  EXPECT_EQ(c[256], -100);
  EXPECT_EQ(c[512], -16384);
  EXPECT_EQ(c[768], 100);
  std::int64_t sumQ = 0, weighted = 0, squares = 0, absolute = 0;
  for (int k = 0; k < 256; ++k) {
    sumQ += c[k];
    weighted += std::int64_t(k) * c[k];
  }
  for (int v : c) {
    squares += std::int64_t(v) * v;
    absolute += v < 0 ? -v : v;
    EXPECT_NE(v, 0);
  }
  EXPECT_EQ(sumQ, 2678260);
  EXPECT_EQ(weighted, 248378729);
  EXPECT_EQ(squares, 137966977744);
  EXPECT_EQ(absolute, 10713040);
}

TEST(Tables, ArctangentMatchesTheOriginalChecks) {
  const auto& a = tables().atan;
  EXPECT_EQ(a[1], 64);
  EXPECT_EQ(a[512], 30385);
  EXPECT_EQ(a[1024], 51472);
  std::int64_t sum = 0, weighted = 0;
  for (int k = 1; k <= 1024; ++k) {
    sum += a[k];
    weighted += std::int64_t(k) * a[k];
  }
  EXPECT_EQ(sum, 29474405);
  EXPECT_EQ(weighted, 19638646165);
}

TEST(Tables, HypotenuseMatchesTheOriginalChecks) {
  const auto& h = tables().hyp;
  EXPECT_EQ(h[0], 32);
  EXPECT_EQ(h[512], 7767);
  EXPECT_EQ(h[1023], 27132);
  std::int64_t sum = 0, weighted = 0;
  for (int k = 0; k < 1024; ++k) {
    sum += h[k];
    weighted += std::int64_t(k + 1) * h[k];
  }
  EXPECT_EQ(sum, 9936944);
  EXPECT_EQ(weighted, 7535657863);
}

TEST(Polar, HostileCoordinatesStayInsideTheTables) {
  constexpr std::int32_t kMin = -2147483647 - 1;
  const std::int32_t values[] = {kMin, kMin + 1, -1048577, -1, 0, 1, 2097152, 2147483647};
  for (std::int32_t a : values)
    for (std::int32_t b : values) {
      const std::int32_t d = angle(a, b);
      EXPECT_GE(d, -512);
      EXPECT_LE(d, 512);
      (void)magnitude(a, b);
      (void)radial(a, b);
      (void)tangent(a);
    }
}

TEST(Random, SeedZeroStateAndDraws) {
  SubtractiveRandom r(0);
  const std::uint32_t expected[] = {3843100682u, 691697443u,  3360209002u, 3709352051u,
                                    2080534686u, 3498204527u, 3060178040u, 2235699547u};
  for (std::uint32_t e : expected) EXPECT_EQ(r.next(), e);
}

TEST(Random, SeedUsesOnlyFifteenBits) {
  SubtractiveRandom a(5), b(5 + 0x8000);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(a.next(), b.next());
}

TEST(Random, RangesThatWrapGiveZeroButStillDraw) {
  SubtractiveRandom r(0);
  EXPECT_EQ(r.between(-2147483647 - 1, 2147483647), 0);  // b - a wraps negative
  EXPECT_EQ(r.between(0, 2147483647), 691697443);        // the second draw, modulo 2^31
}

}  // namespace
}  // namespace qm::formula
