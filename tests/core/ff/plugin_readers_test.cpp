// The readers of the Filter Factory plugins: every Windows and Macintosh size, the Premiere
// Filter Factory and the Transition Factory.

#include <gtest/gtest.h>

#include "core/ff/plugin_reader.h"
#include "core/ff/premiere_reader.h"
#include "support/ff_plugin_bytes.h"
#include "support/temp_folder.h"

namespace qm::ff {
namespace {

using test::ffPluginBytes;
using test::viewOf;

test::FFPluginFields sample() {
  // clang-format off
  return {.title = "Wave", .category = "Distort", .copyright = "(c) 1999", .author = "A. Author",
          .controlNames = {"Amount", "", "Angle", "Phase", "", "", "", "Last"},
          .sliderValues = {1, 2, 3, 4, 5, 6, 7, 255}, .mapNames = {"", "", "Colour map", ""},
          .formulas = {"r+ctl(0)", "g", "b*2", "a"}};
  // clang-format on
}

std::optional<FFRecord> read(const std::string& bytes, bool namesOnly = false) {
  FFRecord rec;
  rec.photoshopDialect = false;
  const bool ok = Read8bfBytes(viewOf(bytes), "wave.8bf", rec, namesOnly, false, FFOptions{});
  return ok ? std::optional(rec) : std::nullopt;
}

class EverySize : public ::testing::TestWithParam<std::size_t> {};

TEST_P(EverySize, ReadsEveryFieldAtTheVariantsPlaces) {
  auto f = sample();
  f.hideControl[3] = true;  // unused flags hide the stored names, not the values
  f.hideMap[2] = true;
  const std::string bytes = ffPluginBytes(GetParam(), f);
  auto rec = read(bytes);
  ASSERT_TRUE(rec);
  EXPECT_EQ(rec->fileName, "wave.8bf");
  EXPECT_TRUE(rec->photoshopDialect);
  f.controlNames[3] = f.mapNames[2] = "";
  EXPECT_EQ(std::tie(rec->title, rec->category, rec->copyright, rec->author),
            std::tie(f.title, f.category, f.copyright, f.author));
  EXPECT_EQ(std::tie(rec->controlNames, rec->sliderValues, rec->mapNames, rec->formulas),
            std::tie(f.controlNames, f.sliderValues, f.mapNames, f.formulas));

  auto names = read(bytes, true);
  ASSERT_TRUE(names);
  EXPECT_EQ(std::tie(names->title, names->category), std::tie(f.title, f.category));
  EXPECT_EQ(names->copyright + names->controlNames[0] + names->formulas[0], "");
  EXPECT_EQ(names->sliderValues, (std::array<std::uint8_t, 8>{}));
}

INSTANTIATE_TEST_SUITE_P(Plugin, EverySize,
                         ::testing::Values(49152, 49664, 50176, 53760, 57344, 69632, 99712, 99840));

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
  for (const auto& c : cases)
    EXPECT_EQ(read(ffPluginBytes(c.size, sample(), c.signature)).has_value(), c.accepted)
        << c.size << " '" << c.signature << "'";
  for (std::size_t size : {0u, 57343u, 57345u}) {
    std::string bytes = ffPluginBytes(57344, sample());
    bytes.resize(size, '\0');
    EXPECT_FALSE(read(bytes)) << size;
  }
}

TEST(Read8bf, TextQuirks) {
  // A blank signature: the texts come from the data block.
  for (std::size_t size : {49152u, 50176u}) {
    std::string bytes = ffPluginBytes(size, sample(), " FilterFactory");
    // Decoys where the other 3.04 builders keep their menu fields.
    test::putText(bytes, 23843, "Decoy title");
    test::putText(bytes, 23895, "Decoy category");
    EXPECT_EQ(bytes.substr(26516, 4) + bytes.substr(26260, 7), "WaveDistort");
    auto rec = read(bytes);
    ASSERT_TRUE(rec) << size;
    EXPECT_EQ(rec->title + "|" + rec->category + "|" + rec->formulas[2], "Wave|Distort|b*2");
    EXPECT_EQ(rec->sliderValues[7], 255);
  }
  // clang-format off
  const std::pair<std::string, std::string> categories[] = {
      {"X", "Photoshop"}, {"  X  ", "Photoshop"}, {"Ab", "Ab"}, {" Ab ", " Ab "}};
  // clang-format on
  for (const auto& [stored, expected] : categories) {
    for (std::size_t size : {57344u, 99712u}) {
      auto f = sample();
      f.category = stored;
      EXPECT_EQ(read(ffPluginBytes(size, f))->category, expected) << "'" << stored << "' " << size;
    }
  }
  // Formulas lose comments and line ends; names keep the comment, texts lose the line ends.
  auto f = sample();
  f.formulas[0] = "r+1 // why\r\n+2\r\n";
  f.controlNames[0] = "a//b";
  f.copyright = "line1\r\nline2";
  auto rec = read(ffPluginBytes(57344, f));
  EXPECT_EQ(rec->formulas[0] + "|" + rec->controlNames[0] + "|" + rec->copyright,
            "r+1 +2|a//b|line1line2");
  // Macintosh texts are cut to their length byte.
  std::string mac = ffPluginBytes(99712, sample());
  test::putText(mac, 49853, "LongerTitle");
  mac[49852] = 5;
  mac[51432] = 0;  // author length 0 hides its text
  rec = read(mac);
  EXPECT_EQ(rec->title + "|" + rec->author, "Longe|");
}

test::PremiereFields premiere(std::string menuName = "Distort: Wave") {
  // clang-format off
  return {.menuName = std::move(menuName), .copyright = "(c) 1996",
          .controlNames = {"Amount", "", "", "Phase", "", "", "", ""},
          .sliderValues = {10, 20, 30, 40, 50, 60, 70, 80}, .mapNames = {"", "Map two", "", ""},
          .formulas = {"rr", "gg", "bb", "aa"}};
  // clang-format on
}

// Formulas already in their shortest form, so the always-on optimizer leaves them alone.
std::optional<FFRecord> readFF(const std::string& bytes, bool namesOnly = false) {
  FFRecord rec;
  const bool ok = ReadprmBytes(viewOf(bytes), "wave.prm", rec, namesOnly, false, FFOptions{});
  return ok ? std::optional(rec) : std::nullopt;
}
std::optional<FFRecord> readTF(const std::string& bytes) {
  FFRecord rec;
  if (!ReadTFBytes(viewOf(bytes), "fade.prm", rec, false, FFOptions{})) return std::nullopt;
  return rec;
}

void expectBlock(const std::optional<FFRecord>& rec) {
  ASSERT_TRUE(rec);
  auto f = premiere();
  // Stored B, G, R, A; held R, G, B, A.
  EXPECT_EQ(
      std::tie(rec->copyright, rec->controlNames, rec->sliderValues, rec->mapNames, rec->formulas),
      std::tie(f.copyright, f.controlNames, f.sliderValues, f.mapNames, f.formulas));
  EXPECT_FALSE(rec->photoshopDialect);
}

TEST(Readprm, MarkersSizesAndTheMenuName) {
  for (std::size_t size : {50176u, 50688u, 53248u}) {
    for (long e : {-8L, -4L, 0L, 504L, 3064L, 3072L}) {
      SCOPED_TRACE(testing::Message() << size << " " << e);
      std::string bytes = test::premiereFFBytes(size, e, premiere());
      EXPECT_EQ(PremiereFFOffset(viewOf(bytes)), e);
      auto rec = readFF(bytes);
      expectBlock(rec);
      EXPECT_EQ(rec->fileName + "|" + rec->category + "|" + rec->title, "wave.prm|Distort|Wave");
    }
  }
  // The marker bytes alone, in a file of zeros.
  struct Case {
    std::uint8_t marker, at28876, at32030;
    std::optional<long> e;
  };
  // clang-format off
  const Case cases[] = {
      {'D', 'v', 0, -4}, {'D', 'r', 0, -8}, {'D', 'x', 0, 0}, {'e', 0, 0, 504},
      {202, 0, 'r', 3064}, {202, 0, 'c', 3072}, {202, 0, 'x', {}}, {'5', 'v', 'r', 0},
      {'x', 0, 0, {}}, {'d', 'v', 0, {}}, {0, 0, 0, {}}};
  // clang-format on
  for (const auto& c : cases) {
    std::string bytes(50688, '\0');
    bytes[29020] = static_cast<char>(c.marker);
    bytes[28876] = static_cast<char>(c.at28876);
    bytes[32030] = static_cast<char>(c.at32030);
    EXPECT_EQ(PremiereFFOffset(viewOf(bytes)), c.e) << int(c.marker);
    EXPECT_EQ(readFF(bytes).has_value(), c.e.has_value()) << int(c.marker);
  }
  for (std::size_t size : {51200u, 50687u, 29021u})
    EXPECT_FALSE(readFF(test::premiereFFBytes(53248, 504, premiere()).substr(0, size))) << size;
  // The character after the colon is skipped; a field that begins with NUL holds no text.
  // clang-format off
  const std::pair<std::string, std::string> menus[] = {
      {"Distort:Wave", "Distort|ave"}, {"A: B: C", "A|B: C"}, {": Wave", "[Premiere FF]|Wave"},
      {"Blur:", "Blur|"}, {"", "[Premiere FF]|"}};
  // clang-format on
  for (const auto& [menu, split] : menus) {
    auto rec = readFF(test::premiereFFBytes(50176, 0, premiere(menu)), true);
    ASSERT_TRUE(rec) << menu;
    EXPECT_EQ(rec->category + "|" + rec->title, split) << menu;
    EXPECT_EQ(rec->copyright + rec->formulas[0], "");
  }
}

TEST(ReadTF, EveryMarkerVariantAndSignature) {
  // No size test: any size that holds the fields will do.
  for (long f : {0L, 520L, 3076L, 9904L}) {
    SCOPED_TRACE(f);
    std::string bytes = test::transitionBytes(f == 3076 ? 60000 : 50688, f, premiere("Fade: Out"));
    EXPECT_EQ(TransitionOffset(viewOf(bytes)), f);
    auto rec = readTF(bytes);
    expectBlock(rec);
    EXPECT_EQ(rec->title + "|" + rec->category, "Fade: Out|[Premiere TF]");  // taken whole
  }
  // 'n' with another byte at 22032 signs at 21520.
  std::string bytes = test::transitionBytes(51200, 0, premiere());
  bytes[29080] = 'n';
  EXPECT_EQ(TransitionOffset(viewOf(bytes)), 0);
  bytes[29080] = 'x';
  EXPECT_EQ(TransitionOffset(viewOf(bytes)), std::nullopt);
  for (long f : {0L, 3076L, 9904L})
    for (const char* signature : {"Premiere Transition Factorx", "Premiere Transition Factory2"})
      EXPECT_FALSE(readTF(test::transitionBytes(51200, f, premiere(), signature))) << f;
  // The 520 variant has no signature to check.
  std::string unsigned520 = test::transitionBytes(51200, 520, premiere());
  EXPECT_TRUE(readTF(unsigned520));
  EXPECT_FALSE(readTF(unsigned520.substr(0, 29080)));
}

TEST(PluginFiles, ReadFromDiskAndMissingFiles) {
  test::TempFolder dir;
  auto f = sample();
  f.formulas[0] = "src(x,y,z) + 1";
  auto file = test::writeFile(dir / "Wave.8bf", ffPluginBytes(53760, f));
  auto ff = test::writeFile(dir / "Wave.prm", test::premiereFFBytes(50688, 504, premiere()));
  auto tf = test::writeFile(dir / "Fade.prm", test::transitionBytes(50688, 0, premiere()));
  FFRecord rec;
  ASSERT_TRUE(Read8bf(file, rec, false, true, FFOptions{}));  // optimised when asked
  EXPECT_EQ(rec.fileName + "|" + rec.formulas[0], "Wave.8bf|c+1");
  EXPECT_FALSE(Read8bf(dir / "gone.8bf", rec, false, false, FFOptions{}));
  EXPECT_EQ(rec.title, "");
  ASSERT_TRUE(Readprm(ff, rec, false, false, FFOptions{}));
  EXPECT_EQ(rec.fileName, "Wave.prm");
  EXPECT_FALSE(Readprm(tf, rec, false, false, FFOptions{}));  // a transition is no FF plugin
  ASSERT_TRUE(ReadTF(tf, rec, false, FFOptions{}));
  EXPECT_EQ(rec.fileName, "Fade.prm");
  EXPECT_FALSE(ReadTF(dir / "gone.prm", rec, false, FFOptions{}));
}

}  // namespace
}  // namespace qm::ff
