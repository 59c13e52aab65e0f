#include "core/plugins/type_table.h"

#include <gtest/gtest.h>

#include "core/plugins/catalogue.h"
#include "support/temp_folder.h"

namespace qm::plugins {
namespace {

TEST(TypeTable, RowsPatternAndUntickedEntries) {
  TypeList list = {{"Lightwave Plugin (p|3)", true},
                   {"PS Export Plugin (8be|1)", true},
                   {"ActiveX Plugin (ax|0)", false},
                   {"PSP 8 Tube (psptube|3)", true}};
  PlugTypeTable table = makeTypeTable(list);
  std::vector<std::string> rows;
  for (const auto& r : table.rows()) rows.push_back(r.label + "|" + r.extension + "|" + r.digit);
  EXPECT_EQ(rows, (std::vector<std::string>{"Lightwave Plugin|p|3", "PS Export Plugin|8be|1", "||",
                                            "PSP 8 Tube|psptube|3"}));
  EXPECT_TRUE(table.rows()[2].empty());
  EXPECT_EQ(table.pattern(), ";*.p;*_p;*?8be;*?psptube");
  EXPECT_FALSE(table.empty());
}

TEST(TypeTable, MatchNeedsDotOrUnderscoreBeforeTheExtension) {
  PlugTypeTable table = makeTypeTable({{"Lightwave Plugin (p|3)", true},
                                       {"PS Export Plugin (8be|1)", true},
                                       {"ActiveX Plugin (ax|0)", false}});
  struct Case {
    const char* name;
    std::optional<std::size_t> row;
    std::optional<std::size_t> enabled;
  };
  for (const Case& c :
       {Case{"model.p", 0, 0}, Case{"model_p", 0, std::nullopt}, Case{"MODEL.P", 0, 0},
        Case{"name.8be", 1, 1}, Case{"name_8BE", 1, std::nullopt},
        Case{"name18be", std::nullopt, std::nullopt}, Case{"thing.ax", std::nullopt, std::nullopt},
        Case{"p", std::nullopt, std::nullopt}}) {
    EXPECT_EQ(table.match(c.name), c.row) << c.name;
    EXPECT_EQ(table.matchEnabled(c.name), c.enabled) << c.name;
  }
}

TEST(TypeTable, EmptyListLeavesTheTableAndMalformedEntriesAreKept) {
  PlugTypeTable table = makeTypeTable({{"PS Export Plugin (8be|1)", true}});
  table.GetPlugTypes({});
  EXPECT_EQ(table.rows().size(), 1u);
  table.GetPlugTypes({{"NoParen", true}});
  ASSERT_EQ(table.rows().size(), 1u);
  EXPECT_EQ(table.rows()[0].extension, "");
  EXPECT_FALSE(table.match("x.anything"));
}

TEST(TypeTable, DefaultPatternIsTooLongSoEverythingIsListed) {
  PlugTypeTable table = makeTypeTable(defaultTypeList());
  EXPECT_EQ(pluginViewPattern(table, false), "*.*");
  PlugTypeTable small = makeTypeTable({{"Lightwave Plugin (p|3)", true}});
  EXPECT_EQ(pluginViewPattern(small, true),
            "*.8bf;*._bf;*_8bf;*?prm;*.pr-;*_prm;*?aex;*._ex;*_aex;*.bin;*.p;*_p;*.ffx;*.txt;*."
            "afs;*.pff");
}

TEST(PlugTypesIni, ReadsItemsTicksQuotesAndBlankLines) {
  test::TempFolder dir;
  auto file =
      test::writeFile(dir / "PlugTypes.ini",
                      "\"Zeta Plugin (zz|3)\"\r\nTrue\r\n\r\n  Alpha Plugin (aa|0)  \n#TRUE#\r"
                      "Beta (bb|1),0\r\nGamma (gg|2)\r\n-1\r\nDelta (dd|1)\r\nfalse");
  auto list = LoadList(file);
  ASSERT_TRUE(list);
  EXPECT_EQ(*list, (TypeList{{"Alpha Plugin (aa|0)", true},
                             {"Beta (bb|1)", false},
                             {"Delta (dd|1)", false},
                             {"Gamma (gg|2)", true},
                             {"Zeta Plugin (zz|3)", true}}));
}

TEST(PlugTypesIni, SaveWritesTwoLinesPerEntryAndMissingFileGivesDefaults) {
  test::TempFolder dir;
  TypeList list = {{"Acrobat Plugin (api|2)", true}, {"Maya Plugin (mll|3)", false}};
  ASSERT_TRUE(SaveList(dir / "PlugTypes.ini", list));
  EXPECT_EQ(test::readFile(dir / "PlugTypes.ini"),
            "Acrobat Plugin (api|2)\r\nTrue\r\nMaya Plugin (mll|3)\r\nFalse\r\n");
  EXPECT_EQ(loadPlugTypes(dir.path()), list);
  test::TempFolder empty;
  EXPECT_EQ(loadPlugTypes(empty.path()).size(), 53u);
}

}  // namespace
}  // namespace qm::plugins
