// End-to-end: what convert, apply and list --output write, refuse and report. Every case
// compares every file of its folder before and after the run, so a write that should not
// happen shows as well as one that should.

#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "cli_fixture.h"
#include "support/ff_sources.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;
const std::string kBmp = bmp(1, 1, 0);
const std::string kLong = std::string(251, 'n');

std::string ffl(int count, const std::string& entries) {
  return "FFL1.0\r\n" + std::to_string(count) + "\r\n" + entries;
}
std::string ab() {
  return fflEntry("a.8bf", "A") + fflEntry("b.8bf", "B");
}

struct WriteCase {
  const char* name;
  std::map<std::string, std::string> files;  // relative path -> bytes
  std::string args;                          // split at blanks; "@x" is the case folder's x
  int exitCode;
  std::string err;                // a text stderr holds
  std::string counts;             // "w s u f": the summary line's counts, when given
  std::set<std::string> changed;  // files new or changed; all others stay as they were
  std::string readOnly = {};      // a file made read-only
  std::map<std::string, std::string> links = {};  // symbolic link -> what it names
  std::string input = {};                         // standard input
};

// clang-format off
const WriteCase kCases[] = {
    // The temporary file beside it must not take a longer name.
    {"NameAtTheFileSystemLimit", {{kLong + ".afs", afsSource("L")}},
     "convert --to txt --dest @out @" + kLong + ".afs", 0, "", "1 0 0 0",
     {"out/" + kLong + ".txt"}},
    {"LibraryCutInALaterEntry", {{"u.ffl", ffl(3, ab() + fflEntry("c.8bf", "C").substr(0, 40))}},
     "convert --to afs --dest @out --subfolders @u.ffl", 1,
     "u.ffl: the library is damaged: it ends inside entry 3", "2 0 0 1",
     {"out/u/a.afs", "out/u/b.afs"}},
    {"LibraryShorterThanItsCount", {{"v.ffl", ffl(5, ab())}}, "convert --to afs --dest @out @v.ffl",
     1, "v.ffl: the library is damaged: it ends after entry 2 of 5", "2 0 0 1",
     {"out/a.afs", "out/b.afs"}},
    {"ReadOnlyFileIsNeverReplaced",
     {{"a.afs", afsSource("A")}, {"b.afs", afsSource("B")}, {"out/a.txt", "old"}},
     "convert --to txt --dest @out --overwrite all @a.afs @b.afs", 1,
     "out/a.txt: Permission denied", "1 0 0 1", {"out/b.txt"}, "out/a.txt"},
    // A plugin whose formula does not compile is refused with check's message.
    {"PluginFromAFormulaThatDoesNotCompile",
     {{"bad.afs", afsSource("B", "r+pow(g,2)")}, {"good.afs", afsSource("G")}},
     "convert --to 8bf --dest @out @bad.afs @good.afs", 1,
     "bad.afs: R:3: unknown name 'pow'", "1 0 0 1", {"out/good.8bf"}},
    {"ApplyKeepsAnExistingPicture",
     {{"f.afs", afsSource("F")}, {"in.bmp", kBmp}, {"out.bmp", "old"}},
     "apply @f.afs @in.bmp @out.bmp", 0, "out.bmp: exists, not replaced", "", {}},
    {"ApplyNeverReplacesAReadOnlyPicture",
     {{"f.afs", afsSource("F")}, {"in.bmp", kBmp}, {"out.bmp", "old"}},
     "apply --overwrite all @f.afs @in.bmp @out.bmp", 1, "out.bmp: Permission denied", "", {},
     "out.bmp"},
    {"ListKeepsAnExistingFile", {{"f.afs", afsSource("F")}, {"list.txt", "old"}},
     "list @f.afs --output @list.txt", 0, "list.txt: exists, not replaced", "", {}},
    {"ListReplacesWithAll", {{"f.afs", afsSource("F")}, {"list.txt", "old"}},
     "list @f.afs --output @list.txt --overwrite all", 0, "", "", {"list.txt"}},
    // No overwrite mode lets a command write over what it reads, however the path is spelt.
    {"ConvertRefusesItsOwnInput", {{"m.afs", afsSource("M")}, {"sub/k", ""}},
     "convert --to afs --dest @sub/.. --overwrite all @m.afs", 1,
     "sub/../m.afs: would replace its own input", "0 0 0 1", {}},
    {"ConvertRefusesALinkToItsInput", {{"m.afs", afsSource("M")}},
     "convert --to afs --dest @out --overwrite all @m.afs", 1,
     "out/m.afs: would replace its own input", "0 0 0 1", {}, "", {{"out/m.afs", "../m.afs"}}},
    {"ConvertRefusesALibraryEntryNamedAsAnotherInput",
     {{"lib.ffl", ffl(1, fflEntry("b.8bf", "B"))}, {"b.afs", afsSource("B")}},
     "convert --to afs --dest @. --overwrite all @lib.ffl @b.afs", 1,
     "b.afs: would replace its own input", "0 0 0 2", {}},
    {"ConvertWritesThroughALink", {{"a.afs", afsSource("A")}, {"real/a.txt", "old"}},
     "convert --to txt --dest @out --overwrite all @a.afs", 0, "", "1 0 0 0", {"real/a.txt"},
     "", {{"out/a.txt", "../real/a.txt"}}},
    {"ListRefusesItsOwnInput", {{"w.afs", afsSource("W")}},
     "list @w.afs --output @./w.afs --overwrite all", 1, "w.afs: would replace its own input",
     "", {}},
    {"ListRefusesTheLibraryOfItsEntry", {{"l.ffl", ffl(1, fflEntry("a.8bf", "A"))}},
     "list @l.ffl#1 --output @l.ffl --overwrite all", 1, "l.ffl: would replace its own input",
     "", {}},
    // Standard input is read in memory, never through a file of the program folder.
    {"StdinLeavesTheProgramFolderAlone", {{"prog/Temp.txt", "mine"}},
     "convert --program-dir @prog --to txt --dest @out --stdin", 0, "", "1 0 0 0",
     {"out/t.txt"}, "", {}, txtSource("T", "t.8bf")},
    {"StdinTooLarge", {}, "convert --to txt --dest @out --stdin", 1,
     "stdin: too large for a Filter Factory source", "", {}, "", {},
     std::string(4 * 1024 * 1024 + 1, 'x')},
};
// clang-format on

TEST(WriteSafety, WritesOnlyWhatItShouldAndSaysWhy) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    TempFolder dir;
    for (const auto& [name, bytes] : c.files) writeFile(dir / name, bytes);
    if (!c.readOnly.empty()) fs::permissions(dir / c.readOnly, fs::perms(0444));
    for (const auto& [link, named] : c.links) {
      fs::create_directories((dir / link).parent_path());
      fs::create_symlink(named, dir / link);
    }
    const auto before = filesBelow(dir.path());
    std::vector<std::string> args = {"--program-dir", QM_DATA_DIR};
    std::istringstream words(c.args);
    for (std::string a; words >> a;)
      args.push_back(a.starts_with("@") ? (dir / a.substr(1)).string() : a);
    const auto run = runProgram(QM_CLI, args, c.input);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    if (!c.counts.empty()) {
      std::istringstream in(c.counts);
      std::string w, s, u, f;
      in >> w >> s >> u >> f;
      EXPECT_EQ(lastLine(run.out),
                w + " written, " + s + " skipped, " + u + " unreadable, " + f + " failed");
    }
    const auto after = filesBelow(dir.path());
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
    for (const auto& [link, named] : c.links) EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
    if (!c.readOnly.empty()) {
      EXPECT_EQ(fs::status(dir / c.readOnly).permissions() & fs::perms::all, fs::perms(0444));
    }
  }
}

using WriteSafetyJson = CliFolder;

TEST_F(WriteSafetyJson, EveryListNamesItsInput) {
  programDir = QM_DATA_DIR;  // its templates make the plugins
  const auto longer = file("long.afs", afsSource("L", std::string(1030, 'r')));
  const auto cut = file("cut.txt", txtSource(std::string(35, 'T'), "c.8bf"));
  const auto jpg = file("b.jpg", "nope");
  const auto run = cli({"convert", "--to", "8bf", "--json", "--dest", at("out"), longer, cut, jpg});
  EXPECT_EQ(run.exitCode, 1);
  using nlohmann::json;
  EXPECT_EQ(
      json::parse(run.out),
      json({{"written", {at("out/c.8bf")}},
            {"skipped", json::array()},
            {"unreadable", {jpg}},
            {"failed",
             {{{"path", longer},
               {"reason", "the formula for R has 1030 characters; a plugin holds 1020"}}}},
            {"warnings",
             {{{"path", cut},
               {"message",
                "the title has 35 characters; a plugin holds 34, the rest was left out"}}}}}));
  EXPECT_NE(run.err.find(jpg + ": not a Filter Factory file"), std::string::npos);
}

TEST(WriteSafetyInterrupt, CtrlCStopsBetweenEntriesKeepingWhatWasWritten) {
  constexpr int kEntries = 30000;
  std::string text;
  for (int i = 0; i < kEntries; ++i) text += fflEntry("e" + std::to_string(i) + ".8bf", "E");
  TempFolder dir;
  const auto lib = writeFile(dir / "big.ffl", ffl(kEntries, text));
  const auto out = dir / "out";
  const auto run =
      interruptedOnceWriting({"convert", "--to", "afs", "--dest", out.string(), lib.string()}, out);
  std::size_t written = 0;
  for (const auto& e : fs::directory_iterator(out)) written += e.path().extension() == ".afs";
  if (written == kEntries) GTEST_SKIP() << "the run ended before the signal";
  EXPECT_EQ(run.exitCode, 3) << run.err;
  EXPECT_GT(written, 0u);
  EXPECT_EQ(lastLine(run.out),
            std::to_string(written) + " written, 0 skipped, 0 unreadable, 0 failed");
}

}  // namespace
}  // namespace qm::test
