#include <gtest/gtest.h>

#include "core/picture/editor_rules.h"
#include "core/picture/print_layout.h"
#include "core/picture/zoom.h"

namespace qm::picture {
namespace {

TEST(PictureEditorRules, ZoomFactorAcceptsOneTo800Only) {
  const struct {
    const char* typed;
    std::optional<int> factor;
  } cases[] = {{"1", 1},    {"800", 800}, {" 150 ", 150}, {"75%", 75},
               {"0", {}},   {"900", {}},  {"801", {}},    {"", {}},
               {"abc", {}}, {"-5", {}},   {"12.5", {}},   {"99999999999", {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(parseZoomFactor(c.typed), c.factor);
  }
}

TEST(PictureEditorRules, FitToScreenTakesTheLargestFactorThatFits) {
  EXPECT_EQ(fitToScreenZoom({640, 480}, {1280, 800}), 166);
  EXPECT_EQ(fitToScreenZoom({4000, 1000}, {1280, 800}), 32);
  EXPECT_EQ(fitToScreenZoom({1, 1}, {1280, 800}), 800);
  EXPECT_EQ(fitToScreenZoom({100000, 10}, {1280, 800}), 1);
  EXPECT_EQ(zoomedSize({640, 480}, 25), (host::Size{160, 120}));
  EXPECT_EQ(zoomedSize({3, 3}, 1), (host::Size{1, 1}));
}

TEST(PictureEditorRules, TitleNamesSizeZoomAndColours) {
  EXPECT_EQ(pictureEditorTitle(std::nullopt), "Picture Editor");
  EXPECT_EQ(pictureEditorTitle(ShownPicture{"Test.bmp", 640, 480, 100, 24}),
            "Picture Editor - Test.bmp - 640x480 (100%), 16 Milion Colors (24bit)");
  EXPECT_EQ(pictureEditorTitle(ShownPicture{"", 32, 16, 400, 8}),
            "Picture Editor - Untitled - 32x16 (400%), 256 Colors (8bit)");
  EXPECT_EQ(pictureEditorTitle(ShownPicture{"a.png", 1, 1, 50, 1}),
            "Picture Editor - a.png - 1x1 (50%), 2 Colors (1bit)");
}

TEST(PictureEditorRules, DepthEntriesOnlyRaiseAndGifSavesThroughTheChooser) {
  std::vector<int> enabledFor8;
  for (const auto& entry : colorDepthEntries())
    if (colorDepthEnabled(entry.bitsPerPixel, 8)) enabledFor8.push_back(entry.bitsPerPixel);
  EXPECT_EQ(enabledFor8, std::vector<int>{24});
  EXPECT_FALSE(colorDepthEnabled(24, 24));
  EXPECT_TRUE(saveNeedsChooser(""));
  EXPECT_TRUE(saveNeedsChooser("/p/anim.gif"));
  EXPECT_FALSE(saveNeedsChooser("/p/ANIM.GIF"));  // only the lower-case ending
  EXPECT_FALSE(saveNeedsChooser("/p/photo.png"));
}

TEST(PictureEditorRules, PrintPlacement) {
  // 300 dpi printer, 96 dpi screen: a 96-pixel picture prints one inch wide.
  EXPECT_EQ(printPlacement({96, 48}, PrintMode::ActualSize, {2400, 3300}, 300),
            (PrintRect{0, 0, 300, 150}));
  EXPECT_EQ(printPlacement({96, 48}, PrintMode::FitToPage, {2400, 3300}, 300),
            (PrintRect{0, 0, 2400, 1200}));
  EXPECT_EQ(printPlacement({100, 1000}, PrintMode::FitToPage, {2400, 3300}, 300),
            (PrintRect{0, 0, 330, 3300}));
  EXPECT_EQ(printPlacement({0, 10}, PrintMode::FitToPage, {2400, 3300}, 300), PrintRect{});
}

}  // namespace
}  // namespace qm::picture
