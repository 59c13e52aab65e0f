// End-to-end: what convert, apply and list --output write, refuse and report. Every case
// compares every file of its folder before and after the run, so a write that should not
// happen shows as well as one that should.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

std::string afs(const std::string& title) {
  std::string out = "%RGB-1.0\r0\r9\r0\r0\r0\r0\r0\r0\rr\r\rg\r\rb\r\ra\r\r";
  out += "Tests\r\r" + title + "\r\rAnn\r\rFree\r\r";
  for (int k = 1; k <= 8; ++k) out += std::to_string(k) + ": " + (k == 2 ? "Amount" : "") + "\r\r";
  return out;
}

std::string txt(const std::string& title, const std::string& fileName, const std::string& g = "g") {
  return "Category: Tests\r\nTitle: " + title + "\r\nAuthor: Ann\r\nFilename: " + fileName +
         "\r\n\r\nR:r\r\n\r\nG:" + g + "\r\n\r\nB:b\r\n\r\nA:a\r\n";
}

std::string fflEntry(const std::string& fileName) {
  std::string out = fileName + "\r\nCat\r\nT " + fileName + "\r\nAnn\r\nFree\r\n";
  for (int i = 0; i < 12; ++i) out += "\r\n";
  for (int i = 0; i < 8; ++i) out += "0\r\n";
  return out + "r\r\ng\r\nb\r\na\r\n";
}

// A 1×1 24-bit BMP.
std::string bmp() {
  std::string b = "BM";
  auto u32 = [&b](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  auto u16 = [&b](std::uint16_t v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>(v >> 8);
  };
  u32(58), u32(0), u32(54), u32(40), u32(1), u32(1), u16(1), u16(24), u32(0), u32(4);
  u32(2835), u32(2835), u32(0), u32(0);
  return b + std::string("\x10\x20\x30\x00", 4);
}

const std::string kLongName = std::string(251, 'n');

struct WriteCase {
  const char* name;
  std::map<std::string, std::string> files;  // relative path -> bytes
  std::vector<std::string> readOnly;         // files made read-only
  std::vector<std::string> args;             // "@x" stands for the case folder's x
  int exitCode;
  std::vector<std::string> errParts;  // texts stderr holds
  std::string summary;                // the last line of stdout, when given
  std::set<std::string> changed;      // files new or changed; all others stay as they were
};

const WriteCase kCases[] = {
    {"UnicodeNameStaysAsOnDisk",
     {{"Верстка.afs", afs("V")}},
     {},
     {"convert", "--to", "txt", "--dest", "@out", "@Верстка.afs"},
     0,
     {},
     "1 written, 0 skipped, 0 unreadable, 0 failed",
     {"out/Верстка.txt"}},
    {"NameAtTheFileSystemLimit",
     {{kLongName + ".afs", afs("L")}},
     {},
     {"convert", "--to", "txt", "--dest", "@out", "@" + kLongName + ".afs"},
     0,
     {},
     "1 written, 0 skipped, 0 unreadable, 0 failed",
     {"out/" + kLongName + ".txt"}},
    {"LibraryCutInsideItsFirstEntry",
     {{"t.ffl", "FFL1.0\r\n5\r\ninver"}},
     {},
     {"convert", "--to", "afs", "--dest", "@out", "@t.ffl"},
     1,
     {"t.ffl: the library is damaged: it ends inside entry 1"},
     "0 written, 0 skipped, 0 unreadable, 1 failed",
     {}},
    {"LibraryCutInsideALaterEntryKeepsTheWholeOnes",
     {{"u.ffl", "FFL1.0\r\n3\r\n" + fflEntry("a.8bf") + fflEntry("b.8bf") +
                    fflEntry("c.8bf").substr(0, 40)}},
     {},
     {"convert", "--to", "afs", "--dest", "@out", "@u.ffl"},
     1,
     {"u.ffl: the library is damaged: it ends inside entry 3"},
     "2 written, 0 skipped, 0 unreadable, 1 failed",
     {"out/a.afs", "out/b.afs"}},
    {"LibraryWithFewerEntriesThanItsHeaderSays",
     {{"v.ffl", "FFL1.0\r\n5\r\n" + fflEntry("a.8bf") + fflEntry("b.8bf")}},
     {},
     {"convert", "--to", "afs", "--dest", "@out", "@v.ffl"},
     1,
     {"v.ffl: the library is damaged: it ends after entry 2 of 5"},
     "2 written, 0 skipped, 0 unreadable, 1 failed",
     {"out/a.afs", "out/b.afs"}},
    {"LibraryEntriesAskBeforeReplacing",
     {{"w.ffl", "FFL1.0\r\n2\r\n" + fflEntry("a.8bf") + fflEntry("b.8bf")}, {"out/a.afs", "old"}},
     {},
     {"convert", "--to", "afs", "--dest", "@out", "@w.ffl"},
     0,
     {},
     "1 written, 1 skipped, 0 unreadable, 0 failed",
     {"out/b.afs"}},
    {"ReadOnlyFileIsNeverReplaced",
     {{"a.afs", afs("A")}, {"b.afs", afs("B")}, {"out/a.txt", "old"}},
     {"out/a.txt"},
     {"convert", "--to", "txt", "--dest", "@out", "--overwrite", "all", "@a.afs", "@b.afs"},
     1,
     {"a.afs: could not write ", "out/a.txt: Permission denied"},
     "1 written, 0 skipped, 0 unreadable, 1 failed",
     {"out/b.txt"}},
    {"FormulaTooLongForAPluginIsRefused",
     {{"long.txt", txt("Long", "long.8bf", std::string(1100, 'g'))}},
     {},
     {"convert", "--to", "8bf", "--dest", "@out", "@long.txt"},
     1,
     {"long.txt: the formula for G has 1100 characters; a plugin holds 1020"},
     "0 written, 0 skipped, 0 unreadable, 1 failed",
     {}},
    {"LongTitleIsCutWithAWarning",
     {{"cut.txt", txt(std::string(40, 'T'), "cut.8bf")}},
     {},
     {"convert", "--to", "8bf", "--dest", "@out", "@cut.txt"},
     0,
     {"cut.txt: the title has 40 characters; a plugin holds 34, the rest was left out"},
     "1 written, 0 skipped, 0 unreadable, 0 failed",
     {"out/cut.8bf"}},
    {"SameTitleTwiceIsAskedAbout",
     {{"a.txt", txt("Untit123", "a.8bf")},
      {"b.txt", txt("Untit123", "b.8bf")},
      {"c.txt", txt("Untit123", "c.8bf")}},
     {},
     {"convert", "--to", "txt", "--dest", "@out", "--names-from-titles", "@a.txt", "@b.txt",
      "@c.txt"},
     0,
     {},
     "1 written, 2 skipped, 0 unreadable, 0 failed",
     {"out/Untit123.txt"}},
    {"PhotoshopFormulasThatPremiereReadsOtherwise",
     {{"m.txt", txt("M", "m.8bf", "g*M/4")}},
     {},
     {"convert", "--to", "pff", "--dest", "@out", "@m.txt"},
     1,
     {"m.txt: these formulas mean something else in a .pff (Premiere) file; convert to .afs or "
      ".txt instead"},
     "0 written, 0 skipped, 0 unreadable, 1 failed",
     {}},
    {"ApplyKeepsAnExistingPicture",
     {{"f.afs", afs("F")}, {"in.bmp", bmp()}, {"out.bmp", "old"}},
     {},
     {"apply", "@f.afs", "@in.bmp", "@out.bmp"},
     0,
     {"out.bmp: exists, not replaced"},
     "",
     {}},
    {"ApplyNeverReplacesAReadOnlyPicture",
     {{"f.afs", afs("F")}, {"in.bmp", bmp()}, {"out.bmp", "old"}},
     {"out.bmp"},
     {"apply", "--overwrite", "all", "@f.afs", "@in.bmp", "@out.bmp"},
     1,
     {"out.bmp: Permission denied"},
     "",
     {}},
    {"ListKeepsAnExistingFile",
     {{"f.afs", afs("F")}, {"list.txt", "old"}},
     {},
     {"list", "@f.afs", "--output", "@list.txt"},
     0,
     {"list.txt: exists, not replaced"},
     "",
     {}},
    {"ListReplacesWithAll",
     {{"f.afs", afs("F")}, {"list.txt", "old"}},
     {},
     {"list", "@f.afs", "--output", "@list.txt", "--overwrite", "all"},
     0,
     {},
     "",
     {"list.txt"}},
};

void PrintTo(const WriteCase& c, std::ostream* os) {
  *os << c.name;
}

// Every regular file below folder, by relative path, with its bytes.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file())
      files[fs::relative(entry.path(), folder).string()] = qm::test::readFile(entry.path());
  return files;
}

std::string lastLine(const std::string& text) {
  auto end = text.find_last_not_of('\n');
  if (end == std::string::npos) return {};
  auto start = text.rfind('\n', end);
  return text.substr(start == std::string::npos ? 0 : start + 1, end - start);
}

class WriteSafety : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteSafety, WritesOnlyWhatItShouldAndSaysWhy) {
  const auto& c = GetParam();
  qm::test::TempFolder dir;
  for (const auto& [name, bytes] : c.files) qm::test::writeFile(dir / name, bytes);
  for (const auto& name : c.readOnly) fs::permissions(dir / name, fs::perms(0444));
  const auto before = snapshot(dir.path());

  std::vector<std::string> args = {"--program-dir", QM_DATA_DIR};
  for (const auto& a : c.args)
    args.push_back(a.starts_with("@") ? (dir / a.substr(1)).string() : a);
  const auto run = qm::test::runProgram(QM_CLI, args);

  EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
  for (const auto& part : c.errParts) EXPECT_NE(run.err.find(part), std::string::npos) << run.err;
  if (!c.summary.empty()) {
    EXPECT_EQ(lastLine(run.out), c.summary);
  }
  const auto after = snapshot(dir.path());
  for (const auto& [name, bytes] : before)
    if (!c.changed.contains(name)) {
      EXPECT_EQ(after.at(name), bytes) << name << " changed";
    }
  for (const auto& [name, bytes] : after)
    EXPECT_TRUE(before.contains(name) || c.changed.contains(name)) << name << " appeared";
  for (const auto& name : c.changed) {
    ASSERT_TRUE(after.contains(name)) << name << " not written";
    EXPECT_TRUE(!before.contains(name) || before.at(name) != after.at(name)) << name;
  }
  for (const auto& name : c.readOnly)
    EXPECT_EQ(fs::status(dir / name).permissions() & fs::perms::all, fs::perms(0444)) << name;
}

INSTANTIATE_TEST_SUITE_P(Cases, WriteSafety, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WriteSafetyJson, FailedAndWarningsNameTheInput) {
  qm::test::TempFolder dir;
  const auto longer =
      qm::test::writeFile(dir / "long.txt", txt("L", "l.8bf", std::string(1030, 'g')));
  const auto cut = qm::test::writeFile(dir / "cut.txt", txt(std::string(35, 'T'), "c.8bf"));
  const auto run = qm::test::runProgram(
      QM_CLI, {"--program-dir", QM_DATA_DIR, "convert", "--to", "8bf", "--json", "--dest",
               (dir / "out").string(), longer.string(), cut.string()});
  EXPECT_EQ(run.exitCode, 1);
  auto doc = nlohmann::json::parse(run.out);
  EXPECT_EQ(doc["failed"],
            nlohmann::json::parse(R"([{"path":")" + longer.string() +
                                  R"(","reason":"the formula for G has 1030 characters; a plugin )"
                                  R"(holds 1020"}])"));
  EXPECT_EQ(doc["warnings"],
            nlohmann::json::parse(R"([{"path":")" + cut.string() +
                                  R"(","message":"the title has 35 characters; a plugin holds )"
                                  R"(34, the rest was left out"}])"));
  EXPECT_EQ(doc["written"],
            nlohmann::json::parse(R"([")" + (dir / "out/c.8bf").string() + R"("])"));
}

// Needs a folder the program may not write into, which root always may.
TEST(WriteSafetyFolder, ReadOnlyFolderFailsWithTheSystemsReason) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  qm::test::TempFolder dir;
  const auto a = qm::test::writeFile(dir / "a.afs", afs("A"));
  fs::create_directories(dir / "out");
  fs::permissions(dir / "out", fs::perms(0555));
  const auto run = qm::test::runProgram(
      QM_CLI, {"convert", "--to", "txt", "--dest", (dir / "out").string(), a.string()});
  fs::permissions(dir / "out", fs::perms(0755));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find(a.string() + ": could not write "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(": Permission denied"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::is_empty(dir / "out"));
}

}  // namespace
