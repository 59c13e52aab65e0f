// One end-to-end run of each reading and converting command: scan, info, list, types, dump,
// convert and check, with their text and JSON forms.

#include <nlohmann/json.hpp>

#include "cli_fixture.h"
#include "support/ff_sources.h"
#include "support/pe_builder.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class CliCatalogue : public CliFolder {
 protected:
  void SetUp() override {
    const std::string wave = readFile(fs::path(QM_DATA_DIR) / "photo30.dll");
    ASSERT_EQ(wave.size(), 57344u);
    file("prog/PlugTypes.ini", "Lightwave Plugin (p|3)\r\nTrue\r\n");
    file("p/Wave.8bf", wave);
    file("p/multi.8bf", piplPlugin({{"Noise", "Grain"}, {"Blur", "Caf\xE9"}}));
    file("p/model.p", "x");
  }
};

TEST_F(CliCatalogue, ScanTextIsSortedAndJsonKeepsVisitingOrder) {
  auto text = cli({"scan", at("p")});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  const std::string p = at("p");
  EXPECT_EQ(text.out, "[Lightwave Plugin]\tModel\t" + p + "/model.p\n" + "Blur\tCaf\xC3\xA9\t" + p +
                          "/multi.8bf\n" + "Filter Factory\tQuillmark Template\t" + p +
                          "/Wave.8bf\n" + "Noise\tGrain\t" + p + "/multi.8bf\n");
  auto doc = json::parse(cli({"scan", at("p"), "--json"}).out);
  ASSERT_EQ(doc["rows"].size(), 4u);
  EXPECT_EQ(doc["rows"][0]["path"], p + "/model.p");
  EXPECT_EQ(doc["rows"][0]["categoryPosition"], -1);
  EXPECT_EQ(doc["rows"][0]["architecture"], nullptr);
  EXPECT_EQ(doc["rows"][2]["title"], "Caf\xC3\xA9");
  EXPECT_EQ(doc["rows"][3]["path"], p + "/Wave.8bf");
  EXPECT_EQ(doc["rows"][3]["categoryPosition"], 0);
  EXPECT_EQ(doc["rows"][3]["architecture"], "x86");
  EXPECT_EQ(doc["rows"][3]["categoryRoom"], 34);
  EXPECT_EQ(doc["categories"], json({"[Lightwave Plugin]", "Blur", "Filter Factory", "Noise"}));
  EXPECT_EQ(json::parse(cli({"scan", at("p"), "--ff-only", "--json"}).out)["rows"].size(), 1u);
  EXPECT_EQ(cli({"scan", at("missing")}).exitCode, 1);
  auto empty = cli({"scan", at("prog")});
  EXPECT_EQ(empty.exitCode, 0);
  EXPECT_NE(empty.err.find("No plugins or other supported files were found"), std::string::npos);
}

TEST_F(CliCatalogue, InfoListAndTypes) {
  auto info = json::parse(cli({"info", at("p/Wave.8bf"), "--json"}).out);
  EXPECT_EQ(info["type"], "Photoshop Filter Factory 3.0");
  EXPECT_EQ(info["categoryOffset"], 31063);
  EXPECT_EQ(info["fieldCaption"], "Category");
  EXPECT_EQ(info["filterFactory"], true);
  EXPECT_EQ(info["architecture"], "x86");
  auto unknown = json::parse(cli({"info", file("x.8bf", "junk"), "--json"}).out);
  EXPECT_EQ(unknown["type"], nullptr);
  EXPECT_EQ(unknown["filters"], json::array());

  const std::string multi = at("p/multi.8bf");
  EXPECT_EQ(cli({"list", multi, "--fields", "title,filename"}).out,
            "Caf\xC3\xA9 (multi.8bf)\nGrain (multi.8bf)\n");
  ASSERT_EQ(cli({"list", multi, "--csv", "--output", at("list.csv")}).exitCode, 0);
  EXPECT_EQ(readFile(at("list.csv")),
            "Caf\xC3\xA9;Blur;;;freeware;\r\nGrain;Noise;;;freeware;\r\n");

  EXPECT_EQ(cli({"types"}).out, "Lightwave Plugin\tp\tFile Name\tyes\n");
  auto types = json::parse(cli({"types", "--json"}).out);
  EXPECT_EQ(types["types"][0]["nameSource"], "File Name");
  EXPECT_EQ(types["types"][0]["ticked"], true);
}

using CliRecord = CliFolder;

TEST_F(CliRecord, DumpPrintsTheRecordAsJsonAndText) {
  auto run = cli({"dump", "--json", file("wave.afs", afsSource("Caf\xE9 Wave", "r+1"))});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // Windows-1252 text is printed as UTF-8.
  EXPECT_EQ(json::parse(run.out), json::parse(R"({"fileName":"wave.afs","title":"Café Wave",
    "category":"Tests","author":"Ann","copyright":"Free","photoshopDialect":true,
    "controlNames":["","Amount","","","","","",""],"sliderValues":[0,9,0,0,0,0,0,0],
    "mapNames":["","","",""],"formulas":{"r":"r+1","g":"g","b":"b","a":"a"}})"));
  auto text = cli({"dump", at("wave.afs")});
  for (const char* line : {"Title:     Caf\xC3\xA9 Wave\n", "ctl[1]: 9 Amount\n", "R: r+1\n"})
    EXPECT_NE(text.out.find(line), std::string::npos) << line << text.out;
}

TEST_F(CliRecord, ConvertPrintsEachFileAndTheSummaryAndReadsStdin) {
  const std::string out = at("out");
  auto run = cli({"convert", "--to", "txt", "--dest", out, file("a.afs", afsSource("A")),
                  file("b.afs", afsSource("B"))});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            out + "/a.txt\n" + out + "/b.txt\n2 written, 0 skipped, 0 unreadable, 0 failed\n");
  fs::create_directory(programDir);  // where the piped text is kept while it is converted
  auto piped = cli({"convert", "--to", "afs", "--dest", out, "--stdin", "--names-from-titles"},
                   "Title: From Pipe\nR:r\nG:g\nB:b\n");
  ASSERT_EQ(piped.exitCode, 0) << piped.err;
  EXPECT_TRUE(fs::exists(dir / "out/FromPipe.afs"));
  EXPECT_FALSE(fs::exists(dir / "prog/Temp.txt"));
}

TEST_F(CliRecord, ConvertToPluginAndDumpItBack) {
  // Plugins are 64-bit unless asked otherwise.
  file("prog/photo64.dll", readFile(fs::path(QM_DATA_DIR) / "photo64.dll"));
  auto run = cli(
      {"convert", "--to", "8bf", "--dest", at("out"), file("wave.afs", afsSource("Wave", "r+1"))});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(fs::file_size(dir / "out/wave.8bf"), 81920u);
  auto back = json::parse(cli({"dump", "--json", at("out/wave.8bf")}).out);
  auto source = json::parse(cli({"dump", "--json", at("wave.afs")}).out);
  back.erase("fileName");
  source.erase("fileName");
  EXPECT_EQ(back, source);
}

TEST_F(CliRecord, CheckPrintsEachErrorWithChannelAndColumn) {
  const auto good = file("good.afs", afsSource("Good", "r/2+ctl(0)"));
  const auto bad = file("bad.afs", afsSource("Bad", "r/*2"));
  const auto text = file("two.txt",
                         "Title: Two\r\nFilename: two.8bf\r\n\r\nR:r\r\n\r\nG:max(g,\r\n\r\n"
                         "B:b\r\n\r\nA:a+foo\r\n");
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string out;
    std::string errPart;
  } cases[] = {
      {{good}, 0, "", ""},
      {{good, bad}, 1, bad + ": R:3: expected a value\n", ""},
      {{text},
       1,
       text + ": G:7: unexpected end of formula\n" + text + ": A:3: unknown name 'foo'\n",
       ""},
      {{at("missing.afs"), good}, 1, "", "No such file or directory"},
      {{}, 2, "", "give at least one FILTER"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "no arguments" : c.args.back());
    std::vector<std::string> args{"check"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    auto run = cli(args);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.out, c.out);
    EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace qm::test
