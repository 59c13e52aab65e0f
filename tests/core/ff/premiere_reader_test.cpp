#include "core/ff/premiere_reader.h"

#include <gtest/gtest.h>

#include "support/ff_plugin_bytes.h"
#include "support/temp_folder.h"

namespace qm::ff {
namespace {

using test::PremiereFields;
using test::viewOf;

PremiereFields sample(std::string menuName = "Distort: Wave") {
  PremiereFields f;
  f.menuName = std::move(menuName);
  f.copyright = "(c) 1996";
  f.controlNames = {"Amount", "", "", "Phase", "", "", "", ""};
  f.sliderValues = {10, 20, 30, 40, 50, 60, 70, 80};
  f.mapNames = {"", "Map two", "", ""};
  f.formulas = {"rr", "gg", "bb", "aa"};
  return f;
}

// Formulas already in their shortest form, so the always-on optimizer leaves them alone.
bool readFF(const std::string& bytes, FFRecord& rec, bool namesOnly = false) {
  return ReadprmBytes(viewOf(bytes), "wave.prm", rec, namesOnly, false, FFOptions{});
}
bool readTF(const std::string& bytes, FFRecord& rec, bool namesOnly = false) {
  return ReadTFBytes(viewOf(bytes), "fade.prm", rec, namesOnly, FFOptions{});
}

void expectBlock(const FFRecord& rec) {
  auto f = sample();
  // Stored B, G, R, A; held R, G, B, A.
  EXPECT_EQ(std::tie(rec.copyright, rec.controlNames, rec.sliderValues, rec.mapNames, rec.formulas),
            std::tie(f.copyright, f.controlNames, f.sliderValues, f.mapNames, f.formulas));
  EXPECT_FALSE(rec.photoshopDialect);
}

TEST(Readprm, EveryMarkerVariantAndSize) {
  for (std::size_t size : {50176u, 50688u, 53248u}) {
    for (long e : {-8L, -4L, 0L, 504L, 3064L, 3072L}) {
      std::string bytes = test::premiereFFBytes(size, e, sample());
      EXPECT_EQ(PremiereFFOffset(viewOf(bytes)), e) << size << " " << e;
      FFRecord rec;
      ASSERT_TRUE(readFF(bytes, rec)) << size << " " << e;
      EXPECT_EQ(rec.fileName, "wave.prm");
      EXPECT_EQ(rec.category, "Distort");
      EXPECT_EQ(rec.title, "Wave");
      expectBlock(rec);
    }
  }
}

TEST(Readprm, MarkerTable) {
  struct Case {
    std::uint8_t marker;
    std::uint8_t at28876;
    std::uint8_t at32030;
    std::optional<long> e;
  };
  const Case cases[] = {
      {'D', 'v', 0, -4},   {'D', 'r', 0, -8},   {'D', 'x', 0, 0},  {'e', 0, 0, 504},
      {202, 0, 'r', 3064}, {202, 0, 'c', 3072}, {202, 0, 'x', {}}, {'5', 'v', 'r', 0},
      {'x', 0, 0, {}},     {'d', 'v', 0, {}},   {0, 0, 0, {}},
  };
  for (const auto& c : cases) {
    std::string bytes(50688, '\0');
    bytes[29020] = static_cast<char>(c.marker);
    bytes[28876] = static_cast<char>(c.at28876);
    bytes[32030] = static_cast<char>(c.at32030);
    EXPECT_EQ(PremiereFFOffset(viewOf(bytes)), c.e) << int(c.marker);
    FFRecord rec;
    EXPECT_EQ(readFF(bytes, rec), c.e.has_value()) << int(c.marker);
  }
  for (std::size_t size : {51200u, 50687u, 29021u}) {
    FFRecord rec;
    EXPECT_FALSE(readFF(test::premiereFFBytes(53248, 504, sample()).substr(0, size), rec)) << size;
  }
}

TEST(Readprm, MenuNameSplitsAtTheFirstColon) {
  const struct {
    std::string menu;
    std::string category;
    std::string title;
  } cases[] = {
      {"Distort:Wave", "Distort", "ave"},  // the character after the colon is skipped
      {"A: B: C", "A", "B: C"},
      {": Wave", "[Premiere FF]", "Wave"},
      {"Blur:", "Blur", ""},
      {"", "[Premiere FF]", ""},  // a field that begins with NUL holds an empty text
  };
  for (const auto& c : cases) {
    FFRecord rec;
    ASSERT_TRUE(readFF(test::premiereFFBytes(50176, 0, sample(c.menu)), rec, true)) << c.menu;
    EXPECT_EQ(rec.category, c.category) << c.menu;
    EXPECT_EQ(rec.title, c.title) << c.menu;
    EXPECT_EQ(rec.copyright, "");
    EXPECT_EQ(rec.formulas[0], "");
  }
}

TEST(ReadTF, EveryMarkerVariant) {
  // No size test: any size that holds the fields will do.
  for (long f : {0L, 520L, 3076L, 9904L}) {
    std::string bytes = test::transitionBytes(f == 3076 ? 60000 : 50688, f, sample("Fade: Out"));
    EXPECT_EQ(TransitionOffset(viewOf(bytes)), f) << f;
    FFRecord rec;
    ASSERT_TRUE(readTF(bytes, rec)) << f;
    EXPECT_EQ(rec.title, "Fade: Out");  // taken whole
    EXPECT_EQ(rec.category, "[Premiere TF]");
    expectBlock(rec);
  }
}

TEST(ReadTF, MarkerAndSignatureTable) {
  // 'n' with another byte at 22032 signs at 21520.
  std::string bytes = test::transitionBytes(51200, 0, sample());
  bytes[29080] = 'n';
  EXPECT_EQ(TransitionOffset(viewOf(bytes)), 0);
  bytes[29080] = 'x';
  EXPECT_EQ(TransitionOffset(viewOf(bytes)), std::nullopt);

  FFRecord rec;
  for (long f : {0L, 3076L, 9904L})
    for (const char* signature : {"Premiere Transition Factorx", "Premiere Transition Factory2"})
      EXPECT_FALSE(readTF(test::transitionBytes(51200, f, sample(), signature), rec)) << f;
  // The 520 variant has no signature to check.
  std::string unsigned520 = test::transitionBytes(51200, 520, sample());
  EXPECT_TRUE(readTF(unsigned520, rec));
  EXPECT_FALSE(readTF(unsigned520.substr(0, 29080), rec));
}

TEST(PremiereFiles, ReadFromDiskAndMissingFiles) {
  test::TempFolder dir;
  auto ff = test::writeFile(dir / "Wave.prm", test::premiereFFBytes(50688, 504, sample()));
  auto tf = test::writeFile(dir / "Fade.prm", test::transitionBytes(50688, 0, sample()));
  FFRecord rec;
  ASSERT_TRUE(Readprm(ff, rec, false, false, FFOptions{}));
  EXPECT_EQ(rec.fileName, "Wave.prm");
  EXPECT_FALSE(Readprm(tf, rec, false, false, FFOptions{}));  // a transition is no FF plugin
  ASSERT_TRUE(ReadTF(tf, rec, false, FFOptions{}));
  EXPECT_EQ(rec.fileName, "Fade.prm");
  EXPECT_FALSE(ReadTF(dir / "gone.prm", rec, false, FFOptions{}));
}

}  // namespace
}  // namespace qm::ff
