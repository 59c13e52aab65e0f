// End-to-end runs of the catalogue commands: scan, info, list and types.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/pe_builder.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

std::string templatePlugin() {
  return qm::test::readFile(fs::path(QM_DATA_DIR) / "photo30.dll");
}

class CliCatalogue : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(templatePlugin().size(), 57344u);
    qm::test::writeFile(dir / "prog" / "PlugTypes.ini", "Lightwave Plugin (p|3)\r\nTrue\r\n");
    qm::test::writeFile(dir / "p" / "Wave.8bf", templatePlugin());
    qm::test::writeFile(dir / "p" / "multi.8bf",
                        qm::test::piplPlugin({{"Noise", "Grain"}, {"Blur", "Caf\xE9"}}));
    qm::test::writeFile(dir / "p" / "model.p", "x");
  }
  qm::test::ProgramRun cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--program-dir", (dir / "prog").string()});
    return qm::test::runProgram(QM_CLI, args);
  }
  qm::test::TempFolder dir;
};

TEST_F(CliCatalogue, ScanTextIsSortedAndJsonKeepsVisitingOrder) {
  auto text = cli({"scan", (dir / "p").string()});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  const std::string p = (dir / "p").string();
  EXPECT_EQ(text.out, "[Lightwave Plugin]\tModel\t" + p + "/model.p\n" + "Blur\tCaf\xC3\xA9\t" + p +
                          "/multi.8bf\n" + "Filter Factory\tQuillmark Template\t" + p +
                          "/Wave.8bf\n" + "Noise\tGrain\t" + p + "/multi.8bf\n");
  auto json = cli({"scan", (dir / "p").string(), "--json"});
  ASSERT_EQ(json.exitCode, 0);
  auto doc = nlohmann::json::parse(json.out);
  ASSERT_EQ(doc["rows"].size(), 4u);
  EXPECT_EQ(doc["rows"][0]["path"], p + "/model.p");
  EXPECT_EQ(doc["rows"][0]["categoryPosition"], -1);
  EXPECT_EQ(doc["rows"][0]["architecture"], nullptr);
  EXPECT_EQ(doc["rows"][2]["title"], "Caf\xC3\xA9");
  EXPECT_EQ(doc["rows"][3]["path"], p + "/Wave.8bf");
  EXPECT_EQ(doc["rows"][3]["categoryPosition"], 0);
  EXPECT_EQ(doc["rows"][3]["architecture"], "x86");
  EXPECT_EQ(doc["rows"][3]["categoryRoom"], 34);
  EXPECT_EQ(doc["categories"],
            nlohmann::json({"[Lightwave Plugin]", "Blur", "Filter Factory", "Noise"}));
}

TEST_F(CliCatalogue, ScanFiltersAndSaysWhenThereIsNothing) {
  auto ff = cli({"scan", (dir / "p").string(), "--ff-only", "--json"});
  EXPECT_EQ(nlohmann::json::parse(ff.out)["rows"].size(), 1u);
  EXPECT_EQ(cli({"scan", (dir / "missing").string()}).exitCode, 1);
  auto empty = cli({"scan", (dir / "prog").string()});
  EXPECT_EQ(empty.exitCode, 0);
  EXPECT_NE(empty.err.find("No plugins or other supported files were found"), std::string::npos);
}

TEST_F(CliCatalogue, InfoJson) {
  auto json = nlohmann::json::parse(cli({"info", (dir / "p" / "Wave.8bf").string(), "--json"}).out);
  EXPECT_EQ(json["type"], "Photoshop Filter Factory 3.0");
  EXPECT_EQ(json["categoryOffset"], 31063);
  EXPECT_EQ(json["fieldCaption"], "Category");
  EXPECT_EQ(json["filterFactory"], true);
  EXPECT_EQ(json["architecture"], "x86");
  qm::test::writeFile(dir / "x.8bf", "junk");
  auto unknown = nlohmann::json::parse(cli({"info", (dir / "x.8bf").string(), "--json"}).out);
  EXPECT_EQ(unknown["type"], nullptr);
  EXPECT_EQ(unknown["filters"], nlohmann::json::array());
}

TEST_F(CliCatalogue, ListToStdoutCsvAndFile) {
  auto text = cli({"list", (dir / "p" / "multi.8bf").string(), "--fields", "title,filename"});
  EXPECT_EQ(text.out, "Caf\xC3\xA9 (multi.8bf)\nGrain (multi.8bf)\n");
  auto csv = cli({"list", (dir / "p" / "multi.8bf").string(), "--csv"});
  EXPECT_EQ(csv.out, "Caf\xC3\xA9;Blur;;;freeware;\nGrain;Noise;;;freeware;\n");
  auto out = dir / "list.txt";
  ASSERT_EQ(cli({"list", (dir / "p" / "multi.8bf").string(), "--output", out.string()}).exitCode,
            0);
  EXPECT_EQ(qm::test::readFile(out), "Blur: Caf\xC3\xA9\r\nNoise: Grain\r\n");
}

TEST_F(CliCatalogue, TypesInForce) {
  auto text = cli({"types"});
  EXPECT_EQ(text.out, "Lightwave Plugin\tp\tFile Name\tyes\n");
  auto json = nlohmann::json::parse(cli({"types", "--json"}).out);
  EXPECT_EQ(json["types"][0]["nameSource"], "File Name");
  EXPECT_EQ(json["types"][0]["ticked"], true);
}

}  // namespace
