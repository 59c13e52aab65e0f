// Whole-image runs on tiny generated images with exact expected pixels.

#include "core/formula/render.h"

#include <gtest/gtest.h>

#include "formula_helpers.h"

namespace qm::formula::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Render, ClampsEachChannelAndKeepsAlphaOfThreeChannelRuns) {
  Picture in(3, 1, 4);
  in.bytes = {10, 20, 30, 40, 200, 100, 0, 77, 255, 255, 255, 1};
  FilterSetup setup{3, 1, 3, {}, {}};
  // A 3-channel run in 4-byte pixels: the fourth byte is the input's, whatever out held.
  auto program = compileFilter({"r*2", "g-60", "255-b", "0"}, setup);
  ASSERT_TRUE(program);
  ImageView view = in.view();
  view.channels = 3;
  for (Engine tier : {Engine::Reference, Engine::Block, Engine::Compiled}) {
    Picture out(3, 1, 4);
    RenderOptions options;
    options.engine = tier;
    render(*program, view, out.mutableView(), options);
    EXPECT_EQ(out.bytes, (Bytes{20, 0, 225, 40, 255, 40, 255, 77, 255, 195, 0, 1}))
        << engineName(tier);
  }
}

TEST(Render, AlphaRunsOnFourChannelsAndCellsLiveAcrossChannelsAndPixels) {
  Picture rgba(2, 1, 4);
  rgba.bytes = {1, 2, 3, 100, 4, 5, 6, 0};
  EXPECT_EQ(applyFilter({"a", "c", "z*100", "255-a"}, rgba),
            (Bytes{100, 2, 200, 155, 0, 5, 200, 255}));
  EXPECT_EQ(applyFilter({"put(get(0)+r+g,0),0", "get(0)", "get(0)/2", ""},
                        uniform(2, 1, {10, 20, 30, 0}, 3)),
            (Bytes{0, 30, 15, 0, 60, 30}));
}

TEST(Render, SrcPinsCoordinatesToTheImage) {
  Picture in = gradient(3, 2, 3);
  // Each pixel takes the red of its left neighbour; column 0 repeats itself.
  auto out = applyFilter({"src(x-1,y,0)", "src(x+5,y,1)", "src(x,y-9,3)", ""}, in);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      const std::size_t at = (std::size_t(y) * 3 + x) * 3;
      EXPECT_EQ(out[at], in.at(x == 0 ? 0 : x - 1, y)[0]);
      EXPECT_EQ(out[at + 1], in.at(2, y)[1]);
      EXPECT_EQ(out[at + 2], 0);  // channel 3 of a 3-channel image reads 0
    }
}

TEST(Render, ConvolutionClampsAtTheBorder) {
  Picture in(3, 3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) in.at(x, y)[0] = std::uint8_t(10 * (y * 3 + x));
  // Sum of the 3x3 neighbourhood of the red channel with edge pixels repeated.
  auto out = applyFilter({"cnv(1,1,1,1,1,1,1,1,1,1)", "cnv(0,0,0,0,1,0,0,0,0,0)", "0", ""}, in);
  EXPECT_EQ(out[0], 120);
  EXPECT_EQ(out[1], 0);  // divisor 0
  auto small = applyFilter({"cnv(1,1,1,1,1,1,1,1,1,9)", "0", "0", ""}, in);
  // (0,0): rows y-1,y,y+1 clamp to 0,0,1 and columns to 0,0,1: 4*0 + 2*10 + 2*30 + 40 = 120
  EXPECT_EQ(small[0], 120 / 9);
  // (1,1): the plain mean of all nine values 0..80 = 40
  EXPECT_EQ(small[(1 * 3 + 1) * 3], 40);
  // (2,2): 4*80 + 2*70 + 2*50 + 40 = 600 / 9 = 66
  EXPECT_EQ(small[(2 * 3 + 2) * 3], 66);
}

TEST(Render, RadialSamplingUsesTheFloorCentre) {
  Picture in = gradient(5, 4, 3);
  auto out = applyFilter({"rad(0,0,0)", "rad(512,100,1)", "rad(256,1,2)", ""}, in);
  for (std::size_t px = 0; px < 20; ++px) {
    EXPECT_EQ(out[px * 3], in.at(2, 2)[0]);
    // Far left, pinned; the table's missing zero moves it one row up.
    EXPECT_EQ(out[px * 3 + 1], in.at(0, 1)[1]);
    EXPECT_EQ(out[px * 3 + 2], in.at(2, 3)[2]);  // one down
  }
}

TEST(Render, FixedDivisorsAgreeWithTheReferenceAtMultiplesAndExtremes) {
  Picture in = uniform(301, 1, {0, 0, 0, 0}, 3);
  RenderOptions reference;
  reference.engine = Engine::Reference;
  for (const char* d : {"3", "7", "255", "-255", "1000", "65535", "2147483647", "-2147483647",
                        "-2147483648", "(-2)"}) {
    const std::string k = d;
    // Exact multiples (where a reciprocal is most likely to land one short), a spread of
    // large dividends, and the remainders of both.
    const std::array<std::string, 4> f = {"put((x-150)*" + k + ",0), get(0)/" + k + "==x-150",
                                          "((x-150)*7654321+x)/" + k + "&255",
                                          "((x-150)*7654321-x)%" + k + "&255", ""};
    EXPECT_EQ(applyFilter(f, in), applyFilter(f, in, reference)) << k;
    if (k.size() > 6) continue;  // (x-150)*k wraps for the huge divisors
    const auto out = applyFilter(f, in);
    for (int x = 0; x < 301; ++x) ASSERT_EQ(out[std::size_t(x) * 3], 1) << k << " x=" << x;
  }
}

TEST(Render, CancelStopsBetweenRows) {
  Picture in = uniform(4, 50, {1, 2, 3, 4});
  for (const char* formula : {"255", "rnd(255,255)"}) {
    FilterSetup setup{4, 50, 4, {}, {}};
    auto program = compileFilter({formula, formula, formula, formula}, setup);
    ASSERT_TRUE(program);
    Picture out = in;
    int polls = 0;
    RenderOptions options;
    options.cancelled = [&] { return ++polls > 3; };
    auto result = render(*program, in.view(), out.mutableView(), options);
    EXPECT_FALSE(result.completed) << formula;
    EXPECT_EQ(out.at(0, 0)[0], 255) << formula;
    EXPECT_EQ(out.at(0, 49)[0], 1) << formula;  // never reached
  }
}

}  // namespace
}  // namespace qm::formula::testing
