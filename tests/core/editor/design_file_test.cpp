// Reading interface designs: field positions, optional fields in order, unknown words.

#include "core/editor/design_file.h"

#include <gtest/gtest.h>

namespace qm::editor {
namespace {

constexpr const char* kHead = "\"A design\",\"back.bmp\",";

TEST(DesignFile, TwoShapesEndingAfterTheOutline) {
  Design d = parseDesign(std::string(kHead) +
                         "2,400,300\r\n"
                         "Rect,0,0,400,300,0,0\r\n"
                         "Ellipse,10,10,390,290,0,0\r\n"
                         "RGN_COPY\r\n");
  EXPECT_EQ(d.background, "back.bmp");
  EXPECT_EQ(d.width, 400);
  EXPECT_EQ(d.height, 300);
  ASSERT_TRUE(d.outline);
  EXPECT_EQ(d.outline->first.kind, ShapeKind::Rect);
  EXPECT_EQ(d.outline->first.rect, (DesignRect{0, 0, 400, 300}));
  ASSERT_EQ(d.outline->steps.size(), 1u);
  EXPECT_EQ(d.outline->steps[0].shape.kind, ShapeKind::Ellipse);
  EXPECT_EQ(d.outline->steps[0].mode, CombineMode::Copy);
  EXPECT_FALSE(d.sliderStyle);
  EXPECT_EQ(d.hotspotField, Presence::EndOfFile);
  EXPECT_EQ(d.codeBoxField, Presence::EndOfFile);
  EXPECT_EQ(d.codeBoxes, kDefaultCodeBoxes);
}

TEST(DesignFile, FurtherShapesUnknownModeAndOptionalFields) {
  Design d = parseDesign(std::string(kHead) +
                         "4,500,400,RoundRect,0,0,500,400,20,30,Rect,0,0,10,10,0,0,RGN_DIFF\n"
                         "Ellipse,1,2,3,4,5,6,RGN_SOMETHING\n"
                         "Rect,7,8,9,10.5,0,0,RGN_OR\n"
                         "GraphSlider3\n"
                         "Mailto,10,20,110,40,\"me@example.org\",\"Write to me\"\n"
                         "CodeWindows,5,6,105,206\n");
  ASSERT_TRUE(d.outline);
  EXPECT_EQ(d.outline->first.cornerWidth, 20);
  EXPECT_EQ(d.outline->first.cornerHeight, 30);
  ASSERT_EQ(d.outline->steps.size(), 3u);
  EXPECT_EQ(d.outline->steps[0].mode, CombineMode::Diff);
  EXPECT_EQ(d.outline->steps[1].mode, CombineMode::Diff);  // unknown word keeps the mode
  EXPECT_EQ(d.outline->steps[2].mode, CombineMode::Or);
  EXPECT_EQ(d.outline->steps[2].shape.rect.bottom, 10);  // 10.5 rounds half to even
  EXPECT_EQ(d.sliderStyle, 3);
  EXPECT_EQ(d.hotspotField, Presence::Given);
  EXPECT_EQ(d.hotspot.rect, (DesignRect{10, 20, 110, 40}));
  EXPECT_EQ(d.hotspot.address, "me@example.org");
  EXPECT_EQ(d.hotspot.tooltip, "Write to me");
  EXPECT_EQ(d.codeBoxField, Presence::Given);
  EXPECT_EQ(d.codeBoxes, (DesignRect{5, 6, 105, 206}));
}

TEST(DesignFile, OtherWordsAreConsumedInTheirPositions) {
  Design d = parseDesign(std::string(kHead) +
                         "2,400,300,Rect,0,0,400,300,0,0,Rect,0,0,1,1,0,0,RGN_AND\n"
                         "PlainSliders\nNoMail\nCodeWindows,1,2,3,4\n");
  EXPECT_FALSE(d.sliderStyle);
  EXPECT_EQ(d.hotspotField, Presence::Other);
  EXPECT_EQ(d.codeBoxField, Presence::Given);
  EXPECT_EQ(d.codeBoxes, (DesignRect{1, 2, 3, 4}));
}

TEST(DesignFile, ABadNumberSpoilsOnlyItsStep) {
  Design d = parseDesign(std::string(kHead) +
                         "2,400,300,Rect,0,0,x,300,0,0,Rect,0,0,1,1,0,0,RGN_AND,"
                         "GraphSlider1,Mailto,1,2,3,99999,a@b,tip,CodeWindows,1,2,3,4\n");
  EXPECT_EQ(d.width, 400);
  EXPECT_FALSE(d.outline);
  EXPECT_EQ(d.sliderStyle, 1);
  EXPECT_EQ(d.hotspotField, Presence::Other);  // 99999 does not fit: hotspot left as it was
  EXPECT_EQ(d.codeBoxes, (DesignRect{1, 2, 3, 4}));
  Design empty = parseDesign("");
  EXPECT_TRUE(empty.background.empty());
  EXPECT_FALSE(empty.width);
  EXPECT_FALSE(empty.outline);
}

TEST(DesignFile, FieldsSplitOnCommasAndLineBreaksWithQuotes) {
  EXPECT_EQ(designFields(" \"a, b\" , c\r\n\r\nd,,e"),
            (std::vector<std::string>{"a, b", "c", "d", "", "e"}));
}

TEST(DesignFile, ShippedDesignsReadCompletely) {
  const auto folder = std::filesystem::path(QM_SOURCE_DIR) / "data" / "interface";
  for (const char* name : {"Interfc4.des", "Interfc5.des", "Plain.des"}) {
    SCOPED_TRACE(name);
    Design d = readDesignFile(designPath(folder, name));
    EXPECT_EQ(d.width, 780);
    EXPECT_EQ(d.height, 540);
    EXPECT_TRUE(d.outline);
    EXPECT_EQ(d.codeBoxField, Presence::Given);
    EXPECT_TRUE(d.background.empty() || std::filesystem::exists(folder / d.background));
  }
  EXPECT_EQ(designPath(folder, "Missing.des").filename(), "Interfc5.des");
}

}  // namespace
}  // namespace qm::editor
