#include "core/ff/plugin_reader.h"

#include <gtest/gtest.h>

#include "support/ff_plugin_bytes.h"
#include "support/temp_folder.h"

namespace qm::ff {
namespace {

using test::ffPluginBytes;
using test::FFPluginFields;
using test::viewOf;

FFPluginFields sample() {
  FFPluginFields f;
  f.title = "Wave";
  f.category = "Distort";
  f.copyright = "(c) 1999 Someone";
  f.author = "A. Author";
  f.controlNames = {"Amount", "", "Angle", "Phase", "", "", "", "Last"};
  f.sliderValues = {1, 2, 3, 4, 5, 6, 7, 255};
  f.mapNames = {"", "", "Colour map", ""};
  f.formulas = {"r+ctl(0)", "g", "b*2", "a"};
  return f;
}

bool read(const std::string& bytes, FFRecord& rec, bool namesOnly = false) {
  return Read8bfBytes(viewOf(bytes), "wave.8bf", rec, namesOnly, false, FFOptions{});
}

class EverySize : public ::testing::TestWithParam<std::size_t> {};

TEST_P(EverySize, ReadsEveryFieldAtTheVariantsPlaces) {
  auto f = sample();
  f.hideControl[3] = true;  // unused flags hide the stored names, not the values
  f.hideMap[2] = true;
  const std::string bytes = ffPluginBytes(GetParam(), f);
  FFRecord rec;
  rec.photoshopDialect = false;
  ASSERT_TRUE(read(bytes, rec));
  EXPECT_EQ(rec.fileName, "wave.8bf");
  EXPECT_TRUE(rec.photoshopDialect);
  f.controlNames[3] = f.mapNames[2] = "";
  EXPECT_EQ(std::tie(rec.title, rec.category, rec.copyright, rec.author),
            std::tie(f.title, f.category, f.copyright, f.author));
  EXPECT_EQ(std::tie(rec.controlNames, rec.sliderValues, rec.mapNames, rec.formulas),
            std::tie(f.controlNames, f.sliderValues, f.mapNames, f.formulas));

  FFRecord names;
  ASSERT_TRUE(read(bytes, names, true));
  EXPECT_EQ(std::tie(names.title, names.category), std::tie(f.title, f.category));
  EXPECT_EQ(names.copyright + names.controlNames[0] + names.formulas[0], "");
  EXPECT_EQ(names.sliderValues, (std::array<std::uint8_t, 8>{}));
}

INSTANTIATE_TEST_SUITE_P(Plugin, EverySize,
                         ::testing::Values(49152, 49664, 50176, 53760, 57344, 99712, 99840));

TEST(Read8bf, SignaturesAndSizes) {
  const struct {
    std::size_t size;
    std::string signature;
    bool accepted;
  } cases[] = {
      // clang-format off
      {57344, "Filter Factory", true}, {57344, "Filter-Factory", true},
      {57344, " FilterFactory", true}, {57344, "FilterFactory", false},
      {57344, "Filter factory", false}, {57344, "Filter Factory!", false}, {57344, "", false},
      {49664, "Filter-Factory", true}, {53760, "Filter Factor", false}, {99712, "Factory", true},
      {99840, "Factory", true}, {99712, "-Factory", false}, {99712, "Filter Factory", false},
      // clang-format on
  };
  for (const auto& c : cases) {
    FFRecord rec;
    EXPECT_EQ(read(ffPluginBytes(c.size, sample(), c.signature), rec), c.accepted)
        << c.size << " '" << c.signature << "'";
  }
  for (std::size_t size : {0u, 57343u, 57345u}) {
    std::string bytes = ffPluginBytes(57344, sample());
    bytes.resize(size, '\0');
    FFRecord rec;
    EXPECT_FALSE(read(bytes, rec)) << size;
  }
}

TEST(Read8bf, BlankSignatureTakesTheDataBlockTexts) {
  for (std::size_t size : {49152u, 50176u}) {
    std::string bytes = ffPluginBytes(size, sample(), " FilterFactory");
    // Decoys where the other 3.04 builders keep their menu fields.
    test::putText(bytes, 23843, "Decoy title");
    test::putText(bytes, 23895, "Decoy category");
    EXPECT_EQ(bytes.substr(26516, 4), "Wave");
    EXPECT_EQ(bytes.substr(26260, 7), "Distort");
    FFRecord rec;
    ASSERT_TRUE(read(bytes, rec)) << size;
    EXPECT_EQ(rec.title, "Wave");
    EXPECT_EQ(rec.category, "Distort");
    EXPECT_EQ(rec.formulas[2], "b*2");
    EXPECT_EQ(rec.sliderValues[7], 255);
  }
}

TEST(Read8bf, ShortCategoryBecomesPhotoshop) {
  const std::pair<std::string, std::string> cases[] = {
      {"X", "Photoshop"}, {"  X  ", "Photoshop"}, {"Ab", "Ab"}, {" Ab ", " Ab "}};
  for (const auto& [stored, expected] : cases) {
    for (std::size_t size : {57344u, 99712u}) {
      auto f = sample();
      f.category = stored;
      FFRecord rec;
      ASSERT_TRUE(read(ffPluginBytes(size, f), rec));
      EXPECT_EQ(rec.category, expected) << "'" << stored << "' " << size;
    }
  }
}

TEST(Read8bf, MacTextsAreCutToTheirLengthByte) {
  std::string bytes = ffPluginBytes(99712, sample());
  test::putText(bytes, 49853, "LongerTitle");
  bytes[49852] = 5;
  bytes[51432] = 0;  // author length 0 hides its text
  FFRecord rec;
  ASSERT_TRUE(read(bytes, rec));
  EXPECT_EQ(rec.title + "|" + rec.author, "Longe|");
}

TEST(Read8bf, FormulasLoseCommentsAndLineEndsNamesDoNot) {
  auto f = sample();
  f.formulas[0] = "r+1 // why\r\n+2\r\n";
  f.controlNames[0] = "a//b";
  f.copyright = "line1\r\nline2";
  FFRecord rec;
  ASSERT_TRUE(read(ffPluginBytes(57344, f), rec));
  EXPECT_EQ(rec.formulas[0], "r+1 +2");
  EXPECT_EQ(rec.controlNames[0], "a//b");
  EXPECT_EQ(rec.copyright, "line1line2");
}

TEST(Read8bf, OptimizesWhenAskedAndReadsFiles) {
  test::TempFolder dir;
  auto f = sample();
  f.formulas[0] = "src(x,y,z) + 1";
  auto file = test::writeFile(dir / "Wave.8bf", ffPluginBytes(53760, f));
  FFRecord rec;
  ASSERT_TRUE(Read8bf(file, rec, false, true, FFOptions{}));
  EXPECT_EQ(rec.fileName, "Wave.8bf");
  EXPECT_EQ(rec.formulas[0], "c+1");
  EXPECT_FALSE(Read8bf(dir / "gone.8bf", rec, false, false, FFOptions{}));
  EXPECT_EQ(rec.title, "");
}

}  // namespace
}  // namespace qm::ff
