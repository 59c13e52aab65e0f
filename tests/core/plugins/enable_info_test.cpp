#include "core/plugins/enable_info.h"

#include <gtest/gtest.h>

#include "core/plugins/pipl_properties.h"
#include "core/plugins/scan_file.h"
#include "support/pe_builder.h"
#include "support/temp_folder.h"

namespace qm::plugins {
namespace {

std::string names(ModeSet set) {
  std::string text;
  for (auto n : modeNames(set)) text += (text.empty() ? "" : ", ") + std::string(n);
  return text;
}

ModeSet modes(std::initializer_list<int> list) {
  ModeSet set = 0;
  for (int m : list) set |= modeBit(m);
  return set;
}

TEST(EnableInfo, ExpressionsGiveTheModesAHostEnablesTheFilterIn) {
  struct Case {
    const char* expression;
    const char* modes;
  };
  const Case cases[] = {
      {"in (PSHOP_ImageMode, RGBMode, GrayScaleMode, CMYKMode, HSLMode, HSBMode, "
       "MultichannelMode, DuotoneMode, LabMode, RGB48Mode, Gray16Mode) || "
       "PSHOP_ImageDepth == 16 || PSHOP_ImageDepth == 32",
       "RGB, Grey, CMYK, Lab, Multichannel, Duotone, RGB48, Grey16, CMYK64, Lab48, "
       "Multichannel16, Duotone16, RGB96, Grey32"},
      {"PSHOP_ImageMode == RGBMode", "RGB"},
      {"in(PSHOP_ImageMode, RGBMode, GrayScaleMode) && PSHOP_ImageDepth != 16", "RGB, Grey"},
      {"!in(PSHOP_ImageMode, BitmapMode, IndexedMode) && PSHOP_ImageDepth <= 16",
       "RGB, Grey, CMYK, Lab, Multichannel, Duotone, RGB48, Grey16, CMYK64, Lab48, "
       "Multichannel16, Duotone16"},
      {"PSHOP_NumTargetChannels >= 3 && PSHOP_ImageDepth == 8", "RGB, CMYK, Lab, Multichannel"},
      {"(PSHOP_ImageMode == RGBMode || PSHOP_ImageMode == RGB48Mode) && "
       "PSHOP_IsTargetComposite && !PSHOP_HasSelectionMask",
       "RGB, RGB48"},
      {"max(PSHOP_ImageWidth, PSHOP_ImageHeight) >= 64 && PSHOP_ImageMode == LabMode", "Lab"},
      {"PSHOP_ImageDepth / 0 == 0 && PSHOP_ImageMode == GrayScaleMode", "Grey"},
      {"min(PSHOP_ImageDepth, 8) == 8 && PSHOP_ImageMode - 1 == 0 && 7 % 4 * 2 + 1 == 7", "Grey"},
      {"PSHOP_ImageMode == -(-3) && PSHOP_HasLayerMask == false", "RGB"},
      {"true",
       "RGB, Grey, CMYK, Lab, Indexed, Bitmap, Multichannel, Duotone, RGB48, Grey16, "
       "CMYK64, Lab48, Multichannel16, Duotone16, RGB96, Grey32"},
      {"false", ""},
  };
  for (const auto& c : cases) {
    auto expression = EnableExpression::parse(c.expression);
    ASSERT_TRUE(expression) << c.expression;
    EXPECT_EQ(names(expression->enabledModes()), c.modes) << c.expression;
  }
}

TEST(EnableInfo, TextsThatAreNoExpressionAreRefusedAndTheModesPropertyServes) {
  for (const char* text :
       {"", "PSHOP_ImageMode = RGBMode", "in(PSHOP_ImageMode)", "PSHOP_Unknown == 1", "(RGBMode",
        "dim(1)", "1 2", "RGBMode ==", "99999999999999999999 == 1", "in(,)"}) {
    EXPECT_FALSE(EnableExpression::parse(text)) << text;
  }
  EXPECT_FALSE(EnableExpression::parse(std::string(200, '(') + "1" + std::string(200, ')')));
  EXPECT_TRUE(EnableExpression::parse(std::string(20, '(') + "1" + std::string(20, ')')));
  // The property's padding ends the text.
  EXPECT_TRUE(EnableExpression::parse(std::string("true\0\0\0", 7)));

  const ModeSet property = modes({kRgbMode, kGreyMode});
  EXPECT_EQ(offeredModes(std::string("PSHOP_ImageMode == LabMode"), property), modes({kLabMode}));
  EXPECT_EQ(offeredModes(std::string("PSHOP_ImageMode ==="), property), property);
  EXPECT_EQ(offeredModes(std::nullopt, property), property);
  EXPECT_EQ(offeredModes(std::nullopt, std::nullopt), std::nullopt);
}

TEST(EnableInfo, ColumnAndSentenceSayWhereTheFilterRuns) {
  struct Case {
    ModeSet set;
    const char* column;
    const char* sentence;
  };
  const ModeSet allFlat = modes({0, 1, 2, 3, 4, 7, 8, 9});
  const Case cases[] = {
      {modes({kRgbMode, kGreyMode}), "RGB, Grey", "Needs an RGB or Grey image; not 16-bit"},
      {modes({kRgbMode, kRgb48Mode}), "RGB, 16-bit", "Needs an RGB image"},
      {modes({kRgbMode, kGreyMode, kRgb48Mode}), "RGB, Grey, 16-bit",
       "Needs an RGB or Grey image; 16-bit only in RGB"},
      {modes({kCmykMode, kLabMode, kIndexedMode}), "CMYK, Lab, Indexed",
       "Needs a CMYK, Lab or Indexed image; not 16-bit"},
      {modes({kRgb48Mode}), "RGB, 16-bit", "Needs an RGB image; 16-bit only"},
      {0, "", "Greyed out in every image mode"},
      {allFlat, "RGB, Grey, CMYK, Lab, Indexed, Bitmap, Multichannel, Duotone",
       "Works in every 8-bit image mode; not 16-bit"},
      {allFlat | modes({10, 11, 12, 13, 14, 15, 16}),
       "RGB, Grey, CMYK, Lab, Indexed, Bitmap, Multichannel, Duotone, 16-bit, 32-bit",
       "Works in every image mode"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(modesColumnText(c.set), c.column);
    EXPECT_EQ(modesRestriction(c.set), c.sentence) << c.column;
  }
  // Bit n of the property is 0x80 >> (n % 8) of byte n / 8.
  const std::uint8_t flags[] = {0x58, 0x30};
  EXPECT_EQ(names(modesFromFlagSet(ByteView(flags, 2))), "RGB, Grey, CMYK, RGB48, Grey16");
}

TEST(EnableInfo, ScanReadsModesExpressionAndEntryPointsFromThePipl) {
  struct Case {
    test::PiplExtras extras;
    std::uint16_t machine;
    std::optional<std::string> architecture;
    const char* modes;  // nullptr: nothing known
    std::optional<std::string> enableInfo;
  };
  auto filter = [](std::optional<test::Bytes> m, std::optional<std::string> e,
                   std::vector<std::string> entries) {
    return test::PiplExtras{std::move(m), std::move(e), std::move(entries)};
  };
  const Case cases[] = {
      {filter(test::Bytes{0x58, 0}, std::nullopt, {}), 0x014C, "x86", "RGB, Grey, CMYK",
       std::nullopt},
      {filter(test::Bytes{0x58, 0}, "PSHOP_ImageMode == RGBMode", {"4668"}), 0x8664, "x64", "RGB",
       "PSHOP_ImageMode == RGBMode"},
      // An expression that does not read leaves the modes property in charge.
      {filter(test::Bytes{0x10, 0x10}, "PSHOP_ImageMode ==", {"68xw", "4668"}), 0x014C, "both",
       "RGB, RGB48", "PSHOP_ImageMode =="},
      {filter(std::nullopt, std::nullopt, {"46aw"}), 0xAA64, "arm64", nullptr, std::nullopt},
  };
  test::TempFolder dir;
  for (const auto& c : cases) {
    test::PeImage image;
    image.machine = c.machine;
    image.resources.push_back(
        {"PIPL", 0, {test::piplData(test::PiplFilter{"Glow", "Light", false, 0}, c.extras)}});
    const auto file = test::writeFile(dir / "f.8bf", test::asString(test::buildPe(image).bytes));
    auto rows = scanFile(file, {}, {}, {});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].title, "Glow");
    EXPECT_EQ(rows[0].architecture, c.architecture);
    EXPECT_EQ(rows[0].enableInfo, c.enableInfo);
    if (c.modes) {
      ASSERT_TRUE(rows[0].modes);
      EXPECT_EQ(names(*rows[0].modes), c.modes);
    } else {
      EXPECT_FALSE(rows[0].modes);
    }
  }
}

}  // namespace
}  // namespace qm::plugins
