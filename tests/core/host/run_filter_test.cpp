#include "core/host/run_filter.h"

#include <gtest/gtest.h>

#include "fake_codec.h"

namespace qm::host::testing {
namespace {

Rect whole(const Image& img) {
  return {0, 0, img.width - 1, img.height - 1};
}

TEST(RunFilter, PictureWithoutAlphaRunsThreeChannelsAndIgnoresTheAFormula) {
  Image img = pattern(4, 3, false);
  auto report = runFilter({"255-r", "Z*10", "a", "this is not (a formula"}, img, whole(img), {});
  ASSERT_EQ(report.outcome, RunOutcome::Done);
  const std::uint8_t* p = img.pixel(3, 2);
  EXPECT_EQ(p[0], 252);
  EXPECT_EQ(p[1], 30);
  EXPECT_EQ(p[2], 0);  // a reads 0 without alpha
  EXPECT_EQ(p[3], 255);
}

TEST(RunFilter, LayerWithAlphaRunsFourChannelsAndKeepsStraightColour) {
  Image img = pattern(4, 3, true, 100);
  FilterRun run;
  run.sliders = {7};
  auto report = runFilter({"r", "a", "Z", "a/2+ctl(0)"}, img, whole(img), run);
  ASSERT_EQ(report.outcome, RunOutcome::Done);
  const std::uint8_t* p = img.pixel(2, 1);
  EXPECT_EQ(p[0], 2);
  EXPECT_EQ(p[1], 100);
  EXPECT_EQ(p[2], 4);
  EXPECT_EQ(p[3], 57);
}

TEST(RunFilter, AreaCountsCoordinatesFromItsCornerAndLeavesTheRestAlone) {
  Image img = pattern(6, 5, false);
  const Image before = img;
  auto report = runFilter({"x*10+y", "X*10+Y", "src(-1,0,0)", ""}, img, Rect{2, 1, 4, 2}, {});
  ASSERT_EQ(report.outcome, RunOutcome::Done);
  EXPECT_EQ(img.pixel(2, 1)[0], 0);
  EXPECT_EQ(img.pixel(4, 2)[0], 21);
  EXPECT_EQ(img.pixel(3, 2)[1], 32);  // a 3 x 2 area
  EXPECT_EQ(img.pixel(4, 2)[2], 2);   // src pins to the area's own left edge (x = 2)
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
      if (x < 2 || x > 4 || y < 1 || y > 2) {
        EXPECT_TRUE(std::equal(img.pixel(x, y), img.pixel(x, y) + 4, before.pixel(x, y)));
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
