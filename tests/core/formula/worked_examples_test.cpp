// The language reference's worked examples: image 100x100 RGBA, pixel (0,0), input
// (10,20,30,255), R formula, sliders 0, fresh run, unless a row says otherwise.

#include <gtest/gtest.h>

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

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, Operators,
    ::testing::Values(Example{"7/2", 3}, Example{"-7/2", -3}, Example{"7%3", 1},
                      Example{"-7%3", -1}, Example{"7%-3", 1}, Example{"5/0", 0}, Example{"5%0", 0},
                      Example{"2+3*4", 14}, Example{"10-2-3", 5}, Example{"100/10/5", 2},
                      Example{"2*3%4", 2}, Example{"-2*-3", 6},
                      Example{"2147483647+1", -2147483647 - 1}, Example{"65536*65536", 0},
                      Example{"-2147483648/-1", -2147483647 - 1}, Example{"-2147483648%-1", 0},
                      Example{"4294967296", 0}, Example{"2147483648", -2147483647 - 1},
                      Example{"010", 10}, Example{"0x10", 16}, Example{"300", 300},
                      Example{"-5", -5}));

INSTANTIATE_TEST_SUITE_P(
    ComparisonAndLogic, Operators,
    ::testing::Values(Example{"1<2==1", 1}, Example{"2==2==2", 0}, Example{"3>2>1", 0},
                      Example{"1|2&4", 0}, Example{"1||0&&0", 0}, Example{"1?2:0?3:4", 2},
                      Example{"0?2:0?3:4", 4}, Example{"!5 + 2*!0", 2}, Example{"~5", -6},
                      Example{"-~5", 6}, Example{"3,4", 4}, Example{"2>=2", 1}, Example{"1<=0", 0},
                      Example{"3!=3", 0}, Example{"6^3", 5}, Example{"(1,2)+(3,4)", 6}));

INSTANTIATE_TEST_SUITE_P(Shifts, Operators,
                         ::testing::Values(Example{"1<<33", 2}, Example{"1<<31", -2147483647 - 1},
                                           Example{"1<<-1", -2147483647 - 1},
                                           Example{"-16>>2", 1073741820}, Example{"256>>36", 16},
                                           Example{"-1>>0", -1}));

INSTANTIATE_TEST_SUITE_P(CellsAndEvaluationOrder, Operators,
                         ::testing::Values(Example{"put(7,3),get(3)", 7},
                                           Example{"0?put(9,1):0,get(1)", 9},
                                           Example{"0&&put(9,2),get(2)", 9},
                                           Example{"1||put(4,2),get(2)", 4},
                                           Example{"get(300)", 300}, Example{"get(-5)", -5},
                                           Example{"put(5,256)+get(256)", 261},
                                           Example{"put(5,-1)", 5}, Example{"get(9)", 0}));

INSTANTIATE_TEST_SUITE_P(
    Helpers, Operators,
    ::testing::Values(
        Example{"min(-3,2)+max(-3,2)", -1}, Example{"abs(-5)", 5},
        Example{"abs(-2147483648)", -2147483647 - 1}, Example{"add(200,100,255)", 255},
        Example{"add(10,20,255)", 30}, Example{"sub(10,30,5)", 20}, Example{"sub(10,12,5)", 5},
        Example{"dif(3,10)", 7}, Example{"mix(255,0,1,4)", 63}, Example{"mix(100,200,1,3)", 166},
        Example{"mix(10,20,-1,4)", 23}, Example{"mix(1,2,3,0)", 0},
        Example{"scl(128,0,255,-100,100)", 0}, Example{"scl(300,0,255,0,100)", 117},
        Example{"scl(5,3,3,0,9)", 0}, Example{"sqr(1000000)", 1000}, Example{"sqr(99)", 9},
        Example{"sqr(-20)", -20}, Example{"sqrt(16)", 4}, Example{"sqr(2147483647)", 46340},
        Example{"ctl(8)", 0}, Example{"map(4,1)", 0}, Example{"val(9,1,10)", 0}));

INSTANTIATE_TEST_SUITE_P(
    Trigonometry, Operators,
    ::testing::Values(
        Example{"cos(0)", 512}, Example{"cos(128)", 362}, Example{"cos(256)", -4},
        Example{"cos(768)", 3}, Example{"cos(512)", -513}, Example{"sin(0)", -4},
        Example{"sin(128)", 362}, Example{"sin(256)", 512}, Example{"sin(768)", -513},
        Example{"tan(0)", -6}, Example{"tan(100)", 721}, Example{"tan(128)", 1024},
        Example{"tan(256)", -167772}, Example{"tan(-768)", 167772}, Example{"r2x(0,100)", 100},
        Example{"r2x(128,100)", 71}, Example{"r2x(256,100)", -1}, Example{"r2y(0,100)", 1},
        Example{"r2y(256,100)", 100}, Example{"r2x(512,100)", -100}, Example{"c2d(1,0)", 0},
        Example{"c2d(0,1)", 256}, Example{"c2d(-1,0)", 512}, Example{"c2d(0,-1)", -256},
        Example{"c2d(1,1)", 128}, Example{"c2d(-1,-1)", -384}, Example{"c2d(100,50)", 75},
        Example{"c2d(-2000,-1)", -512}, Example{"c2d(0,0)", 0}, Example{"c2m(3,4)", 5},
        Example{"c2m(5,5)", 7}, Example{"c2m(1,2)", 2}, Example{"c2m(-300,400)", 500},
        Example{"c2m(7,24)", 25}, Example{"c2m(100,1)", 100}, Example{"c2m(0,0)", 0}));

INSTANTIATE_TEST_SUITE_P(
    PixelVariables, Operators,
    ::testing::Values(Example{"i", 18}, Example{"u", 2}, Example{"v", -3}, Example{"d", -384},
                      Example{"m", 70}, Example{"M", 70}, Example{"X+Y*1000", 100100},
                      Example{"Z", 4}, Example{"z", 0}, Example{"c", 10}, Example{"a", 255},
                      Example{"D", 1024}, Example{"R+G+B+A+C", 1275}, Example{"I+U+V", 765},
                      Example{"dmin+dmax", 1024}, Example{"umin+vmin", 0}, Example{"mmax", 70},
                      Example{"xmax+ymax+zmax", 204}, Example{"r1+g0+p", 30},
                      Example{"src(-5,-5,0)", 10}, Example{"src(0,0,3)", 255},
                      Example{"src(0,0,7)", 0}, Example{"src(0,0,-1)", 0},
                      Example{"rad(0,0,1)", 20}, Example{"cnv(1,1,1,1,1,1,1,1,1,9)", 10},
                      Example{"cnv(1,1,1,1,1,1,1,1,1,0)", 0}));

struct ContextExample {
  const char* formula;
  Context ctx;
  std::int32_t value;
};

class InContext : public ::testing::TestWithParam<ContextExample> {};

TEST_P(InContext, GivesTheReferenceValue) {
  EXPECT_EQ(valueOf(GetParam().formula, GetParam().ctx), GetParam().value) << GetParam().formula;
}

INSTANTIATE_TEST_SUITE_P(
    SlidersAndMaps, InContext,
    ::testing::Values(ContextExample{"val(0,1,10)", {.sliders = {127}}, 5},
                      ContextExample{"val(0,10,-10)", {.sliders = {127}}, 1},
                      ContextExample{"val(0,0,100)", {.sliders = {255}}, 100},
                      ContextExample{"ctl(7)", {.sliders = {0, 0, 0, 0, 0, 0, 0, 42}}, 42},
                      ContextExample{"ctl(-1)", {.sliders = {9}}, 0},
                      ContextExample{"map(0,100)", {.sliders = {181, 65}}, 76},
                      ContextExample{"map(0,100)", {.sliders = {65, 181}}, 179},
                      ContextExample{"map(0,49)", {.sliders = {50, 50}}, 0},
                      ContextExample{"map(0,50)", {.sliders = {50, 50}}, 255},
                      ContextExample{"map(0,300)", {.sliders = {181, 65}}, 255},
                      ContextExample{"map(0,-4)", {.sliders = {181, 65}}, 0},
                      ContextExample{"map(1,128)", {.sliders = {0, 0, 255, 0}}, 128},
                      ContextExample{"map(3,10)", {.sliders = {0, 0, 0, 0, 0, 0, 20, 10}}, 0}));

INSTANTIATE_TEST_SUITE_P(
    ColourAndPosition, InContext,
    ::testing::Values(ContextExample{"i", {.rgba = {255, 255, 255, 255}}, 254},
                      ContextExample{"u", {.rgba = {0, 0, 255, 255}}, 55},
                      ContextExample{"v", {.rgba = {0, 255, 0, 255}}, -64},
                      ContextExample{"v", {.rgba = {255, 0, 0, 255}}, 77},
                      ContextExample{"d", {.x = 99, .y = 50}, 0},
                      ContextExample{"d", {.x = 50, .y = 99}, 256},
                      ContextExample{"d", {.x = 0, .y = 50}, 512},
                      ContextExample{"d", {.x = 0, .y = 49}, -509},
                      ContextExample{"d", {.x = 50, .y = 0}, -256},
                      ContextExample{"d", {.width = 5, .height = 5, .x = 2, .y = 2}, 0},
                      ContextExample{"m", {.width = 5, .height = 5, .x = 2, .y = 2}, 1},
                      ContextExample{"M", {.width = 5, .height = 5, .x = 2, .y = 2}, 2},
                      ContextExample{"x*10+y", {.x = 3, .y = 4}, 34}));

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

TEST(Random, UntakenBranchesAndEmptyRangesStillDraw) {
  EXPECT_EQ(valueOf("0?rnd(0,255):0, rnd(0,255)"), 35);
  EXPECT_EQ(valueOf("rnd(5,1)"), 0);
  EXPECT_EQ(valueOf("rnd(5,1)+rnd(0,255)"), 35);
  EXPECT_EQ(valueOf("rnd(7,7)"), 7);
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
