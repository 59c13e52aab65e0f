#include <gtest/gtest.h>

#include <string>

#include "core/ff/sources.h"
#include "support/temp_folder.h"
#include "support/view_of.h"

namespace qm::ff {
namespace {

using qm::test::viewOf;
using namespace std::string_literals;

const FFOptions kNoOptimize = [] {
  FFOptions options;
  options.noOptimize = true;
  return options;
}();

std::string afsHead(const std::string& values) {
  return "%RGB-1.0\r" + values;
}

TEST(ReadAFS, DefaultsWithoutTrailer) {
  std::string afs = afsHead("0\r255\r0\r0\r12\r0\r0\r0\r") + "r + 1\r\rg\r\rb\r\ra\r\r";
  FFRecord rec;
  rec.photoshopDialect = false;
  ASSERT_TRUE(ReadAFSBytes(viewOf(afs), "wave.afs", rec, FFOptions{}));
  EXPECT_EQ(rec.sliderValues, (std::array<std::uint8_t, 8>{0, 255, 0, 0, 12, 0, 0, 0}));
  EXPECT_EQ(rec.controlNames,
            (std::array<std::string, 8>{"", "Slider 2", "", "", "Slider 5", "", "", ""}));
  EXPECT_EQ(rec.formulas, (std::array<std::string, 4>{"r+1", "g", "b", "a"}));
  EXPECT_EQ(rec.fileName, "wave.8bf");
  EXPECT_EQ(rec.title, "wave.8bf");
  EXPECT_EQ(rec.category, "Synthetic");
  EXPECT_TRUE(rec.photoshopDialect);
}

TEST(ReadAFS, TrailerOverridesTextsAndNames) {
  std::string afs = afsHead("1\r2\r0\r0\r0\r0\r0\r0\r") +
                    "r\r\rg\r\rb\r\ra\r\r"
                    "\r\rMy Title\r\rMe\r\r(c) 2001\r\r"
                    "1: Amount\r\r2: \r\r3: Unused\r\r4: x\r\r";
  FFRecord rec;
  ASSERT_TRUE(ReadAFSBytes(viewOf(afs), "f.afs", rec, kNoOptimize));
  EXPECT_EQ(rec.category, "");  // an empty trailer line stays empty
  EXPECT_EQ(rec.title, "My Title");
  EXPECT_EQ(rec.author, "Me");
  EXPECT_EQ(rec.copyright, "(c) 2001");
  // "2: " is too short to rename slider 2, which keeps its default.
  EXPECT_EQ(rec.controlNames,
            (std::array<std::string, 8>{"Amount", "Slider 2", "Unused", "x", "", "", "", ""}));
}

TEST(ReadAFS, LenientValues) {
  // clang-format off
  const std::pair<std::string, std::uint8_t> cases[] = {
      {"  7", 7}, {"\n\n9", 9}, {"12abc", 12}, {"-5", 0}, {"", 0}, {"300", 255},
      {"99999999999999999999", 255}, {"0255", 255}, {"1 2", 1}};
  // clang-format on
  for (const auto& [text, value] : cases) {
    FFRecord rec;
    std::string afs = afsHead(text + "\r0\r0\r0\r0\r0\r0\r0\r") + "r\r\rg\r\rb\r\ra\r\r";
    ASSERT_TRUE(ReadAFSBytes(viewOf(afs), "v.afs", rec, kNoOptimize));
    EXPECT_EQ(rec.sliderValues[0], value) << text;
  }
}

TEST(ReadAFS, ShortAndOddFiles) {
  FFRecord rec;
  // LF only: the whole file is one first line.
  ASSERT_TRUE(ReadAFSBytes(viewOf("%RGB-1.0\n5\n6\n"s), "l.afs", rec, kNoOptimize));
  EXPECT_EQ(rec.sliderValues[0], 0);
  EXPECT_EQ(rec.formulas[0], "");

  ASSERT_TRUE(ReadAFSBytes(viewOf(afsHead("3\r4")), "s.afs", rec, kNoOptimize));
  EXPECT_EQ(rec.sliderValues[1], 4);
  EXPECT_EQ(rec.formulas, (std::array<std::string, 4>{}));
  EXPECT_EQ(rec.category, "Synthetic");

  // Without its header line the bytes are no source.
  EXPECT_FALSE(ReadAFSBytes(ByteView(), "ab", rec, kNoOptimize));
}

FFRecord sampleRecord() {
  return {.fileName = "Wave.8bf",
          .category = "Distort",
          .title = "Wave",
          .copyright = "(c) Ann",
          .author = "Ann",
          .controlNames = {"Amount", "", "", "", "", "", "", "Last"},
          .sliderValues = {10, 0, 0, 0, 0, 0, 77, 200},
          .mapNames = {},
          .formulas = {"r+1", "g", "b*2", "a"}};
}

class WriteSource : public ::testing::Test {
 protected:
  qm::test::TempFolder dir;
  FFRecord rec = sampleRecord();
};

TEST_F(WriteSource, AfsBytesAndUnnamedSliders) {
  auto path = Writeafspff(dir.path(), 0, rec);
  EXPECT_EQ(path, dir / "Wave.afs");
  EXPECT_EQ(qm::test::readFile(path),
            "%RGB-1.0\r10\r0\r0\r0\r0\r0\r0\r200\r"
            "r+1\r\rg\r\rb*2\r\ra\r\r"
            "Distort\r\rWave\r\rAnn\r\r(c) Ann\r\r"
            "1: Amount\r\r2: \r\r3: \r\r4: \r\r5: \r\r6: \r\r7: \r\r8: Last\r\r");
  EXPECT_EQ(rec.sliderValues[6], 0);  // unnamed: forced to 0 in the record too
}

TEST_F(WriteSource, PffBytesKeepPremiereFormulas) {
  rec.photoshopDialect = false;
  rec.formulas = {"P", "g", "b", "a"};
  auto path = Writeafspff(dir.path(), 1, rec);
  ASSERT_EQ(path, dir / "Wave.pff");
  std::string bytes = qm::test::readFile(path);
  EXPECT_EQ(bytes.substr(0, 23),
            "%RGB-1.0\r\x02"
            "10\r\x01"
            "0\r\x01"
            "0\r\x01"
            "0\r\x01");
  EXPECT_NE(bytes.find("0\r\x01"
                       "200\rb\r\rg\r\rP\r\ra\r\rDistort\r\r"),
            std::string::npos);
  EXPECT_FALSE(rec.photoshopDialect);
}

TEST_F(WriteSource, TranslatesPremiereFormulasForAfs) {
  rec.photoshopDialect = false;
  rec.formulas = {"P", "D", "mix(a,b,n,d)", "M"};
  ASSERT_FALSE(Writeafspff(dir.path(), 0, rec).empty());
  EXPECT_EQ(rec.formulas, (std::array<std::string, 4>{"Z", "512", "mix(b,a,n,d)", "(M/2)"}));
  EXPECT_TRUE(rec.photoshopDialect);
  // A second write must not translate again.
  ASSERT_FALSE(Writeafspff(dir.path(), 0, rec).empty());
  EXPECT_EQ(rec.formulas[3], "(M/2)");
}

TEST_F(WriteSource, OutputNames) {
  const struct {
    std::string fileName;
    int kind;
    std::string recordName, written;
  } cases[] = {{"Plain", 1, "Plain.pff", "Plain.pff"},
               {"a.b", 0, "a.b", ".afs"},
               {"..\\..\\evil.8bf", 0, "..\\..\\evil.8bf", "evil.afs"}};
  for (const auto& c : cases) {
    rec.fileName = c.fileName;
    EXPECT_EQ(Writeafspff(dir.path(), c.kind, rec), dir / c.written) << c.fileName;
    EXPECT_EQ(rec.fileName, c.recordName);
  }
}

TEST_F(WriteSource, FailuresWriteNothing) {
  EXPECT_TRUE(Writeafspff(dir / "missing", 0, rec).empty());
  EXPECT_TRUE(Writeafspff(dir.path(), 2, rec).empty());
  // A folder in the way of the output: the write fails and leaves the folder alone.
  std::filesystem::create_directory(dir / "Wave.afs");
  EXPECT_TRUE(Writeafspff(dir.path(), 0, rec).empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir / "Wave.afs"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(SourceReaders, MissingFileOrFolderReadsFalse) {
  qm::test::TempFolder dir;
  FFRecord rec;
  EXPECT_FALSE(ReadAFS(dir / "none.afs", rec, FFOptions{}));
  EXPECT_FALSE(ReadPFF(dir / "none.pff", rec, FFOptions{}));
  EXPECT_FALSE(ReadTXT(dir / "none.txt", rec, FFOptions{}));
  EXPECT_FALSE(ReadFFX(dir / "none.ffx", rec));
  EXPECT_FALSE(ReadAFS(dir.path(), rec, FFOptions{}));
  // A read file takes its own name.
  ASSERT_TRUE(ReadAFS(qm::test::writeFile(dir / "On Disk.afs", afsHead("1\r")), rec, {}));
  EXPECT_EQ(rec.fileName, "On Disk.8bf");
}

}  // namespace
}  // namespace qm::ff
