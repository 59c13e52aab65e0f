// File names beyond Windows-1252 through toggle, the scan's order and its JSON: names keep
// their bytes, show bad bytes as U+FFFD and sort as case-folded Unicode.

#include <nlohmann/json.hpp>

#include "cli_fixture.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;

struct Name {
  std::string onDisk;   // before the toggle
  std::string toggled;  // on disk after it
  std::string shown;    // the toggled name as shown
};

// In the order every list sorts them. Several pairs sort the other way by bytes alone
// (Ł before ł, Ω before α, В before а).
const std::vector<Name> kNames = {
    {"apple.8bf", "apple._bf", "apple._bf"},
    {"bad\xFF.8bf", "bad\xFF._bf", "bad\xEF\xBF\xBD._bf"},
    {"cut\xE2\x82.8bf", "cut\xE2\x82._bf", "cut\xEF\xBF\xBD\xEF\xBF\xBD._bf"},
    {"new\nline.8bf", "new\nline._bf", "new\nline._bf"},
    {"Zeta.8bf", "Zeta._bf", "Zeta._bf"},
    {"Élan.8bf", "Élan._bf", "Élan._bf"},
    {"łasica.8bf", "łasica._bf", "łasica._bf"},
    {"ŁÓDŹ.8bf", "ŁÓDŹ._bf", "ŁÓDŹ._bf"},
    {"αlpha.8bf", "αlpha._bf", "αlpha._bf"},
    {"Ωmega.8bf", "Ωmega._bf", "Ωmega._bf"},
    {"альбом.8bf", "альбом._bf", "альбом._bf"},
    {"Верстка.8bf", "Верстка._bf", "Верстка._bf"},
    {"🎨.8bf", "🎨._bf", "🎨._bf"},
};

class CliUnicodeNames : public CliFolder {
  void SetUp() override { programDir = QM_DATA_DIR; }
};

// A text line keeps a record on one line.
std::string lineField(std::string text) {
  for (auto at = text.find('\n'); at != std::string::npos; at = text.find('\n', at))
    text.replace(at, 1, "\\n");
  return text;
}

TEST_F(CliUnicodeNames, ToggleKeepsTheNameAndScanSortsAndShowsIt) {
  std::vector<std::string> toggle = {"toggle"};
  for (const auto& n : kNames) toggle.push_back(file(n.onDisk, "junk"));
  auto toggled = cli(toggle);
  EXPECT_EQ(toggled.exitCode, 0) << toggled.err;
  for (const auto& n : kNames) {
    SCOPED_TRACE(n.shown);
    EXPECT_TRUE(fs::exists(dir / n.toggled));
    EXPECT_FALSE(fs::exists(dir / n.onDisk));
  }
  EXPECT_NE(toggled.out.find("/Верстка.8bf -> " + (dir / "Верстка._bf").string() + "\n"),
            std::string::npos)
      << toggled.out;

  std::string expected;
  for (const auto& n : kNames)
    expected +=
        "[Unknown]\t" + lineField(n.shown) + "\t" + lineField((dir / n.shown).string()) + "\n";
  auto scan = cli({"scan", dir.path().string()});
  EXPECT_EQ(scan.out, expected);

  auto json = nlohmann::json::parse(cli({"scan", dir.path().string(), "--json"}).out);
  ASSERT_EQ(json["rows"].size(), kNames.size());
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    SCOPED_TRACE(kNames[i].shown);
    EXPECT_EQ(json["rows"][i]["title"], kNames[i].shown);
    EXPECT_EQ(json["rows"][i]["path"], (dir / kNames[i].shown).string());
  }
}

// Names from the disk in what the commands say about a file: a type-table title, an
// "[Unknown]" message, a source titled after its file, and what cannot be read or toggled.
TEST_F(CliUnicodeNames, CommandsShowTheRealNameOfAFile) {
  file("Набор.atn", "junk");
  file("Набор.8bf", "junk");
  file("Волна.afs", "%RGB-1.0\r0\r0\r0\r0\r0\r0\r0\r0\rr\r\rg\r\rb\r\ra\r\r");
  fs::create_directory(dir / "Папка.8bf");
  // The name a text source gives is cut by characters, not in the middle of one.
  file("zoe.txt", "Filename: Zo\xEB.v2\r\nR:r\r\nG:g\r\nB:b\r\n");

  // The last argument names a file in dir; shown is looked for on stdout, then stderr.
  const struct {
    std::vector<std::string> args;
    std::string shown;
    int exitCode = 0;
  } cases[] = {
      {{"info", "Набор.atn"}, "[Photoshop Action]: Набор\n-------------------------\n"},
      {{"info", "Набор.8bf"}, "Набор.8bf is an unknown file type or maybe damaged.\n"},
      {{"scan", "--sources", ""}, "Synthetic\tВолна.8bf (.afs)\t"},
      {{"list", "--fields", "title,filename", "Волна.afs"}, "Волна.8bf (Волна.afs)\n"},
      {{"info", "Нет.8bf"}, "/Нет.8bf: No such file or directory\n", 1},
      {{"info", "Папка.8bf"}, "/Папка.8bf: Is a directory\n", 1},
      {{"toggle", "Папка.8bf"}, "/Папка.8bf: not a plugin that can be enabled or disabled\n", 1},
      {{"convert", "--to", "afs", "--dest", dir.path().string(), "zoe.txt"}, "/Zo.afs\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.back() = at(args.back());
    auto run = cli(args);
    SCOPED_TRACE(run.out + run.err);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_NE((run.out + run.err).find(c.shown), std::string::npos) << c.shown;
  }
  EXPECT_TRUE(fs::is_directory(dir / "Папка.8bf"));
}

}  // namespace
}  // namespace qm::test
