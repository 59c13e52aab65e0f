// Reading interface designs: field positions, optional fields in order, unknown words; and
// the designs and snippets the program ships.

#include "core/editor/design_file.h"

#include <gtest/gtest.h>

#include "core/editor/diagnostics.h"
#include "core/editor/snippets.h"

namespace qm::editor {
namespace {

constexpr const char* kHead = "\"A design\",\"back.bmp\",";

TEST(DesignFile, TwoShapesEndingAfterTheOutline) {
  Design d = parseDesign(std::string(kHead) +
                         "2,400,300\r\n"
                         "Rect,0,0,400,300,0,0\r\n"
                         "Ellipse,10,10,390,290,0,0\r\n"
                         "RGN_COPY\r\n");
  EXPECT_EQ(std::tie(d.background, d.width, d.height), std::tuple("back.bmp", 400, 300));
  ASSERT_TRUE(d.outline);
  EXPECT_EQ(d.outline->first.kind, ShapeKind::Rect);
  EXPECT_EQ(d.outline->first.rect, (DesignRect{0, 0, 400, 300}));
  ASSERT_EQ(d.outline->steps.size(), 1u);
  EXPECT_EQ(d.outline->steps[0].shape.kind, ShapeKind::Ellipse);
  EXPECT_EQ(d.outline->steps[0].mode, CombineMode::Copy);
  EXPECT_FALSE(d.sliderStyle);
  EXPECT_EQ(std::tie(d.hotspotField, d.codeBoxField, d.codeBoxes),
            std::tuple(Presence::EndOfFile, Presence::EndOfFile, kDefaultCodeBoxes));
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
  EXPECT_EQ(std::tie(d.outline->first.cornerWidth, d.outline->first.cornerHeight),
            std::tuple(20, 30));
  ASSERT_EQ(d.outline->steps.size(), 3u);
  // An unknown word keeps the mode.
  EXPECT_EQ(std::tie(d.outline->steps[0].mode, d.outline->steps[1].mode, d.outline->steps[2].mode),
            std::tuple(CombineMode::Diff, CombineMode::Diff, CombineMode::Or));
  EXPECT_EQ(d.outline->steps[2].shape.rect.bottom, 10);  // 10.5 rounds half to even
  EXPECT_EQ(d.sliderStyle, 3);
  EXPECT_EQ(d.hotspotField, Presence::Given);
  EXPECT_EQ(std::tie(d.hotspot.rect, d.hotspot.address, d.hotspot.tooltip),
            std::tuple(DesignRect{10, 20, 110, 40}, "me@example.org", "Write to me"));
  EXPECT_EQ(std::tie(d.codeBoxField, d.codeBoxes),
            std::tuple(Presence::Given, DesignRect{5, 6, 105, 206}));
}

TEST(DesignFile, OtherWordsAreConsumedInTheirPositions) {
  Design d = parseDesign(std::string(kHead) +
                         "2,400,300,Rect,0,0,400,300,0,0,Rect,0,0,1,1,0,0,RGN_AND\n"
                         "PlainSliders\nNoMail\nCodeWindows,1,2,3,4\n");
  EXPECT_FALSE(d.sliderStyle);
  EXPECT_EQ(std::tie(d.hotspotField, d.codeBoxField, d.codeBoxes),
            std::tuple(Presence::Other, Presence::Given, DesignRect{1, 2, 3, 4}));
  EXPECT_FALSE(d.resizable);
  // A resizable design names its smallest size; without both numbers it stays fixed.
  const std::string fixedPart = std::string(kHead) +
                                "2,400,300,Rect,0,0,400,300,0,0,Rect,0,0,1,1,0,0,RGN_AND,"
                                "PlainSliders,NoMail,CodeWindows,1,2,3,4,";
  EXPECT_EQ(parseDesign(fixedPart + "Resizable,320,200").resizable, (DesignRect{0, 0, 320, 200}));
  for (const char* tail : {"Resizable,320", "Resizable,0,200", "Sizable,320,200"})
    EXPECT_FALSE(parseDesign(fixedPart + tail).resizable) << tail;
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
  EXPECT_TRUE(empty.background.empty() && !empty.width && !empty.outline);
}

TEST(DesignFile, FieldsSplitOnCommasAndLineBreaksWithQuotes) {
  EXPECT_EQ(designFields(" \"a, b\" , c\r\n\r\nd,,e"),
            (std::vector<std::string>{"a, b", "c", "d", "", "e"}));
}

TEST(ShippedData, EveryDesignReadsCompletelyAndEverySnippetParses) {
  const std::filesystem::path data = std::filesystem::path(QM_SOURCE_DIR) / "data";
  const auto folder = data / "interface";
  struct Shipped {
    const char* name;
    int width, height;
    bool resizable;
  };
  for (const auto& [name, width, height, resizable] :
       {Shipped{"Interfc4.des", 780, 540, false}, Shipped{"Interfc5.des", 780, 540, false},
        Shipped{"Plain.des", 780, 540, false}, Shipped{"Modern.des", 1100, 760, true}}) {
    SCOPED_TRACE(name);
    Design d = readDesignFile(designPath(folder, name));
    EXPECT_EQ(std::tie(d.width, d.height, d.codeBoxField),
              std::tuple(width, height, Presence::Given));
    EXPECT_EQ(d.resizable.has_value(), resizable);
    EXPECT_TRUE(d.outline);
    EXPECT_TRUE(d.background.empty() || std::filesystem::exists(folder / d.background));
  }
  EXPECT_EQ(designPath(folder, "Missing.des").filename(), "Interfc5.des");
  auto snippets = readSnippetFile(data / "Snipets.db");
  ASSERT_GE(snippets.size(), 15u);
  for (const auto& s : snippets) {
    SCOPED_TRACE(s.name);
    EXPECT_FALSE(s.name.empty());
    EXPECT_TRUE(checkFormula(s.code).empty()) << describe(checkFormula(s.code).front());
  }
}

}  // namespace
}  // namespace qm::editor
