// The plugin type table and PlugTypes.ini, the file list, and what a double click, a menu
// command or a drop does with a file by its type.

#include <gtest/gtest.h>

#include "core/plugins/catalogue.h"
#include "core/plugins/drop_rules.h"
#include "core/plugins/file_listing.h"
#include "core/plugins/open_by_type.h"
#include "core/plugins/type_table.h"
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

TEST(FileListing, IconsBySuffix) {
  struct Case {
    const char* name;
    int icon;
  };
  // clang-format off
  for (Case c : {Case{"a.8bf", 4}, Case{"A.8BF", 4}, Case{"a._bf", 3}, Case{"a.prm", 5},
                 Case{"a.aex", 6}, Case{"a.ffl", 7}, Case{"a.zip", 8}, Case{"a.wmf", 11},
                 Case{"a.pcx", 11}, Case{"a.tub", 9}, Case{"a.sld", 9}, Case{"a.doc", 3},
                 Case{"8bf", 3}})
    // clang-format on
    EXPECT_EQ(iconIndex(c.name), c.icon) << c.name;
}

TEST(FileListing, SizeAndDateTexts) {
  EXPECT_EQ(sizeText(0), "");
  EXPECT_EQ(sizeText(999), "999");
  EXPECT_EQ(sizeText(1000), "1,000");
  EXPECT_EQ(sizeText(57344), "57,344");
  EXPECT_EQ(sizeText(1234567, '.'), "1.234.567");
  EXPECT_EQ(datePart("2026-12-05 15:27:04"), "2026-12-05 ");
  EXPECT_EQ(datePart("nodate"), "nodate");
}

TEST(FileListing, PatternsMatchCaseInsensitivelyWithWildcards) {
  const std::string pattern = "*.8bf;*?prm;*.p;*_p";
  struct Case {
    const char* name;
    bool shown;
  };
  for (Case c :
       {Case{"A.8BF", true}, Case{"a.8bff", false}, Case{"x_prm", true}, Case{"xprm", true},
        Case{"prm", false}, Case{"m.p", true}, Case{"m_p", true}, Case{"mp", false}}) {
    EXPECT_EQ(matchesPattern(c.name, pattern), c.shown) << c.name;
  }
  EXPECT_TRUE(matchesPattern("no_dot", "*.*"));
  EXPECT_FALSE(matchesPattern("a.8bf", ""));
}

TEST(FileListing, FillDirListOrderFoldersAndColumns) {
  test::TempFolder dir;
  test::writeFile(dir / "b.8bf", std::string(2048, 'x'));
  test::writeFile(dir / "A.prm", "");
  test::writeFile(dir / "c.doc", "x");
  std::filesystem::create_directory(dir / "sub");
  auto items = FillDirList(dir.path(), "*.8bf;*.prm", true);
  std::vector<std::pair<std::string, std::string>> got;
  for (const auto& i : items) got.emplace_back(i.name, i.sizeText);
  EXPECT_EQ(got, (decltype(got){{" ..", " "}, {"sub", " "}, {"A.prm", ""}, {"b.8bf", "2,048"}}));
  EXPECT_EQ(std::tie(items[1].icon, items[3].icon), std::tuple(kIconFolder, kIcon8bf));
  EXPECT_EQ(items[3].dateText.back(), ' ');
  EXPECT_EQ(FillDirList(dir.path(), "*.8bf", false).size(), 1u);
}

TEST(OpenByType, DoubleClickDispatch) {
  PlugTypeTable table = makeTypeTable({{"PSP 7 Tube (tub|3)", true}});
  struct Case {
    const char* name;
    OpenAction action;
  };
  for (Case c : {Case{"a.bmp", OpenAction::PictureEditor}, Case{"a.JPG", OpenAction::PictureEditor},
                 Case{"a.png", OpenAction::Shell}, Case{"l.ffl", OpenAction::ConvertDialog},
                 Case{"f._rm", OpenAction::FilterFactoryEditor},
                 Case{"f.ffx", OpenAction::FilterFactoryEditor}, Case{"f.aex", OpenAction::Shell},
                 Case{"n.txt", OpenAction::TextSource},
                 Case{"t_tub", OpenAction::PluginInformation}, Case{"x.exe", OpenAction::Shell}}) {
    EXPECT_EQ(decideOpen(c.name, table), c.action) << c.name;
  }
}

TEST(OpenByType, CommandFlags) {
  PlugTypeTable table = makeTypeTable({{"PSP 7 Tube (tub|3)", true}});
  using Names = std::vector<std::string>;
  struct Case {
    Names names;
    PaneView view;
    CommandFlags flags;
  };
  for (const Case& c :
       {Case{{"a.afs"}, PaneView::File, {true, false, false, false}},
        Case{{"a.afs", "b.aex"}, PaneView::Plugin, {true, true, true, false}},
        Case{{"b._ex"}, PaneView::File, {false, true, false, false}},
        Case{{"t.tub"}, PaneView::Plugin, {false, true, false, false}},
        Case{{"x.doc", "p._rm", "y.afs"}, PaneView::Plugin, {true, true, true, true}},
        Case{{"x.doc"}, PaneView::File, {false, false, false, false}}}) {
    EXPECT_EQ(commandAvailability(c.names, table, false, c.view), c.flags) << c.names[0];
  }
  EXPECT_EQ(commandAvailability({}, table, true, PaneView::File),
            (CommandFlags{true, true, false, true}));
  EXPECT_EQ(commandAvailability({}, table, true, PaneView::Plugin),
            (CommandFlags{true, true, true, true}));
}

TEST(DropRules, WhatADropDoes) {
  using enum DropList;
  EXPECT_EQ(decideDrop(0, PaneView::Plugin, 0, CategoryList), DropAction::ChangeCategory);
  EXPECT_EQ(decideDrop(0, PaneView::Plugin, 0, FilterList), DropAction::None);
  EXPECT_EQ(decideDrop(0, PaneView::Plugin, 1, FileList), DropAction::MoveFiles);
  EXPECT_EQ(decideDrop(0, PaneView::Plugin, 1, FolderList), DropAction::MoveFiles);
  EXPECT_EQ(decideDrop(0, PaneView::Plugin, 1, CategoryList), DropAction::None);
  EXPECT_EQ(decideDrop(1, PaneView::File, 0, FilterList), DropAction::MoveFiles);
  EXPECT_EQ(decideDrop(1, PaneView::Ffl, 0, FileList), DropAction::None);
  EXPECT_EQ(categoryIndexAt(3, 40, 16, 10), 5);
  EXPECT_EQ(categoryIndexAt(3, 200, 16, 10), std::nullopt);
  EXPECT_EQ(categoryIndexAt(0, 10, 0, 10), std::nullopt);
}

}  // namespace
}  // namespace qm::plugins
