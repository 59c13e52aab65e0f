#include <gtest/gtest.h>

#include <string>

#include "core/ff/sources.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"
#include "support/view_of.h"

namespace qm::ff {
namespace {

using qm::test::viewOf;

struct InfoText {
  std::string map1 = "Map 1: [Two]";
  std::string map2 = "Map 2: [Three]";
  std::string control1 = "Control 1: [Beta]";
  std::string tail = "A=\na\n+1\n\nignored\n";

  std::string text() const {
    return "Filter Factory Plugin Information:\n"
           "garbage\n"
           "FILENAME: C:\\Plugins\\Filters\\wave.8bf\n"
           "CATEGORY:\nDistort\n"
           "TITLE:\n Wave \n"
           "COPYRIGHT:\n(c) X\n"
           "AUTHOR:\nAnn\n"
           "Map 0: [One]\n\n" +
           map1 + "\n" + map2 +
           "\nMap 3: []\n"
           "Control 0: [Alpha]\n" +
           control1 +
           "\nControl 2: []\n"
           "Control 3: [Gamma]\n"  // passed over after the first "[]"
           "Control 4: []\nControl 5: []\nControl 6: []\nControl 7: []\n"
           "R=\nr\n+2\nG=\ng\nB=\nb\n" +
           tail;
  }
};

FFOptions noOptimize() {
  FFOptions options;
  options.noOptimize = true;
  return options;
}

struct Result {
  bool ok;
  FFRecord rec;
  qm::test::ScriptedPrompter prompter;
};

void readInfo(const std::string& text, Result& r,
              std::optional<ByteView> companion = std::nullopt) {
  r.ok =
      ReadTXTBytes(viewOf(text), "info.txt", r.rec, noOptimize(), nullptr, &r.prompter, companion);
}

TEST(ReadTXTInfo, ReadsEveryField) {
  Result r;
  readInfo(InfoText{}.text(), r);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.rec.fileName, "wave.8bf");
  EXPECT_EQ(r.rec.category, "Distort");
  EXPECT_EQ(r.rec.title, " Wave ");
  EXPECT_EQ(r.rec.copyright, "(c) X");
  EXPECT_EQ(r.rec.author, "Ann");
  // Names run from a fixed column, so the closing bracket stays.
  EXPECT_EQ(r.rec.mapNames, (std::array<std::string, 4>{"One]", "Two]", "Three]", ""}));
  EXPECT_EQ(r.rec.controlNames,
            (std::array<std::string, 8>{"Alpha]", "Beta]", "", "", "", "", "", ""}));
  EXPECT_EQ(r.rec.formulas, (std::array<std::string, 4>{"r+2", "g", "b", "a+1"}));
  EXPECT_EQ(r.rec.sliderValues, (std::array<std::uint8_t, 8>{}));
  EXPECT_TRUE(r.rec.photoshopDialect);
  EXPECT_TRUE(r.prompter.messages.empty());
}

TEST(ReadTXTInfo, FirstEmptyNameEndsTheList) {
  InfoText info;
  info.map1 = "Map 1: []";
  info.map2 = "Map 2: [Named]";
  Result r;
  readInfo(info.text(), r);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.rec.mapNames, (std::array<std::string, 4>{"One]", "", "", ""}));
}

TEST(ReadTXTInfo, LineOutOfOrderIsAFormatViolation) {
  for (auto change :
       {+[](InfoText& i) { i.map2 = "Map 3: [x]"; },
        +[](InfoText& i) { i.control1 = "control 1: [x]"; }, +[](InfoText& i) { i.map1 = "R="; }}) {
    InfoText info;
    change(info);
    Result r;
    readInfo(info.text(), r);
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.prompter.messages.size(), 1u);
    EXPECT_EQ(r.prompter.messages[0].kind, qm::test::MessageKind::Error);
    EXPECT_EQ(r.prompter.messages[0].text, "info.txt: Format Violation");
    EXPECT_EQ(r.prompter.messages[0].title, "Error");
  }
}

TEST(ReadTXTInfo, FileEndingEarlyFailsQuietly) {
  const std::string full = InfoText{}.text();
  for (std::string label : {"AUTHOR:", "Control 5:", "A="}) {
    Result r;
    readInfo(full.substr(0, full.find(label)), r);
    EXPECT_FALSE(r.ok) << label;
    EXPECT_TRUE(r.prompter.messages.empty()) << label;
  }
  InfoText noEnd;
  noEnd.tail = "A=\nlast";
  Result r;
  readInfo(noEnd.text(), r);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.rec.formulas[3], "last");
}

TEST(ReadTXTInfo, FileNameFromTheLastTwelveCharacters) {
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {
      {"FILENAME: C:\\a\\LongFileName.8bf", "FileName.8bf"}, {"FILENAME: x.8bf", "ENAME: x.8bf"},
      {"FILENAME:", "FILENAME:"}, {"FILENAME: C:\\dir\\a\\", ""}};
  // clang-format on
  for (const auto& [line, name] : cases) {
    std::string text = InfoText{}.text();
    text.replace(text.find("FILENAME:"),
                 text.find('\n', text.find("FILENAME:")) - text.find("FILENAME:"), line);
    Result r;
    readInfo(text, r);
    EXPECT_TRUE(r.ok) << line;
    EXPECT_EQ(r.rec.fileName, name) << line;
  }
}

TEST(ReadTXTInfo, CompanionAfsGivesSliderValues) {
  Result r;
  std::string afs = "%RGB-1.0\r\n1,2\r\n\r\n3,,300\r4\n5\r\n6,7,8,9";
  readInfo(InfoText{}.text(), r, viewOf(afs));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.rec.sliderValues, (std::array<std::uint8_t, 8>{1, 2, 3, 255, 4, 5, 6, 7}));
  // Found beside the file in any case; the exact name wins.
  qm::test::TempFolder dir;
  auto txt = qm::test::writeFile(dir / "Wave.txt", InfoText{}.text());
  qm::test::writeFile(dir / "WAVE.Afs", "h,11,12");
  FFRecord rec;
  ASSERT_TRUE(ReadTXT(txt, rec, noOptimize()));
  EXPECT_EQ(rec.sliderValues[0], 11);
  qm::test::writeFile(dir / "Wave.afs", "h,21");
  ASSERT_TRUE(ReadTXT(txt, rec, noOptimize()));
  EXPECT_EQ(rec.sliderValues[0] + rec.sliderValues[1], 21);
}

}  // namespace
}  // namespace qm::ff
