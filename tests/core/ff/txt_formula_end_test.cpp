// Where the A formula of a general .txt ends: at a slider, map or value line, not at a formula
// line that merely begins with the same letters.

#include <gtest/gtest.h>

#include <string>

#include "core/ff/sources.h"
#include "support/temp_folder.h"
#include "support/view_of.h"

namespace qm::ff {
namespace {

FFOptions asWritten() {
  FFOptions options;
  options.noOptimize = true;
  return options;
}

TEST(TxtFormulaEnd, AEndsAtIndexedLinesOnly) {
  struct Case {
    std::string tail;  // after the R, G and B lines
    std::string a;
    std::string map0;
    std::uint8_t value0;
  };
  const Case cases[] = {
      {"A:a\r\nmap[0]: Wave\r\nval[0]: 7\r\n", "a", "Wave", 7},
      {"A:a\r\nMAP[0]: Wave\r\n", "a", "Wave", 0},
      {"A:a\r\nVal[0]: 9\r\n", "a", "", 9},
      {"A:\r\nmap(0,r)\r\n+val(0,0,255)\r\nctl[0]: C\r\n", "map(0,r)+val(0,0,255)", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tail);
    FFRecord rec;
    const std::string text = "R:r\r\nG:g\r\nB:b\r\n" + c.tail;
    ASSERT_TRUE(ReadTXTBytes(qm::test::viewOf(text), "own.txt", rec, asWritten()));
    EXPECT_EQ(rec.formulas[3], c.a);
    EXPECT_EQ(rec.mapNames[0], c.map0);
    EXPECT_EQ(rec.sliderValues[0], c.value0);
  }
}

TEST(TxtFormulaEnd, FilterWithNamedMapsReadsBackAsWritten) {
  FFRecord written;
  written.fileName = "wave.8bf";
  written.category = "Distort";
  written.title = "Wave";
  written.formulas = {"src(x+map(0,y)/8,y,z)", "g", "b", "a*ctl(4)/255"};
  written.mapNames[0] = "Map0";
  written.sliderValues = {10, 20, 0, 0, 128, 0, 0, 0};
  written.controlNames[4] = "Transparency";
  qm::test::TempFolder dir;
  FFRecord copy = written;
  auto path = WriteTXT(dir.path(), copy);
  ASSERT_FALSE(path.empty());
  FFRecord read;
  ASSERT_TRUE(ReadTXT(path, read, asWritten()));
  read.fileName = written.fileName;
  EXPECT_EQ(read, written);
}

}  // namespace
}  // namespace qm::ff
