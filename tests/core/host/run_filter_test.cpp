#include "core/host/run_filter.h"

#include <gtest/gtest.h>

#include "fake_codec.h"

namespace qm::host::testing {
namespace {

using Px = std::array<int, 4>;
Px pixelAt(const Image& img, int x, int y) {
  const std::uint8_t* p = img.pixel(x, y);
  return {p[0], p[1], p[2], p[3]};
}

Rect whole(const Image& img) {
  return {0, 0, img.width - 1, img.height - 1};
}

TEST(RunFilter, PictureWithoutAlphaRunsThreeChannelsAndIgnoresTheAFormula) {
  Image img = pattern(4, 3, false);
  auto report = runFilter({"255-r", "Z*10", "a", "this is not (a formula"}, img, whole(img), {});
  ASSERT_EQ(report.outcome, RunOutcome::Done);
  // a reads 0 without alpha.
  EXPECT_EQ(pixelAt(img, 3, 2), (Px{252, 30, 0, 255}));
}

TEST(RunFilter, LayerWithAlphaRunsFourChannelsAndKeepsStraightColour) {
  Image img = pattern(4, 3, true, 100);
  FilterRun run;
  run.sliders = {7};
  auto report = runFilter({"r", "a", "Z", "a/2+ctl(0)"}, img, whole(img), run);
  ASSERT_EQ(report.outcome, RunOutcome::Done);
  EXPECT_EQ(pixelAt(img, 2, 1), (Px{2, 100, 4, 57}));
}

TEST(RunFilter, AreaCountsCoordinatesFromItsCornerAndLeavesTheRestAlone) {
  Image img = pattern(6, 5, false);
  const Image before = img;
  auto report = runFilter({"x*10+y", "X*10+Y", "src(-1,0,0)", ""}, img, Rect{2, 1, 4, 2}, {});
  ASSERT_EQ(report.outcome, RunOutcome::Done);
  // A 3 x 2 area; src pins to the area's own left edge (x = 2).
  EXPECT_EQ(pixelAt(img, 2, 1), (Px{0, 32, 2, 255}));
  EXPECT_EQ(pixelAt(img, 4, 2), (Px{21, 32, 2, 255}));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
      if (x < 2 || x > 4 || y < 1 || y > 2) {
        EXPECT_EQ(pixelAt(img, x, y), pixelAt(before, x, y));
      }
}

TEST(RunFilter, BadFormulaLeavesThePictureAndNamesChannelAndPosition) {
  Image img = pattern(3, 3, true);
  const Image before = img;
  auto report = runFilter({"r", "g+*2", "b", "a"}, img, whole(img), {});
  ASSERT_EQ(report.outcome, RunOutcome::BadFormula);
  EXPECT_EQ(describe(report.error), "G formula, position 3: expected a value");
  EXPECT_EQ(img.rgba, before.rgba);
}

TEST(RunFilter, CancelledOrEmptyRunsChangeNothing) {
  Image img = pattern(3, 40, false);
  const Image before = img;
  FilterRun run;
  run.cancelled = [] { return true; };
  EXPECT_EQ(runFilter({"0", "0", "0", ""}, img, whole(img), run).outcome, RunOutcome::Cancelled);
  EXPECT_EQ(img.rgba, before.rgba);
  EXPECT_EQ(runFilter({"0", "0", "0", ""}, img, Rect{5, 5, 4, 4}, {}).outcome, RunOutcome::BadArea);
  EXPECT_EQ(img.rgba, before.rgba);
}

}  // namespace
}  // namespace qm::host::testing
