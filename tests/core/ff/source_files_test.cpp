// The source readers and writers: .afs, .pff, .ffx, both kinds of .txt and .ffl libraries.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/common/same_file.h"
#include "core/ff/ffl.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/sources.h"
#include "support/ff_plugin_bytes.h"
#include "support/ff_sources.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace qm::ff {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::readFile;
using test::viewOf;
using test::writeFile;
using Names = std::array<std::string, 8>;
using Maps = std::array<std::string, 4>;
using Formulas = std::array<std::string, 4>;
using Values = std::array<std::uint8_t, 8>;

FFOptions optimizing(bool on) {
  FFOptions options;
  options.noOptimize = !on;
  return options;
}

std::string afs(const std::string& values, const std::string& rest = "r\r\rg\r\rb\r\ra\r\r") {
  return "%RGB-1.0\r" + values + rest;
}

// The record read, or nullopt; a read that fails leaves the Premiere dialect it began with.
std::optional<FFRecord> readAfs(const std::string& bytes, bool optimize = false) {
  FFRecord rec;
  rec.photoshopDialect = false;
  if (!ReadAFSBytes(viewOf(bytes), "wave.afs", rec, optimizing(optimize))) return std::nullopt;
  return rec;
}

TEST(ReadAFS, DefaultsTrailerLenientValuesAndShortFiles) {
  auto rec = readAfs(afs("0\r255\r0\r0\r12\r0\r0\r0\r", "r + 1\r\rg\r\rb\r\ra\r\r"), true);
  ASSERT_TRUE(rec);
  EXPECT_EQ(rec->sliderValues, (Values{0, 255, 0, 0, 12, 0, 0, 0}));
  EXPECT_EQ(rec->controlNames, (Names{"", "Slider 2", "", "", "Slider 5"}));
  EXPECT_EQ(rec->formulas, (Formulas{"r+1", "g", "b", "a"}));
  EXPECT_EQ(rec->fileName + "|" + rec->title + "|" + rec->category, "wave.8bf|wave.8bf|Synthetic");
  EXPECT_TRUE(rec->photoshopDialect);

  rec = readAfs(afs("1\r2\r0\r0\r0\r0\r0\r0\r",
                    "r\r\rg\r\rb\r\ra\r\r\r\rMy Title\r\rMe\r\r(c) 2001\r\r"
                    "1: Amount\r\r2: \r\r3: Unused\r\r4: x\r\r"));
  ASSERT_TRUE(rec);
  // An empty trailer line stays empty; "2: " is too short to rename slider 2.
  EXPECT_EQ(rec->category + "|" + rec->title + "|" + rec->author + "|" + rec->copyright,
            "|My Title|Me|(c) 2001");
  EXPECT_EQ(rec->controlNames, (Names{"Amount", "Slider 2", "Unused", "x"}));

  // clang-format off
  const std::pair<std::string, std::uint8_t> cases[] = {
      {"  7", 7}, {"\n\n9", 9}, {"12abc", 12}, {"-5", 0}, {"", 0}, {"300", 255},
      {"99999999999999999999", 255}, {"0255", 255}, {"1 2", 1}};
  // clang-format on
  for (const auto& [text, value] : cases)
    EXPECT_EQ(readAfs(afs(text + "\r0\r0\r0\r0\r0\r0\r0\r"))->sliderValues[0], value) << text;
  // LF only: the whole file is one first line.
  auto lf = readAfs("%RGB-1.0\n5\n6\n");
  EXPECT_EQ(lf->sliderValues[0], 0);
  EXPECT_EQ(lf->formulas[0], "");
  auto cut = readAfs(afs("3\r4", ""));
  EXPECT_EQ(cut->sliderValues[1], 4);
  EXPECT_EQ(cut->formulas, Formulas{});
  EXPECT_EQ(cut->category, "Synthetic");
  EXPECT_FALSE(readAfs(""));  // without its header line the bytes are no source
}

FFRecord sampleRecord() {
  // clang-format off
  return {.fileName = "Wave.8bf", .category = "Distort", .title = "Wave", .copyright = "(c) Ann",
          .author = "Ann", .controlNames = {"Amount", "", "", "", "", "", "", "Last"},
          .sliderValues = {10, 0, 0, 0, 0, 0, 77, 200}, .mapNames = {},
          .formulas = {"r+1", "g", "b*2", "a"}};
  // clang-format on
}

class WriteSource : public ::testing::Test {
 protected:
  test::TempFolder dir;
  FFRecord rec = sampleRecord();
};

TEST_F(WriteSource, AfsAndPffBytes) {
  EXPECT_EQ(readFile(Writeafspff(dir.path(), 0, rec)),
            "%RGB-1.0\r10\r0\r0\r0\r0\r0\r0\r200\r"
            "r+1\r\rg\r\rb*2\r\ra\r\r"
            "Distort\r\rWave\r\rAnn\r\r(c) Ann\r\r"
            "1: Amount\r\r2: \r\r3: \r\r4: \r\r5: \r\r6: \r\r7: \r\r8: Last\r\r");
  EXPECT_EQ(rec.sliderValues[6], 0);  // unnamed: forced to 0 in the record too

  rec.photoshopDialect = false;
  rec.formulas = {"P", "g", "b", "M"};
  auto path = Writeafspff(dir.path(), 1, rec);
  ASSERT_EQ(path, dir / "Wave.pff");
  const std::string pff = readFile(path);
  EXPECT_EQ(pff.substr(0, 23), "%RGB-1.0\r\00210\r\0010\r\0010\r\0010\r\001");
  EXPECT_NE(pff.find("0\r\001200\rb\r\rg\r\rP\r\rM\r\rDistort\r\r"), std::string::npos);
  EXPECT_FALSE(rec.photoshopDialect);
  // Written as an .afs the Premiere formulas are translated, once.
  for (int k = 0; k < 2; ++k) ASSERT_FALSE(Writeafspff(dir.path(), 0, rec).empty());
  EXPECT_EQ(rec.formulas, (Formulas{"Z", "g", "b", "(M/2)"}));
  EXPECT_TRUE(rec.photoshopDialect);
}

TEST_F(WriteSource, OutputNamesAndFailures) {
  const struct {
    std::string fileName;
    int kind;
    std::string recordName, written;
  } cases[] = {// clang-format off
      {"Plain", 1, "Plain.pff", "Plain.pff"}, {"a.b", 0, "a.b", ".afs"},
      {"..\\..\\evil.8bf", 0, "..\\..\\evil.8bf", "evil.afs"}};
  // clang-format on
  for (const auto& c : cases) {
    rec.fileName = c.fileName;
    EXPECT_EQ(Writeafspff(dir.path(), c.kind, rec), dir / c.written) << c.fileName;
    EXPECT_EQ(rec.fileName, c.recordName);
  }
  rec = sampleRecord();
  test::TempFolder empty;
  EXPECT_TRUE(Writeafspff(empty / "missing", 0, rec).empty());
  EXPECT_TRUE(Writeafspff(empty.path(), 2, rec).empty());
  // A folder in the way of the output: the write fails and leaves the folder alone.
  fs::create_directory(empty / "Wave.afs");
  EXPECT_TRUE(Writeafspff(empty.path(), 0, rec).empty());
  EXPECT_EQ(test::filesBelow(empty.path()).size(), 0u);
  EXPECT_TRUE(fs::is_directory(empty / "Wave.afs"));
}

// A write never lands on the command's own input however it is spelled, and a link as target
// is written through, the link staying a link.
TEST(FileSafety, SameFileByIdentityAndWritesThroughLinks) {
  test::TempFolder dir;
  fs::create_directories(dir / "d/sub");
  writeFile(dir / "d/x.afs", "input");
  writeFile(dir / "d/y.afs", "input");
  fs::create_hard_link(dir / "d/x.afs", dir / "hard.afs");
  fs::create_symlink("d/x.afs", dir / "soft.afs");
  const struct {
    fs::path a, b;
    bool same;
  } cases[] = {{dir / "d/x.afs", dir / "d/sub/../x.afs", true},
               {dir / "d/x.afs", dir / "hard.afs", true},
               {dir / "soft.afs", dir / "d/./x.afs", true},
               {dir / "d/x.afs", dir / "d/y.afs", false},  // same bytes, another file
               {dir / "d/x.afs", dir / "missing.afs", false},
               {dir / "missing.afs", dir / "missing.afs", false}};
  for (const auto& c : cases) EXPECT_EQ(isSameFile(c.a, c.b), c.same) << c.a << " " << c.b;
  const fs::path inputs[] = {dir / "d/y.afs", dir / "hard.afs"};
  EXPECT_TRUE(replacesOwnInput(dir / "soft.afs", inputs));
  EXPECT_FALSE(replacesOwnInput(dir / "d/sub", inputs));
  EXPECT_EQ(ownInputMessage("out/x.afs"), "out/x.afs: would replace its own input");

  // Through a chain of relative links into another folder; the temporary file stays there.
  fs::create_symlink("../../soft.afs", dir / "d/sub/chain.afs");
  EXPECT_EQ(ff::replaceFile(dir / "d/sub/chain.afs", {'n', 'e', 'w'}), "");
  EXPECT_TRUE(fs::is_symlink(dir / "d/sub/chain.afs"));
  EXPECT_TRUE(fs::is_symlink(dir / "soft.afs"));
  EXPECT_EQ(readFile(dir / "d/x.afs"), "new");
  EXPECT_EQ(test::filesBelow(dir.path()).size(), 3u);  // no temporary file left
  // A link to a missing file creates that file; a loop fails and writes nothing.
  fs::create_symlink("d/made.afs", dir / "dangling.afs");
  EXPECT_EQ(ff::replaceFile(dir / "dangling.afs", {'m'}), "");
  EXPECT_EQ(readFile(dir / "d/made.afs"), "m");
  fs::create_symlink("loop2", dir / "d/loop1");
  fs::create_symlink("loop1", dir / "d/loop2");
  EXPECT_EQ(ff::replaceFile(dir / "d/loop1", {'l'}), "Too many levels of symbolic links");
  EXPECT_TRUE(fs::is_symlink(dir / "d/loop1"));
}

std::optional<FFRecord> readFfx(const std::string& bytes) {
  FFRecord rec;
  return ReadFFXBytes(viewOf(bytes), "f.ffx", rec) ? std::optional(rec) : std::nullopt;
}

TEST(ReadFFX, SignatureCutShortFilesAndFilesOnDisk) {
  const FFRecord sample = sampleRecord();
  for (std::string signature : {"FFY1.0", "FF", "", "ffx1.0"})
    EXPECT_FALSE(readFfx(test::ffxSource(sample, signature))) << signature;
  EXPECT_TRUE(readFfx(test::ffxSource(sample, "FFX")));
  EXPECT_FALSE(readFfx(""));

  std::string full = test::ffxSource(sample);
  full[full.size() - 3] = 0x12;  // only a value's low byte counts
  auto rec = readFfx(full.substr(0, full.find("(c) Ann") + 2));
  EXPECT_EQ(rec->author + "|" + rec->copyright, "Ann|(c");
  EXPECT_EQ(rec->formulas, Formulas{});
  rec = readFfx(full);
  EXPECT_EQ(std::tie(rec->title, rec->formulas, rec->controlNames, rec->sliderValues),
            std::tie(sample.title, sample.formulas, sample.controlNames, sample.sliderValues));
  // The half number at the end reads 0.
  EXPECT_EQ(readFfx(full.substr(0, full.size() - 2))->sliderValues,
            (Values{10, 0, 0, 0, 0, 0, 77, 0}));
  // A length far past the end is clipped.
  rec = readFfx(test::ffxSource(sample, "FFX").substr(0, 7) + "\xF0\xFF\xFF\xFFtail");
  EXPECT_EQ(rec->title + "|" + rec->category, "tail|");
  // A file read takes its own name; a missing file or a folder is none.
  test::TempFolder dir;
  FFRecord onDisk;
  EXPECT_FALSE(ReadAFS(dir / "none.afs", onDisk, FFOptions{}));
  EXPECT_FALSE(ReadAFS(dir.path(), onDisk, FFOptions{}));
  EXPECT_FALSE(ReadTXT(dir / "none.txt", onDisk, FFOptions{}));
  EXPECT_FALSE(ReadFFX(dir / "none.ffx", onDisk));
  ASSERT_TRUE(ReadAFS(writeFile(dir / "On Disk.afs", afs("1\r", "")), onDisk, {}));
  EXPECT_EQ(onDisk.fileName, "On Disk.8bf");
  ASSERT_TRUE(ReadFFX(writeFile(dir / "On Disk.ffx", test::ffxSource(sampleRecord())), onDisk));
  EXPECT_EQ(onDisk.fileName, "On Disk.ffx");
}

class FakePresets final : public EditorPresets {
 public:
  std::map<int, std::array<int, 8>> slots;
  bool slotInUse(int slot) const override { return slots.contains(slot); }
  std::array<int, 8> slotValues(int slot) const override { return slots.at(slot); }
  void setSlot(int slot, const std::array<int, 8>& values) override { slots[slot] = values; }
};

struct TxtRead {
  bool ok = false;
  FFRecord rec;
  test::ScriptedPrompter prompter;
};

// Reads text as "own.txt", starting from a Premiere record.
std::unique_ptr<TxtRead> readTxt(const std::string& text, bool optimize = false,
                                 EditorPresets* presets = nullptr,
                                 std::optional<ByteView> companion = std::nullopt) {
  auto r = std::make_unique<TxtRead>();
  r->rec.photoshopDialect = false;
  r->ok = ReadTXTBytes(viewOf(text), "own.txt", r->rec, optimizing(optimize), presets, &r->prompter,
                       companion);
  return r;
}

// The plain keys are covered by the conversion round trip; these are the aliases.
TEST(ReadTXT, KeyAliasesDefaultsIndexedAndPresetLines) {
  auto r = readTxt(
      "CATEGORY:   Blur  \r\nName: T\r\ncopyright: (c)\r\nAuthor:Me\r\nFile: x.8bf\r\n"
      "R:r\r\nG:g\r\nB:b\r\nA:a\r\nctl[0]:  Amount \r\nval[7]: 300\r\n");
  ASSERT_TRUE(r->ok);
  EXPECT_EQ((std::vector<std::string>{r->rec.category, r->rec.title, r->rec.copyright,
                                      r->rec.author, r->rec.fileName, r->rec.controlNames[0]}),
            (std::vector<std::string>{"Blur", "T", "(c)", "Me", "x.8bf", "Amount"}));
  EXPECT_EQ(r->rec.sliderValues[7], 255);

  r = readTxt("R:r\nG:g\nB:b\n");
  EXPECT_EQ(r->rec.fileName + "|" + r->rec.category, "own.txt|");
  EXPECT_TRUE(r->rec.photoshopDialect);
  r = readTxt("category:\nfilename:   \nR:r\nG:g\nB:b\n");
  EXPECT_EQ(r->rec.category + "|" + r->rec.fileName, "Photoshop|-NoName.8bf");
  EXPECT_EQ(readTxt("title: t\nname: n\nR:r\nG:g\nB:b\n")->rec.title, "n");

  r = readTxt(
      "ctl[8]: no\nctl[x]: no\nctl\nmap[4]: no\nval[9]: 5\nctl[7]: seven\nmap[0]\n"
      "val[2]:-4\nR:r\nG:g\nB:b\n");
  ASSERT_TRUE(r->ok);
  EXPECT_EQ(r->rec.controlNames, (Names{"", "", "", "", "", "", "", "seven"}));
  EXPECT_EQ(r->rec.mapNames, Maps{});
  EXPECT_EQ(r->rec.sliderValues, Values{});
}

TEST(ReadTXT, FormulaCollection) {
  // "=" only starts a formula and "X:" ends one; A ends at a ctl, map or val line in any case
  // (then read as such), not at a formula line like "map(". Without R, G and B: no filter.
  const struct {
    std::string text;
    std::optional<Formulas> formulas;
  } cases[] = {
      // clang-format off
      {"R:r // note\n+1\nG:g\nB:b\n", Formulas{"r +1", "g", "b", "a"}},
      {"R=r\rG=g\rG:g2\rB:b\rA=x\r", Formulas{"rG=g", "g2", "bA=x", "a"}},
      {"R:1\nR:2\nG:g\nB:b\n", Formulas{"1R:2", "g", "b", "a"}},
      {"G:g\nR:r\nA:q\nB:b\n", Formulas{"r", "g", "b", "q"}},
      {"R:r\nG:g\nB:b\n+1", Formulas{"r", "g", "b+1", "a"}},  // the file ends while B is collected
      {"r:lower\nR:r\nG:g\nB:b", Formulas{"r", "g", "b", "a"}},
      {"R:r\nG:g\nB:b\nA:1\n2\nCTL[1]: Two\n", Formulas{"r", "g", "b", "12"}},
      {"R:r\nG:g\nB:b\nA:a\nMAP[0]: Wave\n", Formulas{"r", "g", "b", "a"}},
      {"R:r\nG:g\nB:b\nA:\nmap(0,r)\n+val(0,0,255)\nval[0]: 9\n",
       Formulas{"r", "g", "b", "map(0,r)+val(0,0,255)"}},
      {"R:r\nG:g\n", {}}, {"G:g\nB:b\nA:a\n", {}}, {"", {}},
      // clang-format on
  };
  for (const auto& c : cases) {
    auto r = readTxt(c.text);
    EXPECT_EQ(r->ok, c.formulas.has_value()) << c.text;
    EXPECT_EQ(r->rec.photoshopDialect, r->ok) << c.text;
    EXPECT_EQ(r->rec.formulas, c.formulas.value_or(r->rec.formulas)) << c.text;
  }
  EXPECT_EQ(readTxt(cases[6].text)->rec.controlNames[1], "Two");
  EXPECT_EQ(readTxt(cases[7].text)->rec.mapNames[0], "Wave");
  EXPECT_EQ(readTxt("R:r + 1\nG:T\nB:b\n", true)->rec.formulas[0], "r+1");
  EXPECT_EQ(readTxt("R:r + 1\nG:T\nB:b\n")->rec.formulas, (Formulas{"r + 1", "total", "b", "a"}));
  // Before the formulas: a formula collects every line up to another channel's line.
  const std::string text = "set[2]: 1,2,3,4,5,6,7,8\nset[9]: 9,300\nset[x]: 1\nR:r\nG:g\nB:b\n";
  FakePresets presets;
  ASSERT_TRUE(readTxt(text, false, &presets)->ok);
  EXPECT_EQ(presets.slots, (std::map<int, std::array<int, 8>>{{2, {1, 2, 3, 4, 5, 6, 7, 8}},
                                                              {9, {9, 255, 0, 0, 0, 0, 0, 0}}}));
  auto without = readTxt(text);
  EXPECT_TRUE(without->ok);
  EXPECT_EQ(without->rec.sliderValues, Values{});
}

TEST(WriteTXT, ExactTextAndName) {
  test::TempFolder dir;
  // clang-format off
  FFRecord rec{.fileName = "Wave.8bf", .category = "Distort", .title = "Wave",
               .copyright = "(c) Ann", .author = "Ann",
               .controlNames = {"", "Second", "", "", "Hidden", "", "", "Last"},
               .sliderValues = {1, 2, 3, 4, 5, 6, 7, 8}, .mapNames = {"", "", "Pair", ""},
               .formulas = {"r+1", "g", "b", "a"}};
  // clang-format on
  FakePresets presets;
  presets.slots[3] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(readFile(WriteTXT(dir.path(), rec, &presets)),
            "Category: Distort\r\nTitle: Wave\r\nCopyright: (c) Ann\r\nAuthor: Ann\r\n"
            "Filename: Wave.8bf\r\n\r\n"
            "R:r+1\r\n\r\nG:g\r\n\r\nB:b\r\n\r\nA:a\r\n\r\n"
            "ctl[1]: Second\r\nmap[2]: Pair\r\nctl[7]: Last\r\n\r\n"
            "val[1]: 2\r\nval[4]: 5\r\nval[5]: 6\r\nval[7]: 8\r\n\r\n"
            "set[3]: 1,2,3,4,5,6,7,8\r\n");

  // The naming the source writers share (checked with the .afs above), with the .txt extension
  // kept in the record and in the text.
  rec.fileName = "NoDot";
  EXPECT_EQ(WriteTXT(dir.path(), rec), dir / "NoDot.txt");
  EXPECT_NE(readFile(dir / "NoDot.txt").find("Filename: NoDot.txt\r\n"), std::string::npos);
}

// A plugin information text, and the same with a part replaced.
const std::string kInfo =
    "Filter Factory Plugin Information:\ngarbage\nFILENAME: C:\\Plugins\\Filters\\wave.8bf\n"
    "CATEGORY:\nDistort\nTITLE:\n Wave \nCOPYRIGHT:\n(c) X\nAUTHOR:\nAnn\nMap 0: [One]\n\n"
    "Map 1: [Two]\nMap 2: [Three]\nMap 3: []\nControl 0: [Alpha]\nControl 1: [Beta]\n"
    "Control 2: []\nControl 3: [Gamma]\n"  // passed over after the first "[]"
    "Control 4: []\nControl 5: []\nControl 6: []\nControl 7: []\nR=\nr\n+2\nG=\ng\nB=\nb\n"
    "A=\na\n+1\n\nignored\n";
std::string infoWith(const std::string& part, const std::string& replacement) {
  std::string text = kInfo;
  return text.replace(text.find(part), part.size(), replacement);
}

TEST(ReadTXTInfo, ReadsEveryField) {
  auto r = readTxt(kInfo);
  ASSERT_TRUE(r->ok);
  EXPECT_EQ(r->rec.fileName + "|" + r->rec.category + "|" + r->rec.title + "|" + r->rec.copyright +
                "|" + r->rec.author,
            "wave.8bf|Distort| Wave |(c) X|Ann");
  EXPECT_EQ(r->rec.mapNames, (Maps{"One", "Two", "Three", ""}));
  EXPECT_EQ(r->rec.controlNames, (Names{"Alpha", "Beta"}));
  EXPECT_EQ(r->rec.formulas, (Formulas{"r+2", "g", "b", "a+1"}));
  EXPECT_EQ(r->rec.sliderValues, Values{});
  EXPECT_TRUE(r->rec.photoshopDialect);
  EXPECT_TRUE(r->prompter.messages.empty());

  // The first empty name ends the list; the file may end in a formula.
  EXPECT_EQ(readTxt(infoWith("Two]\nMap 2: [Three", "]\nMap 2: [Named"))->rec.mapNames,
            (Maps{"One", "", "", ""}));
  // The decompiler's own label as a name leaves that slider unnamed and reads on; a name
  // without brackets is taken trimmed.
  EXPECT_EQ(readTxt(infoWith("Map 0: [One]", "Map 0: [Map 0:]"))->rec.mapNames,
            (Maps{"", "Two", "Three", ""}));
  EXPECT_EQ(readTxt(infoWith("Map 1: [Two]", "Map 1:  Soft Edge "))->rec.mapNames,
            (Maps{"One", "Soft Edge", "Three", ""}));
  EXPECT_EQ(readTxt(infoWith("Control 0: [Alpha]", "Control 0: [Control 0:]"))->rec.controlNames,
            (Names{"", "Beta"}));
  EXPECT_EQ(readTxt(infoWith("Control 0: [Alpha]", "Control 0: [Map 0:]"))->rec.controlNames,
            (Names{"Map 0:", "Beta"}));
  EXPECT_EQ(readTxt(infoWith("a\n+1\n\nignored\n", "last"))->rec.formulas[3], "last");
}

TEST(ReadTXTInfo, OneLineReplacedEarlyEndAndTheCompanionsValues) {
  // The file name read (the last twelve characters of its line), or "!": a line out of order
  // is a format violation.
  // clang-format off
  const std::string path = "C:\\Plugins\\Filters\\wave.8bf";
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {path, "C:\\a\\LongFileName.8bf", "FileName.8bf"}, {path, "x.8bf", "ENAME: x.8bf"},
      {" " + path, "", "FILENAME:"}, {path, "C:\\a\\", ""}, {"Map 2: [Three]", "Map 3: [x]", "!"},
      {"Control 1", "control 1", "!"}, {"Map 1: [Two]", "R=", "!"}};
  // clang-format on
  for (const auto& [part, text, read] : cases) {
    SCOPED_TRACE(text);
    auto r = readTxt(infoWith(part, text));
    EXPECT_EQ(r->ok, read != "!");
    if (r->ok) {
      EXPECT_EQ(r->rec.fileName, read);
      continue;
    }
    ASSERT_EQ(r->prompter.messages.size(), 1u);
    const auto& m = r->prompter.messages[0];
    EXPECT_EQ(std::tie(m.kind, m.text, m.title),
              std::tuple(test::MessageKind::Error, "own.txt: Format Violation"s, "Error"s));
  }
  // A file that ends early fails without a message.
  for (std::string label : {"AUTHOR:", "Control 5:", "A="}) {
    auto r = readTxt(kInfo.substr(0, kInfo.find(label)));
    EXPECT_FALSE(r->ok) << label;
    EXPECT_TRUE(r->prompter.messages.empty()) << label;
  }
  // A companion .afs gives the slider values.
  const std::string afsText = "%RGB-1.0\r\n1,2\r\n\r\n3,,300\r4\n5\r\n6,7,8,9";
  EXPECT_EQ(readTxt(kInfo, false, nullptr, viewOf(afsText))->rec.sliderValues,
            (Values{1, 2, 3, 255, 4, 5, 6, 7}));
  // Found beside the file in any case; the exact name wins.
  test::TempFolder dir;
  auto txt = writeFile(dir / "Wave.txt", kInfo);
  writeFile(dir / "WAVE.Afs", "h,11,12");
  FFRecord rec;
  ASSERT_TRUE(ReadTXT(txt, rec, optimizing(false)));
  EXPECT_EQ(rec.sliderValues[0], 11);
  writeFile(dir / "Wave.afs", "h,21");
  ASSERT_TRUE(ReadTXT(txt, rec, optimizing(false)));
  EXPECT_EQ(rec.sliderValues[0] + rec.sliderValues[1], 21);
}

TEST(FFLLines, EveryLineEndingEndsALineOrTheByteAfterACrIsDropped) {
  const std::string text = "a\r\nb\rc\nd\r\n";
  FFLTextReader reader(viewOf(text));
  std::vector<std::string> lines;
  while (!reader.atEnd()) lines.push_back(reader.nextLine());
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(reader.nextLine(), "");  // a final line ending adds nothing
  // The second reader drops the byte after a CR whatever it is; a lone LF stays in the line.
  const std::string odd = "ab\rXcd\n\rYef";
  ByteCursor cursor(viewOf(odd));
  FFRecord rec;
  ReadFFLEntryII(cursor, rec);
  EXPECT_EQ(rec.fileName + "|" + rec.category + "|" + rec.title, "ab|cd\n|ef");
}

TEST(ReadFFLEntry, LenientNumbersQuotesAndTheCopyrightSign) {
  // clang-format off
  const std::pair<const char*, unsigned long long> cases[] = {
      {"  \n7x", 7}, {"", 0}, {"-5", 0}, {"300", 255}, {"99999999999999999999999", 255},
      {"\t3", 0}};
  // clang-format on
  for (auto [text, expected] : cases) EXPECT_EQ(lenientNumber(text, 255), expected) << text;
  // The plain fields of an entry are covered by the conversion round trip; these are its quirks.
  FFRecord stored;
  stored.copyright = "\xA9 1999 Ann";
  stored.sliderValues = {77, 88, 200};
  stored.formulas = {"r*2", "g/2", "\"", "a"};  // B takes G's formula as read just before
  std::string text = test::fflEntryOf(stored) + "next";
  text.replace(text.find("77\r\n"), 2, " 12");
  text.replace(text.find("88\r\n"), 2, "300");
  FFLTextReader reader(viewOf(text));
  FFRecord rec;
  rec.photoshopDialect = false;
  ReadFFLEntry(reader, rec);
  EXPECT_EQ(rec.copyright, "Copyright \xA9 1999 Ann");
  EXPECT_EQ(rec.sliderValues, (Values{12, 255, 200, 0, 0, 0, 0, 0}));
  EXPECT_EQ(rec.formulas, (Formulas{"r*2", "g/2", "g/2", "a"}));
  EXPECT_FALSE(rec.photoshopDialect);
  EXPECT_EQ(reader.nextLine(), "next");
  std::erase(text, '\r');
  text.replace(text.find("g/2"), 3, "\"");
  FFLTextReader quoted(viewOf(text));
  ReadFFLEntry(quoted, rec);
  EXPECT_EQ(rec.formulas, (Formulas{"r*2", "r*2", "r*2", "a"}));
}

TEST(FFLLibrary, IndexesEveryEntryPlaceholdersIncludedLoadsOneByNumber) {
  const std::string first = test::fflEntry("one.8bf", "One");
  auto text = test::fflLibrary({first, test::fflEntry("//o.8bf", "Gone"),
                                test::fflEntry("three.prm", "Three", "r + val(0,0,255)")},
                               "FFL1.1");
  auto index = IndexFFL(viewOf(text));
  ASSERT_TRUE(index.has_value());
  EXPECT_EQ(index->header + "|" + index->declaredCount, "FFL1.1|3");
  ASSERT_EQ(index->entries.size(), 3u);
  const std::size_t start = std::string("FFL1.1\r\n3\r\n").size();
  EXPECT_EQ(index->entries[0].position, start);
  EXPECT_EQ(index->entries[1].position, start + first.size());
  EXPECT_EQ(text.substr(index->entries[2].position, 9), "three.prm");
  EXPECT_EQ(std::tie(index->entries[0].placeholder, index->entries[1].placeholder),
            std::tuple(false, true));
  EXPECT_EQ(
      index->entries[1].title + "|" + index->entries[2].category + "|" + index->entries[2].author,
      "Gone|Cat|Ann");

  EXPECT_FALSE(LoadFFLEntry(viewOf(text), 0));
  EXPECT_FALSE(LoadFFLEntry(viewOf(text), 4));
  auto second = LoadFFLEntry(viewOf(text), 2);
  auto third = LoadFFLEntry(viewOf(text), 3);
  ASSERT_TRUE(second && third);
  EXPECT_EQ(second->title + third->title, "GoneThree");
  EXPECT_TRUE(second->photoshopDialect);
  EXPECT_FALSE(third->photoshopDialect);              // its name ends in .prm
  EXPECT_EQ(third->formulas[0], "r + val(0,0,255)");  // not optimised
  // Any other first line is no library.
  for (std::string header : {"FFL2.0", "ffl1.0", "FFL1.0 ", "", "%RGB-1.0"})
    EXPECT_FALSE(IndexFFL(viewOf(test::fflLibrary({test::fflEntry("a.8bf", "A")}, header))))
        << header;
  // Read by byte access, an LF-only library is a single line.
  EXPECT_FALSE(IndexFFL(viewOf("FFL1.0\n1\na.8bf\n")));
  EXPECT_FALSE(IndexFFL(ByteView()));
}

}  // namespace
}  // namespace qm::ff
