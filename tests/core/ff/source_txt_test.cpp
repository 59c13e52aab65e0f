#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/ff/sources.h"
#include "support/temp_folder.h"
#include "support/view_of.h"

namespace qm::ff {
namespace {

using qm::test::viewOf;

FFOptions optionsWith(bool noOptimize) {
  FFOptions options;
  options.noOptimize = noOptimize;
  return options;
}

class FakePresets final : public EditorPresets {
 public:
  std::map<int, std::array<int, 8>> slots;
  bool slotInUse(int slot) const override { return slots.contains(slot); }
  std::array<int, 8> slotValues(int slot) const override { return slots.at(slot); }
  void setSlot(int slot, const std::array<int, 8>& values) override { slots[slot] = values; }
};

struct Read {
  bool ok;
  FFRecord rec;
};

Read readText(const std::string& text, bool noOptimize = true, EditorPresets* presets = nullptr) {
  Read r{false, {}};
  r.rec.photoshopDialect = false;
  r.ok = ReadTXTBytes(viewOf(text), "own.txt", r.rec, optionsWith(noOptimize), presets);
  return r;
}

// The plain keys are covered by the write-and-read round trip below; these are the aliases.
TEST(ReadTXT, KeyAliasesInAnyCase) {
  auto r = readText(
      "CATEGORY:   Blur  \r\nName: T\r\ncopyright: (c)\r\nAuthor:Me\r\nFile: x.8bf\r\n"
      "R:r\r\nG:g\r\nB:b\r\nA:a\r\nctl[0]:  Amount \r\nval[7]: 300\r\n");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ((std::vector<std::string>{r.rec.category, r.rec.title, r.rec.copyright, r.rec.author,
                                      r.rec.fileName, r.rec.controlNames[0]}),
            (std::vector<std::string>{"Blur", "T", "(c)", "Me", "x.8bf", "Amount"}));
  EXPECT_EQ(r.rec.sliderValues[7], 255);
}

TEST(ReadTXT, FormulaCollection) {
  // "=" only starts a formula and "X:" ends one; A ends at a ctl, map or val line in any case
  // (then read as such), not at a formula line like "map(".
  const struct {
    std::string text;
    std::array<std::string, 4> formulas;
  } cases[] = {
      // clang-format off
      {"R:r // note\n+1\nG:g\nB:b\n", {"r +1", "g", "b", "a"}},
      {"R=r\rG=g\rG:g2\rB:b\rA=x\r", {"rG=g", "g2", "bA=x", "a"}},
      {"R:1\nR:2\nG:g\nB:b\n", {"1R:2", "g", "b", "a"}}, {"G:g\nR:r\nA:q\nB:b\n", {"r", "g", "b", "q"}},
      {"R:r\nG:g\nB:b\nA:1\n2\nCTL[1]: Two\n", {"r", "g", "b", "12"}},
      {"R:r\nG:g\nB:b\n+1", {"r", "g", "b+1", "a"}},  // the file ends while B is collected
      {"r:lower\nR:r\nG:g\nB:b", {"r", "g", "b", "a"}},
      {"R:r\nG:g\nB:b\nA:a\nMAP[0]: Wave\n", {"r", "g", "b", "a"}},
      {"R:r\nG:g\nB:b\nA:\nmap(0,r)\n+val(0,0,255)\nval[0]: 9\n", {"r", "g", "b", "map(0,r)+val(0,0,255)"}},
      // clang-format on
  };
  for (const auto& c : cases) {
    auto r = readText(c.text);
    EXPECT_TRUE(r.ok) << c.text;
    EXPECT_EQ(r.rec.formulas, c.formulas) << c.text;
  }
  EXPECT_EQ(readText("R:r\nG:g\nB:b\nA:1\n2\nCTL[1]: Two\n").rec.controlNames[1], "Two");
  EXPECT_EQ(readText("R:r\nG:g\nB:b\nA:a\nMAP[0]: Wave\n").rec.mapNames[0], "Wave");
}

TEST(ReadTXT, MissingFormulaFails) {
  for (std::string text : {"R:r\nG:g\n", "G:g\nB:b\nA:a\n", ""}) {
    auto r = readText(text);
    EXPECT_FALSE(r.ok) << text;
    EXPECT_FALSE(r.rec.photoshopDialect) << text;
  }
}

TEST(ReadTXT, NamesAndDefaults) {
  auto plain = readText("R:r\nG:g\nB:b\n");
  EXPECT_EQ(plain.rec.fileName, "own.txt");
  EXPECT_EQ(plain.rec.category, "");
  EXPECT_TRUE(plain.rec.photoshopDialect);
  auto empty = readText("category:\nfilename:   \nR:r\nG:g\nB:b\n");
  EXPECT_EQ(empty.rec.category, "Photoshop");
  EXPECT_EQ(empty.rec.fileName, "-NoName.8bf");
  EXPECT_EQ(readText("title: t\nname: n\nR:r\nG:g\nB:b\n").rec.title, "n");
}

TEST(ReadTXT, IndexedLinesOutOfRangeAreIgnored) {
  auto r = readText(
      "ctl[8]: no\nctl[x]: no\nctl\nmap[4]: no\nval[9]: 5\nctl[7]: seven\nmap[0]\n"
      "val[2]:-4\nR:r\nG:g\nB:b\n");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.rec.controlNames, (std::array<std::string, 8>{"", "", "", "", "", "", "", "seven"}));
  EXPECT_EQ(r.rec.mapNames, (std::array<std::string, 4>{}));
  EXPECT_EQ(r.rec.sliderValues, (std::array<std::uint8_t, 8>{}));
}

TEST(ReadTXT, PresetLinesFillTheEditorOnly) {
  // Before the formulas: a formula collects every line up to another channel's line.
  const std::string text = "set[2]: 1,2,3,4,5,6,7,8\nset[9]: 9,300\nset[x]: 1\nR:r\nG:g\nB:b\n";
  FakePresets presets;
  auto r = readText(text, true, &presets);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(presets.slots.size(), 2u);
  EXPECT_EQ(presets.slots[2], (std::array<int, 8>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(presets.slots[9], (std::array<int, 8>{9, 255, 0, 0, 0, 0, 0, 0}));
  auto without = readText(text);
  EXPECT_TRUE(without.ok);
  EXPECT_EQ(without.rec.sliderValues, (std::array<std::uint8_t, 8>{}));
}

TEST(ReadTXT, OptimisesUnlessSwitchedOff) {
  const std::string text = "R:r + 1\nG:T\nB:b\n";
  EXPECT_EQ(readText(text, false).rec.formulas[0], "r+1");
  EXPECT_EQ(readText(text, true).rec.formulas[0], "r + 1");
  EXPECT_EQ(readText(text, true).rec.formulas[1], "total");
}

FFRecord sampleRecord() {
  return {.fileName = "Wave.8bf",
          .category = "Distort",
          .title = "Wave",
          .copyright = "(c) Ann",
          .author = "Ann",
          .controlNames = {"", "Second", "", "", "Hidden", "", "", "Last"},
          .sliderValues = {1, 2, 3, 4, 5, 6, 7, 8},
          .mapNames = {"", "", "Pair", ""},
          .formulas = {"r+1", "g", "b", "a"}};
}

TEST(WriteTXT, ExactText) {
  qm::test::TempFolder dir;
  FFRecord rec = sampleRecord();
  FakePresets presets;
  presets.slots[3] = {1, 2, 3, 4, 5, 6, 7, 8};
  auto path = WriteTXT(dir.path(), rec, &presets);
  EXPECT_EQ(path, dir / "Wave.txt");
  EXPECT_EQ(qm::test::readFile(path),
            "Category: Distort\r\nTitle: Wave\r\nCopyright: (c) Ann\r\nAuthor: Ann\r\n"
            "Filename: Wave.8bf\r\n\r\n"
            "R:r+1\r\n\r\nG:g\r\n\r\nB:b\r\n\r\nA:a\r\n\r\n"
            "ctl[1]: Second\r\nmap[2]: Pair\r\nctl[7]: Last\r\n\r\n"
            "val[1]: 2\r\nval[4]: 5\r\nval[5]: 6\r\nval[7]: 8\r\n\r\n"
            "set[3]: 1,2,3,4,5,6,7,8\r\n");
}

TEST(WriteTXT, NamesAndDialect) {
  qm::test::TempFolder dir;
  FFRecord rec = sampleRecord();
  rec.fileName = "NoDot";
  rec.photoshopDialect = false;
  rec.formulas = {"p", "T", "D", "mmax"};
  EXPECT_EQ(WriteTXT(dir.path(), rec), dir / "NoDot.txt");
  EXPECT_EQ(rec.fileName, "NoDot.txt");
  EXPECT_EQ(rec.formulas, (std::array<std::string, 4>{"z", "total", "512", "M"}));
  EXPECT_TRUE(rec.photoshopDialect);
  std::string text = qm::test::readFile(dir / "NoDot.txt");
  EXPECT_NE(text.find("Filename: NoDot.txt\r\n"), std::string::npos);
  EXPECT_EQ(text.find("set["), std::string::npos);

  rec.fileName = "..\\..\\x.8bf";
  EXPECT_EQ(WriteTXT(dir.path(), rec), dir / "x.txt");
  EXPECT_TRUE(WriteTXT(dir / "missing", rec).empty());
}

}  // namespace
}  // namespace qm::ff
