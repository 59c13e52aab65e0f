// The language's values: the reference's worked examples (image 100x100 RGBA, pixel (0,0),
// input (10,20,30,255), R formula, sliders 0, fresh run, unless a row says otherwise), the
// trigonometry tables and the random numbers.

#include <gtest/gtest.h>

#include <tuple>

#include "core/formula/random.h"
#include "core/formula/tables.h"
#include "formula_helpers.h"

namespace qm::formula::testing {
namespace {

struct Example {
  const char* formula;
  std::int32_t value;
};

class Operators : public ::testing::TestWithParam<Example> {};

TEST_P(Operators, GiveTheReferenceValue) {
  EXPECT_EQ(valueOf(GetParam().formula), GetParam().value) << GetParam().formula;
}

// clang-format off
const Example kExamples[] = {
    {"7/2", 3}, {"-7/2", -3}, {"7%3", 1}, {"-7%3", -1}, {"7%-3", 1}, {"5/0", 0}, {"5%0", 0},
    {"2+3*4", 14}, {"10-2-3", 5}, {"2147483647+1", -2147483647 - 1}, {"65536*65536", 0},
    {"-2147483648/-1", -2147483647 - 1}, {"-2147483648%-1", 0}, {"4294967296", 0},
    {"2147483648", -2147483647 - 1}, {"010", 10}, {"0x10", 16}, {"1<2==1", 1}, {"2==2==2", 0},
    {"3>2>1", 0}, {"1|2&4", 0}, {"1||0&&0", 0}, {"1?2:0?3:4", 2}, {"0?2:0?3:4", 4},
    {"!5 + 2*!0", 2}, {"~5", -6}, {"3,4", 4}, {"2>=2", 1}, {"1<=0", 0}, {"3!=3", 0}, {"6^3", 5},
    {"(1,2)+(3,4)", 6}, {"1<<33", 2}, {"1<<31", -2147483647 - 1}, {"1<<-1", -2147483647 - 1},
    {"-16>>2", 1073741820}, {"256>>36", 16}, {"-1>>0", -1}, {"put(7,3),get(3)", 7},
    {"0?put(9,1):0,get(1)", 9}, {"0&&put(9,2),get(2)", 9}, {"1||put(4,2),get(2)", 4},
    {"get(300)", 300}, {"get(-5)", -5}, {"put(5,256)+get(256)", 261}, {"put(5,-1)", 5},
    {"get(9)", 0}, {"min(-3,2)+max(-3,2)", -1}, {"abs(-5)", 5},
    {"abs(-2147483648)", -2147483647 - 1}, {"add(200,100,255)", 255}, {"sub(10,30,5)", 20},
    {"dif(3,10)", 7}, {"mix(255,0,1,4)", 63}, {"mix(10,20,-1,4)", 23}, {"mix(1,2,3,0)", 0},
    {"scl(128,0,255,-100,100)", 0}, {"scl(300,0,255,0,100)", 117}, {"scl(5,3,3,0,9)", 0},
    {"sqr(1000000)", 1000}, {"sqr(99)", 9}, {"sqr(-20)", -20}, {"sqr(2147483647)", 46340},
    {"ctl(8)", 0}, {"map(4,1)", 0}, {"val(9,1,10)", 0}, {"cos(0)", 512}, {"cos(128)", 362},
    {"cos(256)", -4}, {"cos(512)", -513}, {"sin(0)", -4}, {"sin(256)", 512}, {"sin(768)", -513},
    {"tan(0)", -6}, {"tan(100)", 721}, {"tan(128)", 1024}, {"tan(256)", -167772},
    {"tan(-768)", 167772}, {"r2x(0,100)", 100}, {"r2x(128,100)", 71}, {"r2x(256,100)", -1},
    {"r2y(256,100)", 100}, {"r2x(512,100)", -100}, {"c2d(1,0)", 0}, {"c2d(0,1)", 256},
    {"c2d(-1,0)", 512}, {"c2d(1,1)", 128}, {"c2d(-1,-1)", -384}, {"c2d(100,50)", 75},
    {"c2d(-2000,-1)", -512}, {"c2d(0,0)", 0}, {"c2m(3,4)", 5}, {"c2m(1,2)", 2},
    {"c2m(-300,400)", 500}, {"c2m(0,0)", 0}, {"i", 18}, {"u", 2}, {"v", -3}, {"d", -384}, {"m", 70},
    {"X+Y*1000", 100100}, {"Z", 4}, {"z", 0}, {"c", 10}, {"a", 255}, {"D", 1024},
    {"R+G+B+A+C", 1275}, {"dmin+dmax", 1024}, {"mmax", 70}, {"xmax+ymax+zmax", 204},
    {"r1+g0+p", 30}, {"src(-5,-5,0)", 10}, {"src(0,0,3)", 255}, {"src(0,0,-1)", 0},
    {"rad(0,0,1)", 20}, {"cnv(1,1,1,1,1,1,1,1,1,9)", 10},
    // Comments and stored line breaks are blanks.
    {"1 // the rest is ignored: )))\n+2", 3}, {"1\\r+\\n2", 3},
    // Untaken branches and empty ranges still draw a random number.
    {"0?rnd(0,255):0, rnd(0,255)", 35}, {"rnd(5,1)", 0}, {"rnd(5,1)+rnd(0,255)", 35},
    {"rnd(7,7)", 7},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Table, Operators, ::testing::ValuesIn(kExamples));

struct ContextExample {
  const char* formula;
  Context ctx;
  std::int32_t value;
};

class InContext : public ::testing::TestWithParam<ContextExample> {};

TEST_P(InContext, GivesTheReferenceValue) {
  EXPECT_EQ(valueOf(GetParam().formula, GetParam().ctx), GetParam().value) << GetParam().formula;
}

// clang-format off
const ContextExample kContextExamples[] = {
    {"val(0,1,10)", {.sliders = {127}}, 5}, {"val(0,10,-10)", {.sliders = {127}}, 1},
    {"ctl(7)", {.sliders = {0, 0, 0, 0, 0, 0, 0, 42}}, 42}, {"ctl(-1)", {.sliders = {9}}, 0},
    {"map(0,100)", {.sliders = {181, 65}}, 76}, {"map(0,100)", {.sliders = {65, 181}}, 179},
    {"map(0,49)", {.sliders = {50, 50}}, 0}, {"map(0,50)", {.sliders = {50, 50}}, 255},
    {"map(0,300)", {.sliders = {181, 65}}, 255}, {"map(1,128)", {.sliders = {0, 0, 255, 0}}, 128},
    {"map(3,10)", {.sliders = {0, 0, 0, 0, 0, 0, 20, 10}}, 0},
    {"i", {.rgba = {255, 255, 255, 255}}, 254}, {"u", {.rgba = {0, 0, 255, 255}}, 55},
    {"v", {.rgba = {0, 255, 0, 255}}, -64}, {"v", {.rgba = {255, 0, 0, 255}}, 77},
    {"d", {.x = 99, .y = 50}, 0}, {"d", {.x = 50, .y = 99}, 256}, {"d", {.x = 0, .y = 50}, 512},
    {"d", {.x = 0, .y = 49}, -509}, {"d", {.width = 5, .height = 5, .x = 2, .y = 2}, 0},
    {"m", {.width = 5, .height = 5, .x = 2, .y = 2}, 1},
    {"M", {.width = 5, .height = 5, .x = 2, .y = 2}, 2}, {"x*10+y", {.x = 3, .y = 4}, 34},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Table, InContext, ::testing::ValuesIn(kContextExamples));

// Random numbers: successive calls along a row of a 3-channel image, G and B drawing none.
std::vector<int> firstDraws(const std::string& formula, int count) {
  Picture in = uniform(count, 1, {0, 0, 0, 0}, 3);
  auto out = applyFilter({formula, "0", "0", ""}, in);
  std::vector<int> r;
  for (int x = 0; x < count; ++x) r.push_back(out[std::size_t(x) * 3]);
  return r;
}

TEST(Random, SeedZeroGivesTheKnownSequence) {
  EXPECT_EQ(firstDraws("rnd(0,255)", 8), (std::vector<int>{10, 35, 106, 115, 158, 111, 120, 91}));
  EXPECT_EQ(firstDraws("rnd(0,99)", 8), (std::vector<int>{82, 43, 2, 51, 86, 27, 40, 47}));
}

TEST(Random, RstSeedsOnlyTheNextRun) {
  Picture in = uniform(2, 1, {0, 0, 0, 0}, 3);
  FilterSetup setup{2, 1, 3, {}, {}};
  auto program = compileFilter({"rst(70000), rnd(0,255)", "0", "0", ""}, setup);
  ASSERT_TRUE(program);
  Picture out = in;
  auto result = render(*program, in.view(), out.mutableView());
  EXPECT_EQ(out.bytes[0], 10);  // this run still starts from seed 0
  EXPECT_EQ(out.bytes[3], 35);
  ASSERT_TRUE(result.nextSeed);
  EXPECT_EQ(*result.nextSeed, 70000 & 0x7FFF);
  RenderOptions next;
  next.seed = std::uint32_t(*result.nextSeed);
  render(*program, in.view(), out.mutableView(), next);
  SubtractiveRandom expected(70000 & 0x7FFF);
  EXPECT_EQ(out.bytes[0], expected.next() & 255);
}

// The plain and the index-weighted sum of entries [first, first + count): any changed entry
// disturbs one of them.
using Sums = std::pair<std::int64_t, std::int64_t>;
template <typename Table>
Sums sums(const Table& t, int first, int count, int weightBase) {
  std::int64_t sum = 0, weighted = 0;
  for (int k = first; k < first + count; ++k) {
    sum += t[k];
    weighted += std::int64_t(k + weightBase) * t[k];
  }
  return {sum, weighted};
}

TEST(Tables, EntriesAndChecksums) {
  const auto& [c, a, h] = std::tie(tables().cos, tables().atan, tables().hyp);
  const std::int32_t entries[] = {c[0],   c[128],  c[256], c[512], c[768], a[1],
                                  a[512], a[1024], h[0],   h[512], h[1023]};
  EXPECT_EQ(std::vector<std::int32_t>(std::begin(entries), std::end(entries)),
            (std::vector<std::int32_t>{16384, 11585, -100, -16384, 100, 64, 30385, 51472, 32, 7767,
                                       27132}));
  EXPECT_EQ(sums(c, 0, 256, 0), Sums(2678260, 248378729));
  EXPECT_EQ(sums(a, 1, 1024, 0), Sums(29474405, 19638646165));
  EXPECT_EQ(sums(h, 0, 1024, 1), Sums(9936944, 7535657863));
  std::int64_t squares = 0, absolute = 0;
  for (int v : c) {
    squares += std::int64_t(v) * v;
    absolute += v < 0 ? -v : v;
    EXPECT_NE(v, 0);
  }
  EXPECT_EQ(squares, 137966977744);
  EXPECT_EQ(absolute, 10713040);
}

// Only the seed's 15 bits count; ranges that wrap give zero but still draw.
TEST(Random, SeedBitsAndWrappingRanges) {
  SubtractiveRandom a(5), b(5 + 0x8000);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(a.next(), b.next());
  SubtractiveRandom r(0);
  EXPECT_EQ(r.between(-2147483647 - 1, 2147483647), 0);  // b - a wraps negative
  EXPECT_EQ(r.between(0, 2147483647), 691697443);        // the second draw, modulo 2^31
}

// The compiler spells map() out as arithmetic for a fixed map number; every entry of the
// ramp, with inputs beyond both ends, must still equal the definition.
TEST(Maps, SpelledOutRampMatchesTheDefinitionEverywhere) {
  const std::array<std::array<std::uint8_t, 2>, 8> pairs = {
      {{181, 65}, {65, 181}, {50, 50}, {0, 0}, {255, 0}, {0, 255}, {1, 2}, {255, 255}}};
  Picture in = uniform(311, 1, {0, 0, 0, 0}, 3);
  for (const auto& pair : pairs) {
    const std::array<std::uint8_t, 8> sliders = {pair[0], pair[1]};
    const auto out =
        applyFilter({"map(0,x-30)", "map(0,x-30)-map(0,x-30)/2*2", "0", ""}, in, {}, sliders);
    for (int x = 0; x < 311; ++x) {
      const std::int32_t want = ops::map(sliders.data(), 0, x - 30);
      ASSERT_EQ(out[std::size_t(x) * 3], want) << int(pair[0]) << "," << int(pair[1]) << " x=" << x;
      ASSERT_EQ(out[std::size_t(x) * 3 + 1], want % 2);
    }
  }
}

}  // namespace
}  // namespace qm::formula::testing
