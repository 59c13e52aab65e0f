// End-to-end runs of quillmark-cli dump and convert.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/ff_sources.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using qm::test::afsSource;

class CliTest : public ::testing::Test {
 protected:
  qm::test::ProgramRun cli(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), {"--program-dir", dir.path().string()});
    return qm::test::runProgram(QM_CLI, args, input);
  }
  std::string file(const std::string& name, const std::string& bytes) {
    return qm::test::writeFile(dir / name, bytes).string();
  }
  qm::test::TempFolder dir;
  std::string out = (dir / "out").string();
};

TEST_F(CliTest, DumpPrintsTheRecordAsJsonAndText) {
  auto run = cli({"dump", "--json", file("wave.afs", afsSource("Caf\xE9 Wave", "r+1"))});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // Windows-1252 text is printed as UTF-8.
  EXPECT_EQ(json::parse(run.out), json::parse(R"({"fileName":"wave.afs","title":"Café Wave",
    "category":"Tests","author":"Ann","copyright":"Free","photoshopDialect":true,
    "controlNames":["","Amount","","","","","",""],"sliderValues":[0,9,0,0,0,0,0,0],
    "mapNames":["","","",""],"formulas":{"r":"r+1","g":"g","b":"b","a":"a"}})"));
  auto text = cli({"dump", (dir / "wave.afs").string()});
  for (const char* line : {"Title:     Caf\xC3\xA9 Wave\n", "ctl[1]: 9 Amount\n", "R: r+1\n"})
    EXPECT_NE(text.out.find(line), std::string::npos) << line << text.out;
}

TEST_F(CliTest, ConvertPrintsEachFileAndTheSummary) {
  auto a = file("a.afs", afsSource("A"));
  auto b = file("b.afs", afsSource("B"));
  auto run = cli({"convert", "--to", "txt", "--dest", out, a, b});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            out + "/a.txt\n" + out + "/b.txt\n2 written, 0 skipped, 0 unreadable, 0 failed\n");
}

TEST_F(CliTest, ConvertFromStdinUsesTitleAsName) {
  auto run = cli({"convert", "--to", "afs", "--dest", out, "--stdin", "--names-from-titles"},
                 "Title: From Pipe\nR:r\nG:g\nB:b\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(fs::exists(fs::path(out) / "FromPipe.afs"));
  EXPECT_FALSE(fs::exists(dir / "Temp.txt"));
}

TEST_F(CliTest, ConvertToPluginAndDumpItBack) {
  // Plugins are 64-bit unless asked otherwise.
  fs::copy_file(fs::path(QM_DATA_DIR) / "photo64.dll", dir / "photo64.dll");
  auto run =
      cli({"convert", "--to", "8bf", "--dest", out, file("wave.afs", afsSource("Wave", "r+1"))});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  auto plugin = fs::path(out) / "wave.8bf";
  EXPECT_EQ(fs::file_size(plugin), 69632u);
  auto back = json::parse(cli({"dump", "--json", plugin.string()}).out);
  auto source = json::parse(cli({"dump", "--json", (dir / "wave.afs").string()}).out);
  back.erase("fileName");
  source.erase("fileName");
  EXPECT_EQ(back, source);
}

}  // namespace
