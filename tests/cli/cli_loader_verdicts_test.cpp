// End-to-end: one loader's verdict for every command, the usage rules of the command line, and
// Change Category rewriting only the category of real-shaped sources.

#include <nlohmann/json.hpp>

#include "cli_fixture.h"
#include "support/ff_plugin_bytes.h"
#include "support/ff_sources.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;

// text with its first from replaced by to.
std::string replaced(std::string text, std::string_view from, std::string_view to) {
  auto at = text.find(from);
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

constexpr std::string_view kAfsWithoutTrailer =
    "%RGB-1.0\r0\r64\r0\r0\r0\r0\r0\r0\rsrc(x+ctl(1)/8,y,z)\r\rg\r\rb\r\ra\r\r";

class CliLoaderVerdicts : public CliFolder {
 protected:
  void SetUp() override {
    file("zero.afs", "");
    file("plain.afs", kAfsWithoutTrailer);
    file("lib.ffl", fflLibrary({fflEntry("ent.8bf", "LibTitle")}));
    // A source far over the limit, sparse, so the test itself stays cheap.
    file("big.afs", "%RGB-1.0\r");
    fs::resize_file(dir / "big.afs", 5u << 20);
    fs::create_symlink("loop.afs", dir / "loop.afs");
  }
};

// Every refusal, of a file (exit 1) or of the command line (exit 2), names what is wrong and
// leaves every file as it was: no result, no half-written temporary.
TEST_F(CliLoaderVerdicts, RefusalsNameTheFileAndTheReasonAndChangeNothing) {
  const std::string notFF = ": not a Filter Factory file";
  const std::string f = at("plain.afs"), i = file("pics/in.bmp", bmp(1, 1, 0)), o = at("o.bmp");
  const std::string junk = file("pics/junk.8bf", std::string(300, 'j'));
  const std::string many = "Changing the category didn't work for ";
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string err;
  } cases[] = {
      {{"dump", at("zero.afs")}, 1, at("zero.afs") + notFF},
      {{"dump", at("missing.afs")}, 1, at("missing.afs") + ": No such file or directory"},
      {{"dump", at("loop.afs")}, 1, at("loop.afs") + ": Too many levels of symbolic links"},
      {{"dump", at("big.afs")}, 1, at("big.afs") + ": too large for a Filter Factory source"},
      {{"list", at("lib.ffl#2")}, 1, at("lib.ffl") + ": no entry 2 (the library has 1)"},
      {{"set-category", "Noise", at("zero.afs"), at("missing.txt")},
       1,
       many + "2 plugin(s).\r\n" + at("zero.afs") + notFF + "\r\n" + at("missing.txt") +
           ": No such file or directory"},
      {{"set-category", "\xD0\x92\xD0\xBE\xD0\xB4\xD0\xBA\xD0\xB0 \xC3\xA9\xD0\xB2", f},
       1,
       "The category contains characters a Filter Factory file cannot hold: \xD0\x92, \xD0\xBE, "
       "\xD0\xB4, \xD0\xBA, \xD0\xB0, \xD0\xB2\n"},
      {{"set-category", "", f}, 1, "The category is empty."},
      {{"scan", "--sources", dir.path().string()}, 0, ""},
      {{"apply", junk, i, o}, 1, junk + notFF},
      {{"apply", f, junk, o}, 1, junk + ": cannot read the picture"},
      {{"apply", f, i, at("o.nosuchformat")}, 1, "cannot write the picture"},
      {{"apply", f, i}, 2, "give FILTER, INPUT and OUTPUT"},
      {{"apply", f, i, o, "--ctl", "8=1"}, 2, "--ctl takes N=V"},
      {{"apply", f, i, o, "--threads", "0"}, 2, "--threads takes a number"},
      {{"apply", f, i, o, "--engine", "fast"},
       2,
       "quillmark-cli apply: --engine takes reference, block or compiled, not 'fast'\n"},
      {{"apply", f, "--dest", at("d1")}, 2, "give FILTER and at least one IMAGE"},
      {{"apply", f, i, o, at("c.png")}, 2, "unexpected argument '" + at("c.png") + "'"},
      {{"types", "-x"}, 2, "unknown option -x"},
      {{"dump"}, 2, "dump: give exactly one FILE"},
      {{"convert", f}, 2, "--to takes 8bf, afs, pff or txt"},
      {{"convert", "--to", "afs", "--stdin", f}, 2, "give FILE... or --stdin"},
      {{"convert", "--to", "8bf", "--ff-template", "2.0", f}, 2, "--ff-template takes 3.0 or 3.04"},
      // The tests run without a terminal on standard input.
      {{"convert", "--to", "afs", "--overwrite", "ask", f}, 2, "--overwrite ask needs a terminal"},
      {{"scan"}, 2, "scan: give exactly one folder"},
      {{"list", f, "--fields", "colour"}, 2, "--fields takes category,title,filename,author"},
      // Options that cannot mean anything as given are named.
      {{"convert", "--to", "afs", "--arch", "x64", f}, 2, "convert: --arch: only with --to 8bf"},
      {{"convert", "--to", "txt", "--no-dialog", "--all-modes", f},
       2,
       "convert: --no-dialog, --all-modes: only with --to 8bf"},
      {{"convert", "--to", "8bf", "--arch", "x86", "--template", f, f},
       2,
       "--arch and --template cannot be used together"},
      {{"convert", "--to", "8bf", "--to=afs", f}, 2, "convert: --to is given more than once"},
  };
  const auto before = filesBelow(dir.path());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.err);
    auto run = cli(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("big.afs"), std::string::npos);
    EXPECT_EQ(filesBelow(dir.path()), before);
  }
}

TEST_F(CliLoaderVerdicts, SourceWithoutTrailerAndLibraryEntryLoadForEveryCommand) {
  auto dump = cli({"dump", "--json", at("plain.afs")});
  ASSERT_EQ(dump.exitCode, 0) << dump.err;
  EXPECT_EQ(nlohmann::json::parse(dump.out)["title"], "plain.8bf");
  auto convert = cli({"convert", "--to", "txt", "--dest", at("out"), at("plain.afs")});
  EXPECT_EQ(convert.exitCode, 0) << convert.err;
  EXPECT_TRUE(fs::exists(dir / "out" / "plain.txt"));
  FFPluginFields mac;
  mac.title = "Ripple";
  mac.category = "Mac";
  file("mac.bin", ffPluginBytes(99712, mac));
  PremiereFields wipe;
  wipe.menuName = "Wipe";
  file("wipe.prm", transitionBytes(50688, 0, wipe));
  // A plugin no reader names is listed as the Plugin View shows it.
  file("odd.prm", std::string(600, 'p'));
  auto list =
      cli({"list", at("lib.ffl#1"), at("plain.afs"), at("mac.bin"), at("wipe.prm"), at("odd.prm")});
  EXPECT_EQ(list.exitCode, 0) << list.err;
  EXPECT_EQ(list.out,
            "[Premiere TF]: Wipe\n[Unknown]: odd.prm\nCat: LibTitle\nMac: Ripple\n"
            "Synthetic: plain.8bf\n");
  EXPECT_EQ(cli({"info", at("wipe.prm")}).out.substr(0, 20), "[Premiere TF]: Wipe\n");
}

// Sources as decompilers and plugin-information dumps write them.
constexpr std::string_view kGeneralText =
    "Category: Distort\r\nTitle: Wave Maker\r\nCopyright: (c) 1998\r\nAuthor: Someone\r\n"
    "Filename: wavemk.8bf\r\n\r\nR:src(x+map(0,y)/8,y,z)\r\n\r\nG:g\r\n\r\nB:b\r\n\r\n"
    "A:a*ctl(2)/255\r\n\r\nmap[0]: Map0\r\nctl[2]: Transparency\r\n\r\nval[0]: 10\r\n"
    "val[1]: 20\r\nval[2]: 128\r\n";
constexpr std::string_view kInformationText =
    "Filter Factory Plugin Information:\nFILENAME: C:\\PLUGINS\\WAVEMK.8BF\nCATEGORY:\n"
    "Distort\nTITLE:\nWave Maker\nCOPYRIGHT:\n(c) 1998\nAUTHOR:\nSomeone\nMap 0:  Map0\n"
    "Map 1:  []\nMap 2:  []\nMap 3:  []\nControl 0:  []\nControl 1:  []\nControl 2:  []\n"
    "Control 3:  []\nControl 4:  []\nControl 5:  []\nControl 6:  []\nControl 7:  []\nR=\n"
    "src(x+map(0,y)/8,y,z)\nG=\ng\nB=\nb\nA=\na\n\n";

TEST_F(CliLoaderVerdicts, SetCategoryChangesOnlyTheCategoryOfSources) {
  const std::string general(kGeneralText), info(kInformationText), plain(kAfsWithoutTrailer);
  const std::string slots = "1: \r\r2: Amount\r\r3: \r\r4: \r\r5: \r\r6: \r\r7: \r\r8: \r\r";
  const std::string trailer = plain + "Distort\r\rWave\r\r\r\r\r\r" + slots;
  const struct {
    std::string name, before, after;
  } cases[] = {
      {"wave.txt", general, replaced(general, "Distort", "New Cat")},
      {"nocat.txt", replaced(general, "Category: Distort\r\n", ""),
       replaced(general, "Distort", "New Cat")},
      {"info.txt", info, replaced(info, "\nDistort\n", "\nNew Cat\n")},
      {"trailer.afs", trailer, replaced(trailer, "Distort", "New Cat")},
      {"plain.afs", plain,
       plain + "New Cat\r\rplain.8bf\r\r\r\r\r\r" + replaced(slots, "Amount", "Slider 2")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto set = cli({"set-category", "New Cat", file(c.name, c.before)});
    EXPECT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(set.out, at(c.name) + "\n");
    EXPECT_EQ(readFile(dir / c.name), c.after);
  }
}

}  // namespace
}  // namespace qm::test
