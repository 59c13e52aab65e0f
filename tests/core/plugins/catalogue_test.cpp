#include "core/plugins/catalogue.h"

#include <gtest/gtest.h>

#include "plugin_fixtures.h"
#include "support/ff_sources.h"
#include "support/scripted_ports.h"

namespace qm::plugins {

void PrintTo(const FilterEntry& e, std::ostream* os) {
  *os << '"' << e.text << "\"@" << e.row;
}

namespace {

class CatalogueScan : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(fixtures::templatePlugin("Blur", "Soft").empty()) << "photo30.dll not built";
    test::writeFile(dir / "Blur.8bf", fixtures::templatePlugin("Blur", "Soft"));
    test::writeFile(dir / "broken.8bf", "not a plugin at all");
    test::writeFile(dir / "model.p", "lightwave");
    test::writeFile(dir / "multi.8bf",
                    fixtures::piplPlugin(
                        {{"Noise", "Grain"}, {"Blur", "Smear"}, {"Noise", "Speckle"}}, 0x8664));
    test::writeFile(dir / "notes.txt", "shopping list\r\n");
    test::writeFile(dir / "Off._bf", fixtures::piplPlugin({{"Blur", "Hidden"}}));
    test::writeFile(dir / "p5.prm", fixtures::piplPlugin({{"Stylize", "Glow"}}));
    test::writeFile(dir / "readme.doc", "words");
    test::writeFile(dir / "video.prm", fixtures::videoFilterPrm("Ripple"));
    test::writeFile(dir / "sub" / "inner.8bf", fixtures::piplPlugin({{"Other", "Deep"}}));
  }
  ScanResult scan(ScanOptions options = {}) {
    return catalogue.scan(dir.path(), options, table, {}, progress);
  }
  std::vector<std::string> titles() const {
    std::vector<std::string> t;
    for (const auto& r : catalogue.rows()) t.push_back(r.category + "|" + r.title);
    return t;
  }
  test::TempFolder dir;
  PlugTypeTable table = makeTypeTable({{"Lightwave Plugin (p|3)", true}});
  test::ScriptedProgress progress;
  Catalogue catalogue;
};

TEST_F(CatalogueScan, RowsInVisitingOrderWithPositionsAndUnknowns) {
  ScanResult result = scan();
  EXPECT_EQ(result.status, ScanStatus::Completed);
  EXPECT_EQ(result.lastRow, 9u);
  EXPECT_EQ(titles(), (std::vector<std::string>{"Blur|Soft", "[Unknown]|broken.8bf",
                                                "[Lightwave Plugin]|Model", "Noise|Grain",
                                                "Blur|Smear", "Noise|Speckle", "Blur|Hidden",
                                                "Stylize|Glow", "[Premiere Video]|Ripple"}));
  const auto& rows = catalogue.rows();
  // The template's 31064 means Filter Factory (0); -1 is a type-table row without a PE header.
  EXPECT_EQ(std::tie(rows[0].categoryPosition, rows[0].architecture), std::tuple(0, "x86"));
  EXPECT_EQ(std::tie(rows[1].categoryPosition, rows[1].architecture), std::tuple(0, std::nullopt));
  EXPECT_EQ(std::tie(rows[2].categoryPosition, rows[2].architecture), std::tuple(-1, std::nullopt));
  EXPECT_GT(rows[3].categoryPosition, 0);
  EXPECT_EQ(rows[3].architecture, "x64");
  EXPECT_EQ(rows[8].categoryPosition, 5002 + 16 + 1);
  EXPECT_EQ(rows[0].path, dir / "Blur.8bf");
  EXPECT_EQ(catalogue.categories(),
            (std::vector<std::string>{"[Lightwave Plugin]", "[Premiere Video]", "[Unknown]", "Blur",
                                      "Noise", "Stylize"}));
  EXPECT_TRUE(catalogue.upToDate(dir.path()));
  EXPECT_EQ(progress.statuses.front(), "Blur.8bf");
  EXPECT_EQ(progress.percents.back(), 100);
}

TEST_F(CatalogueScan, OptionsAndTablesChooseTheRows) {
  scan({.recursive = true});  // sub folders come after the files
  ASSERT_EQ(catalogue.rowCount(), 10u);
  EXPECT_EQ(catalogue.row(10).path, dir / "sub" / "inner.8bf");
  scan({.filterFactoryOnly = true});
  EXPECT_EQ(titles(), (std::vector<std::string>{"Blur|Soft"}));
  scan({.includeSources = true});  // notes.txt is no Filter Factory source
  EXPECT_EQ(catalogue.rowCount(), 9u);
  table = makeTypeTable(defaultTypeList());
  scan();
  for (const auto& r : catalogue.rows()) EXPECT_NE(r.path.filename(), "readme.doc");
  EXPECT_EQ(catalogue.row(3).category, "[Lightwave Plugin]");
}

TEST_F(CatalogueScan, EscapeStopsAndKeepsTheRowsFound) {
  progress.cancelAfter = 2;
  ScanResult result = scan();
  EXPECT_EQ(result.status, ScanStatus::Cancelled);
  EXPECT_EQ(titles(), (std::vector<std::string>{"Blur|Soft", "[Unknown]|broken.8bf"}));
}

TEST_F(CatalogueScan, FilterListPrefixesAndPhotoshopModes) {
  scan();
  std::vector<std::string> blur = {"Blur"};
  std::vector<std::string> others = {"[Lightwave Plugin]", "[Premiere Video]", "Stylize"};
  using Entries = std::vector<FilterEntry>;
  // Sorted, so enabled entries come before disabled ones. In a Photoshop mode only ".8bf" files
  // and enabled table types stay, beside the built-ins.
  // clang-format off
  EXPECT_EQ(catalogue.filterEntries(blur, false, table),
            (Entries{{"+ Smear", 5}, {"+ Soft", 1}, {"- Hidden", 7}}));
  EXPECT_EQ(catalogue.filterEntries(blur, true, table),
            (Entries{{"+ Smear", 5}, {"+ Soft", 1}, {"Blur", 0}, {"Blur More", 0},
                     {"Gaussian Blur...", 0}, {"Motion Blur...", 0}}));
  EXPECT_EQ(catalogue.filterEntries(others, false, table),
            (Entries{{"+ Glow", 8}, {"+ Model", 3}, {"+ Ripple", 9}}));
  EXPECT_EQ(catalogue.filterEntries(others, true, table),
            (Entries{{"+ Model", 3}, {"Diffuse...", 0}, {"Emboss...", 0}, {"Find Edges", 0},
                     {"Trace Contour...", 0}}));
  // clang-format on
}

TEST(CatalogueFilterList, OtherInPhotoshopModeAndSourcesWithoutPrefix) {
  Catalogue c;
  c.appendRow({"/p/a.8bf", "Other", "Mine", 0, 0, {}});
  c.appendRow({"/p/b.afs", "Other", "Src (.afs)", 0, 0, {}});
  c.appendRow({"/p/c.8bf", "Blur", "Elsewhere", 0, 0, {}});
  c.appendRow({"/p/d.p", "[Lightwave Plugin]", "Model", -1, 0, {}});
  PlugTypeTable table = makeTypeTable({{"Lightwave Plugin (p|3)", true}});
  std::vector<std::string> other = {"Other"}, lw = {"[Lightwave Plugin]"};
  using Entries = std::vector<FilterEntry>;
  // clang-format off
  EXPECT_EQ(c.filterEntries(other, false, table), (Entries{{"+ Mine", 1}, {"Src (.afs)", 2}}));
  EXPECT_EQ(c.filterEntries(other, true, table),
            (Entries{{"+ Mine", 1}, {"Custom...", 0}, {"High Pass...", 0}, {"Maximum...", 0},
                     {"Minimum...", 0}, {"Offset...", 0}}));
  // clang-format on
  EXPECT_EQ(c.filterEntries(lw, true, table), (Entries{{"+ Model", 4}}));
}

TEST(CataloguePhotoshopMode, RefreshWhenACategoryLostItsLast8bf) {
  Catalogue c;
  c.appendRow({"/p/a.8bf", "Blur", "A", 0, 0, {}});
  c.appendRow({"/p/b.8bf", "Other", "B", 0, 0, {}});
  EXPECT_FALSE(c.photoshopModeNeedsRefresh(true));
  c.replacePath("/p/a.8bf", "/p/a._bf");
  EXPECT_TRUE(c.photoshopModeNeedsRefresh(true));
  EXPECT_FALSE(c.photoshopModeNeedsRefresh(false));
}

TEST_F(CatalogueScan, StatusTextsOfTheClicks) {
  scan();
  EXPECT_EQ(catalogue.categoryClickStatus(), dir.path().string() + "/");
  auto status = catalogue.filterClickStatus(1, false);
  ASSERT_TRUE(status);
  EXPECT_EQ(status->full, (dir / "Blur.8bf").string() + " (56 K)");
  EXPECT_EQ(status->shortForm, " ../Blur.8bf (56 K)");
  EXPECT_EQ(catalogue.filterClickStatus(0, true)->full,
            ">>> This filter is built into Photoshop.exe");
  EXPECT_FALSE(catalogue.filterClickStatus(0, false));
}

TEST(CatalogueCategories, SortedCaseInsensitivelyTiesByCodePoint) {
  Catalogue c;
  for (const char* cat : {"beta", "Alpha", "alpha", "Beta", "[Unknown]", "Zed"})
    c.appendRow({"/x.8bf", cat, "t", 0, 0, {}});
  EXPECT_EQ(c.categories(),
            (std::vector<std::string>{"[Unknown]", "Alpha", "alpha", "Beta", "beta", "Zed"}));
}

TEST(CataloguePremiere, TemplatePositionsFileFactoryPlugins) {
  test::TempFolder dir;
  // ReadComprm positions are one less than the templates' listed ones.
  std::string ff(50176, '\0');
  test::placeAt(ff, 29090, test::vfltRecord("Made By FF", true));  // name at 29106 -> 29107
  test::writeFile(dir / "a.prm", ff);
  std::string tf(50688, '\0');
  test::placeAt(tf, 39066, test::spfxRecord("Slide", std::string(2, '\0'), "Slide Away"));
  test::writeFile(dir / "b.prm", tf);
  std::string plain(50176, '\0');
  test::placeAt(plain, 29094, test::vfltRecord("Own Filter", true));
  test::writeFile(dir / "c.prm", plain);
  Catalogue catalogue;
  test::ScriptedProgress progress;
  catalogue.scan(dir.path(), {}, PlugTypeTable{}, {}, progress);
  std::vector<std::tuple<std::string, std::string, std::int32_t>> rows;
  for (const auto& r : catalogue.rows()) rows.emplace_back(r.category, r.title, r.categoryPosition);
  EXPECT_EQ(rows, (decltype(rows){{"[Premiere FF]", "Made By FF", 0},
                                  {"[Premiere TF]", "Slide", 0},
                                  {"[Premiere Video]", "Own Filter", 29094 + 16 + 1}}));
}

}  // namespace
}  // namespace qm::plugins
