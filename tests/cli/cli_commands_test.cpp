// One end-to-end run of each reading and converting command: scan, info, list, types, dump,
// convert and check, with their text and JSON forms.

#include <algorithm>
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
  // "." and ".." in the argument are not in the paths.
  EXPECT_EQ(cli({"scan", at("p") + "/../p/."}).out, text.out);
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

TEST_F(CliCatalogue, ModesSearchAndDuplicatesThroughTheCache) {
  PeImage image;
  image.resources.push_back(
      {"PIPL",
       0,
       {piplData({"Glow", "Light", false, 0},
                 {Bytes{0x58, 0},
                  "PSHOP_ImageMode == RGBMode || PSHOP_ImageMode == GrayScaleMode",
                  {"68xw", "4668"}})}});
  const std::string glow = asString(buildPe(image).bytes);
  file("p/glow.8bf", glow);
  file("q/glow copy.8bf", glow);
  const std::string expression = "PSHOP_ImageMode == RGBMode || PSHOP_ImageMode == GrayScaleMode";

  for (const char* cache : {"--no-cache", "--json", "--json"}) {
    auto doc = json::parse(cli({"scan", at("p"), "--json", cache}).out);
    ASSERT_EQ(doc["rows"].size(), 5u) << cache;
    EXPECT_EQ(doc["rows"][0]["title"], "Glow");
    EXPECT_EQ(doc["rows"][0]["modes"], json({"RGB", "Grey"}));
    EXPECT_EQ(doc["rows"][0]["enableInfo"], expression);
    EXPECT_EQ(doc["rows"][0]["architecture"], "both");
    EXPECT_EQ(doc["rows"][2]["modes"], json::array());
    EXPECT_EQ(doc["rows"][2]["enableInfo"], nullptr);
  }
  auto info = json::parse(cli({"info", at("p/glow.8bf"), "--json"}).out);
  EXPECT_EQ(info["modes"], json({"RGB", "Grey"}));
  EXPECT_EQ(info["enableInfo"], expression);

  auto found = cli({"search", "GLÖW", at("p"), at("q")});
  ASSERT_EQ(found.exitCode, 0) << found.err;
  EXPECT_EQ(found.out, "Light\tGlow\t" + at("p") + "/glow.8bf\n" + "Light\tGlow\t" + at("q") +
                           "/glow copy.8bf\n");
  auto cafe = json::parse(cli({"search", "cafe", "blur", at("p"), "--json"}).out);
  ASSERT_EQ(cafe["rows"].size(), 1u);
  EXPECT_EQ(cafe["rows"][0]["title"], "Caf\xC3\xA9");
  EXPECT_EQ(cli({"search", at("p")}).exitCode, 2);

  auto groups = json::parse(cli({"duplicates", at("p"), at("q"), "--json"}).out)["groups"];
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0]["title"], "Glow");
  EXPECT_EQ(groups[0]["identical"], true);
  EXPECT_EQ(groups[0]["paths"], json({at("p") + "/glow.8bf", at("q") + "/glow copy.8bf"}));
  EXPECT_EQ(cli({"duplicates", at("p/glow.8bf")}).exitCode, 1);
  // No folder given and none in the Folders list.
  EXPECT_EQ(cli({"duplicates"}).exitCode, 2);
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
  // The piped text is read in memory: the program folder may be read-only.
  fs::create_directory(programDir);
  fs::permissions(programDir, fs::perms(0555));
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

  // The template chosen in the desktop program's settings is the default; a flag wins.
  file("prog/photo30.dll", readFile(fs::path(QM_DATA_DIR) / "photo30.dll"));
  file(settingsFile, "[Settings]\nUsedFF=0\n");
  const std::vector<std::string> args = {"convert", "--to",   "8bf",     "--overwrite",
                                         "all",     "--dest", at("out"), at("wave.afs")};
  ASSERT_EQ(cli(args).exitCode, 0);
  EXPECT_EQ(fs::file_size(dir / "out/wave.8bf"), 57344u);
  auto withArch = args;
  withArch.insert(withArch.begin() + 1, {"--arch", "x64"});
  ASSERT_EQ(cli(withArch).exitCode, 0);
  EXPECT_EQ(fs::file_size(dir / "out/wave.8bf"), 69632u);
}

TEST_F(CliRecord, LibrariesHoldEverySampleAndGrowByAppending) {
  const fs::path samples = fs::path(QM_DATA_DIR) / "samples";
  std::vector<std::string> inputs;
  for (const auto& entry : fs::directory_iterator(samples))
    if (entry.path().extension() != ".ffl") inputs.push_back(entry.path().string());
  std::sort(inputs.begin(), inputs.end());
  const std::string sampleLibrary = (samples / "samples.ffl").string();
  const std::string lib = at("all.ffl");
  std::vector<std::string> args = {"convert", "--to", "ffl", "--output", lib, "--json"};
  args.insert(args.end(), inputs.begin(), inputs.end());
  args.push_back(sampleLibrary);
  auto run = cli(args);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  auto report = json::parse(run.out);
  EXPECT_EQ(report["written"], json({lib}));
  EXPECT_EQ(report["warnings"], json::array()) << run.out;
  // Every entry reads back as its source reads; deleted library entries are left out.
  auto dumped = [&](const std::string& what) {
    return json::parse(cli({"dump", "--json", what}).out);
  };
  for (std::size_t i = 0; i < inputs.size(); ++i)
    EXPECT_EQ(dumped(lib + "#" + std::to_string(i + 1)), dumped(inputs[i])) << inputs[i];
  std::size_t libraryEntries = 0;
  for (std::size_t n = 1;; ++n) {
    auto entry = cli({"dump", "--json", sampleLibrary + "#" + std::to_string(n)});
    if (entry.exitCode != 0) break;
    if (json::parse(entry.out)["fileName"].get<std::string>().starts_with("//")) continue;
    EXPECT_EQ(dumped(lib + "#" + std::to_string(inputs.size() + ++libraryEntries)),
              json::parse(entry.out));
  }
  ASSERT_GT(libraryEntries, 0u);
  ASSERT_EQ(report["entries"], inputs.size() + libraryEntries);

  // Appending rewrites the count and adds at the end; entries of libraries can be picked.
  const std::string before = readFile(lib);
  auto added =
      cli({"convert", "--to", "ffl", "--output", lib, "--append", inputs[0], sampleLibrary + "#1"});
  ASSERT_EQ(added.exitCode, 0) << added.err;
  const std::size_t total = inputs.size() + libraryEntries + 2;
  const std::string after = readFile(lib);
  EXPECT_EQ(after.substr(0, after.find("\r\n", 8)), "FFL1.0\r\n" + std::to_string(total));
  auto body = [](const std::string& text) { return text.substr(text.find("\r\n", 8) + 2); };
  EXPECT_TRUE(body(after).starts_with(body(before)));
  EXPECT_EQ(dumped(lib + "#" + std::to_string(total - 1)), dumped(inputs[0]));
  EXPECT_EQ(dumped(lib + "#" + std::to_string(total)), dumped(sampleLibrary + "#1"));

  // Refusals: its own input, an existing library unasked, flags that mean nothing here.
  const std::string grown = readFile(lib);
  auto own = cli({"convert", "--to", "ffl", "--output", lib, "--append", lib + "#1"});
  EXPECT_EQ(own.exitCode, 1);
  EXPECT_NE(own.err.find(lib + ": would replace its own input"), std::string::npos) << own.err;
  auto kept = cli({"convert", "--to", "ffl", "--output", lib, "--overwrite", "none", inputs[0]});
  EXPECT_EQ(kept.exitCode, 0);
  EXPECT_EQ(lastLine(kept.out), "0 written, 1 skipped, 0 unreadable, 0 failed");
  EXPECT_EQ(readFile(lib), grown);
  for (const std::vector<std::string>& usage :
       {std::vector<std::string>{"convert", "--to", "ffl", inputs[0]},
        {"convert", "--to", "ffl", "--output", lib, "--dest", at("d"), inputs[0]},
        {"convert", "--to", "afs", "--output", lib, inputs[0]},
        {"convert", "--to", "afs", "--append", "--dest", at("d"), inputs[0]}})
    EXPECT_EQ(cli(usage).exitCode, 2) << usage[2] << " " << usage[3];
  EXPECT_EQ(readFile(lib), grown);
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

// What scripts rely on when something goes wrong: a JSON error object whenever --json gets no
// document, a failed write to stdout as a failure, and each file named that was left alone.
TEST_F(CliRecord, FailuresKeepTheContract) {
  const auto plain = file("plain.afs", afsSource("Plain"));
  const auto odd = file("n\x01l.afs", afsSource("Odd"));
  for (const char* name : {"a.8bf", "b.8bf", "b._bf", "c.8bf"}) file(name, "x");
  auto error = [](int code, const std::string& message) {
    return json({{"error", {{"code", code}, {"message", message}}}}).dump() + "\n";
  };
  const struct {
    std::vector<std::string> args;
    std::string shell;  // "" or how sh runs the program: "exec" + what goes around it
    int exitCode;
    std::string out;
    std::string errPart;
  } cases[] = {
      {{"dump", "--json", at("none.afs")},
       "",
       1,
       error(1, at("none.afs") + ": No such file or directory"),
       ""},
      {{"info", "--json", dir.path().string()},
       "",
       1,
       error(1, dir.path().string() + ": Is a directory"),
       ""},
      {{"scan", "--json", plain}, "", 1, error(1, plain + ": not a folder"), ""},
      {{"scan", "--json"}, "", 2, error(2, "quillmark-cli scan: give exactly one folder"), ""},
      {{"dump", "--bogus", "--json", plain},
       "",
       2,
       error(2, "quillmark-cli dump: unknown option --bogus"),
       ""},
      {{"dump", "--json", plain}, "exec @ >/dev/full", 1, "", "stdout: No space left on device"},
      {{"list", plain}, "exec @ >/dev/full", 1, "", "stdout: No space left on device"},
      {{"types"},
       "QUILLMARK_ENGINE=fast exec @",
       2,
       "",
       "types: QUILLMARK_ENGINE takes reference, block, compiled or auto, not 'fast'"},
      {{"list", "--fields", "title,filename", odd}, "", 0, "Odd (n\\x01l.afs)\n", ""},
      // The second a.8bf is gone by then; b._bf is in the way; c.8bf is still done.
      {{"toggle", at("a.8bf"), at("a.8bf"), at("b.8bf"), at("c.8bf")},
       "",
       1,
       at("a.8bf") + " -> " + at("a._bf") + "\n" + at("c.8bf") + " -> " + at("c._bf") + "\n",
       "a.8bf could not be renamed: No such file or directory."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front() + " " + c.args.back() + " " + c.shell);
    ProgramRun run;
    if (c.shell.empty()) {
      run = cli(c.args);
    } else {
      std::string script = c.shell;
      script.replace(script.find('@'), 1, "\"$0\" \"$@\"");
      std::vector<std::string> args{"-c", script, QM_CLI, "--program-dir", programDir};
      args.insert(args.end(), c.args.begin(), c.args.end());
      run = runProgram("/bin/sh", args, {}, dir / "config");
    }
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_EQ(run.out, c.out);
    EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
  }
  EXPECT_TRUE(fs::exists(dir / "b.8bf"));
}

}  // namespace
}  // namespace qm::test
