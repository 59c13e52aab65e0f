// End-to-end runs of quillmark-cli dump and convert.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "support/ff_sources.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

using qm::test::afsSource;
using qm::test::fflEntry;

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

TEST_F(CliTest, DumpPrintsTheRecordAsJson) {
  auto run = cli({"dump", "--json", file("wave.afs", afsSource("Caf\xE9 Wave"))});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  auto doc = json::parse(run.out);
  EXPECT_EQ(doc["fileName"], "wave.afs");
  EXPECT_EQ(doc["title"], "Caf\xC3\xA9 Wave");  // Windows-1252 text printed as UTF-8
  EXPECT_EQ(doc["category"], "Tests");
  EXPECT_EQ(doc["author"], "Ann");
  EXPECT_EQ(doc["copyright"], "Free");
  ASSERT_EQ(doc["controlNames"].size(), 8u);
  EXPECT_EQ(doc["controlNames"][1], "Amount");
  EXPECT_EQ(doc["sliderValues"], json::parse("[0,9,0,0,0,0,0,0]"));
  EXPECT_EQ(doc["mapNames"].size(), 4u);
  EXPECT_EQ(doc["formulas"], json::parse(R"({"r":"r","g":"g","b":"b","a":"a"})"));
  EXPECT_EQ(doc["photoshopDialect"], true);
}

TEST_F(CliTest, DumpTextShowsFieldsAndFormulas) {
  auto run = cli({"dump", file("wave.afs", afsSource("Wave", "r+1"))});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("Title:     Wave\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("ctl[1]: 9 Amount\n"), std::string::npos);
  EXPECT_NE(run.out.find("R: r+1\n"), std::string::npos);
}

TEST_F(CliTest, DumpLibraryEntryCountsDeletedEntries) {
  auto lib = file("Lib.ffl", "FFL1.0\r\n3\r\n" + fflEntry("a.8bf", "A") + fflEntry("//b", "B") +
                                 fflEntry("c.prm", "C", "p + 1"));
  auto run = cli({"dump", "--json", lib + "#3"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  auto doc = json::parse(run.out);
  EXPECT_EQ(doc["title"], "C");
  EXPECT_EQ(doc["photoshopDialect"], false);
  EXPECT_EQ(doc["formulas"]["r"], "p + 1");  // neither optimised nor translated
  EXPECT_EQ(json::parse(cli({"dump", "--json", lib + "#2"}).out)["title"], "B");

  for (std::string bad : {"#0", "#4"}) {
    auto miss = cli({"dump", lib + bad});
    EXPECT_EQ(miss.exitCode, 1) << bad;
    EXPECT_TRUE(miss.out.empty());
    EXPECT_NE(miss.err.find("no entry"), std::string::npos) << miss.err;
  }
  auto v2 = file("v2.ffl", "FFL2.0\r\n1\r\n" + fflEntry("a.8bf", "A"));
  auto wrong = cli({"dump", v2 + "#1"});
  EXPECT_EQ(wrong.exitCode, 1);
  EXPECT_NE(wrong.err.find(v2 + " is not a Filter Factory Library File!"), std::string::npos);
}

TEST_F(CliTest, DumpFailuresAndUsage) {
  auto notFF = cli({"dump", file("photo.jpg", "\xFF\xD8")});
  EXPECT_EQ(notFF.exitCode, 1);
  EXPECT_TRUE(notFF.out.empty());
  EXPECT_NE(notFF.err.find("photo.jpg: not a Filter Factory file"), std::string::npos);
  EXPECT_EQ(cli({"dump", (dir / "missing.afs").string()}).exitCode, 1);
  EXPECT_EQ(cli({"dump"}).exitCode, 2);
  EXPECT_EQ(cli({"dump", "a", "b"}).exitCode, 2);
  EXPECT_EQ(cli({"dump", "--bogus", "a"}).exitCode, 2);
}

TEST_F(CliTest, ConvertWritesAndSummarises) {
  auto a = file("a.afs", afsSource("A"));
  auto b = file("b.afs", afsSource("B"));
  auto run = cli({"convert", "--to", "txt", "--dest", out, a, b});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            out + "/a.txt\n" + out + "/b.txt\n2 written, 0 skipped, 0 unreadable, 0 failed\n");
  EXPECT_TRUE(fs::exists(fs::path(out) / "b.txt"));
}

TEST_F(CliTest, ConvertJsonListsOutputsAndInputs) {
  auto a = file("a.afs", afsSource("A"));
  auto jpg = file("b.jpg", "nope");
  auto run = cli({"convert", "--to", "pff", "--dest", out, "--json", a, jpg});
  EXPECT_EQ(run.exitCode, 1);
  auto doc = json::parse(run.out);
  EXPECT_EQ(doc, json({{"written", {out + "/a.pff"}},
                       {"skipped", json::array()},
                       {"unreadable", {jpg}},
                       {"failed", json::array()},
                       {"warnings", json::array()}}));
  EXPECT_NE(run.err.find(jpg + ": not a Filter Factory file"), std::string::npos);
}

TEST_F(CliTest, ConvertOverwriteNoneKeepsAndAllReplaces) {
  auto a = file("a.afs", afsSource("A"));
  qm::test::writeFile(fs::path(out) / "a.txt", "old");
  auto none = cli({"convert", "--to", "txt", "--dest", out, a});
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_EQ(none.out, "0 written, 1 skipped, 0 unreadable, 0 failed\n");
  EXPECT_EQ(qm::test::readFile(fs::path(out) / "a.txt"), "old");

  auto all = cli({"convert", "--to", "txt", "--dest", out, "--overwrite", "all", "--json", a});
  EXPECT_EQ(all.exitCode, 0);
  EXPECT_EQ(json::parse(all.out)["written"].size(), 1u);
  EXPECT_NE(qm::test::readFile(fs::path(out) / "a.txt"), "old");
}

TEST_F(CliTest, ConvertLibraryIntoSubFolder) {
  auto lib = file("Lib1.ffl", "FFL1.1\r\n2\r\n" + fflEntry("x.8bf", "X") + fflEntry("y.8bf", "Y"));
  auto run = cli({"convert", "--to", "afs", "--dest", out, "--subfolders", lib});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(fs::exists(fs::path(out) / "Lib1" / "x.afs"));
  EXPECT_TRUE(fs::exists(fs::path(out) / "Lib1" / "y.afs"));
  EXPECT_NE(run.out.find("2 written, 0 skipped, 0 unreadable"), std::string::npos);

  auto bad = file("Bad.ffl", "FFL2.0\r\n0\r\n");
  auto wrong = cli({"convert", "--to", "afs", "--dest", out, "--json", bad});
  EXPECT_EQ(wrong.exitCode, 1);
  EXPECT_EQ(json::parse(wrong.out)["unreadable"], json({bad}));
  EXPECT_NE(wrong.err.find(bad + " is not a Filter Factory Library File!"), std::string::npos);
}

TEST_F(CliTest, ConvertFromStdinUsesTitleAsName) {
  auto run = cli({"convert", "--to", "afs", "--dest", out, "--stdin", "--names-from-titles"},
                 "Title: From Pipe\nR:r\nG:g\nB:b\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(fs::exists(fs::path(out) / "FromPipe.afs"));
  EXPECT_FALSE(fs::exists(dir / "Temp.txt"));
}

TEST_F(CliTest, ConvertUsageErrors) {
  auto a = file("a.afs", afsSource("A"));
  EXPECT_EQ(cli({"convert", a}).exitCode, 2);
  EXPECT_EQ(cli({"convert", "--to", "prm", a}).exitCode, 2);
  EXPECT_EQ(cli({"convert", "--to", "afs"}).exitCode, 2);
  EXPECT_EQ(cli({"convert", "--to", "afs", "--stdin", a}).exitCode, 2);
  EXPECT_EQ(cli({"convert", "--to", "afs", "--overwrite", "maybe", a}).exitCode, 2);
  EXPECT_EQ(cli({"convert", "--to", "8bf", "--ff-template", "2.0", a}).exitCode, 2);
}

TEST_F(CliTest, ConvertReportsAFailedWriteAndGoesOn) {
  // The program folder of this test holds no template plugin.
  auto a = file("a.afs", afsSource("A"));
  auto b = file("b.afs", afsSource("B"));
  auto run = cli({"convert", "--to", "8bf", "--dest", out, "--json", a, b});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(json::parse(run.out)["written"], json::array());
  EXPECT_FALSE(run.err.empty());
  EXPECT_FALSE(fs::exists(fs::path(out) / "a.8bf"));
}

TEST_F(CliTest, CtrlCStopsBetweenEntriesKeepingWhatWasWritten) {
  constexpr int kEntries = 30000;
  std::string text = "FFL1.0\r\n" + std::to_string(kEntries) + "\r\n";
  for (int i = 0; i < kEntries; ++i) text += fflEntry("e" + std::to_string(i) + ".8bf", "E");
  auto lib = file("big.ffl", text);
  qm::test::RunningProgram program(
      QM_CLI, {"--program-dir", dir.path().string(), "convert", "--to", "afs", "--dest", out, lib});
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  auto nothingYet = [&] {
    std::error_code ec;
    return !fs::exists(out, ec) || fs::is_empty(out, ec);
  };
  while (program.running() && nothingYet() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  program.signal(SIGINT);
  auto run = program.finish();
  if (run.exitCode == 0) GTEST_SKIP() << "the run ended before the signal";
  EXPECT_EQ(run.exitCode, 3) << run.err;
  std::size_t written = 0;
  for (const auto& e : fs::directory_iterator(out)) written += e.path().extension() == ".afs";
  EXPECT_GT(written, 0u);
  EXPECT_LT(written, static_cast<std::size_t>(kEntries));
  EXPECT_NE(run.out.find(std::to_string(written) + " written, 0 skipped, 0 unreadable"),
            std::string::npos)
      << run.out.substr(run.out.size() > 200 ? run.out.size() - 200 : 0);
}

TEST_F(CliTest, ConvertToPluginAndDumpItBack) {
  fs::path shipped = fs::path(QM_DATA_DIR) / "photo30.dll";
  ASSERT_TRUE(fs::exists(shipped)) << "no generated template at " << shipped;
  fs::copy_file(shipped, dir / "photo30.dll");
  auto run =
      cli({"convert", "--to", "8bf", "--dest", out, file("wave.afs", afsSource("Wave", "r+1"))});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  auto plugin = fs::path(out) / "wave.8bf";
  EXPECT_EQ(fs::file_size(plugin), 57344u);
  auto dump = cli({"dump", "--json", plugin.string()});
  ASSERT_EQ(dump.exitCode, 0) << dump.err;
  auto doc = json::parse(dump.out);
  EXPECT_EQ(doc["title"], "Wave");
  EXPECT_EQ(doc["category"], "Tests");
  EXPECT_EQ(doc["formulas"]["r"], "r+1");
  EXPECT_EQ(doc["controlNames"][1], "Amount");
  EXPECT_EQ(doc["sliderValues"][1], 9);
}

}  // namespace
