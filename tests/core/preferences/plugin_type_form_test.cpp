#include "core/preferences/plugin_type_form.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qm::preferences {
namespace {

TEST(PluginTypeForm, OkRefusesEmptyFieldsAndCleansTheExtension) {
  struct Case {
    PluginTypeFields typed;
    const char* entryOrMessage;
    PluginTypeField focus;
  };
  const Case cases[] = {
      {{"Foo", "*.FOO", 1}, "Foo (foo|1)", {}},
      {{"PS Thing", ".8BF", 3}, "PS Thing (8bf|3)", {}},
      {{"Dots", "a.b*c", 0}, "Dots (abc|0)", {}},
      {{"", "8bf", 0}, "Please enter the Plugin Name!", PluginTypeField::Label},
      {{"", "", 0}, "Please enter the Plugin Name!", PluginTypeField::Label},
      {{"Foo", "", 2}, "Please enter the File Extension e.g. 8bf ", PluginTypeField::Extension},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entryOrMessage);
    auto accepted = acceptPluginType(c.typed);
    if (accepted) {
      EXPECT_EQ(entryText(*accepted), c.entryOrMessage);
      EXPECT_EQ(splitEntry(entryText(*accepted)), *accepted);
    } else {
      EXPECT_EQ(accepted.error().message, c.entryOrMessage);
      EXPECT_EQ(accepted.error().focus, c.focus);
    }
  }
}

TEST(PluginTypeForm, SplitTakesLabelExtensionAndDigit) {
  EXPECT_EQ(splitEntry("PS Export Plugin (8be|1)"),
            (PluginTypeFields{"PS Export Plugin", "8be", 1}));
  EXPECT_EQ(splitEntry("Odd (x|9)"), (PluginTypeFields{"Odd", "x", 0}));
  EXPECT_EQ(splitEntry("NoParen"), (PluginTypeFields{"NoParen", "", 0}));
}

TEST(PluginTypeForm, AddEditToggleAndResetKeepTheListSortedAndTicksWhereTheyWere) {
  plugins::TypeList list{{"Beta (b|3)", false}, {"Delta (d|3)", true}};
  std::size_t added = addTypeEntry(list, {"Charlie", "c", 2});
  EXPECT_EQ(added, 1u);
  EXPECT_EQ(list[1], (plugins::TypeEntry{"Charlie (c|2)", true}));
  std::size_t moved = replaceTypeEntry(list, 0, {"Echo", "e", 0});
  EXPECT_EQ(moved, 2u);
  EXPECT_EQ(list[2], (plugins::TypeEntry{"Echo (e|0)", false}));  // keeps its tick
  toggleAllTypes(list);
  EXPECT_TRUE(std::all_of(list.begin(), list.end(), [](auto& e) { return e.ticked; }));
  toggleAllTypes(list);
  EXPECT_TRUE(std::none_of(list.begin(), list.end(), [](auto& e) { return e.ticked; }));

  // Reset: an edited default ("acrobat plugin (pdf" is not "acrobat plugin (api") comes back
  // beside it; a present default keeps its tick; the doubled default is added once.
  plugins::TypeList mine{{"Acrobat Plugin (pdf|2)", true}, {"Maya Plugin (mll|0)", true}};
  mergeDefaultTypes(mine);
  // 53 defaults: Maya is covered, the doubled one comes once, the edited Acrobat stays.
  EXPECT_EQ(mine.size(), 53u);
  auto find = [&mine](std::string_view text) {
    return std::find_if(mine.begin(), mine.end(), [&](auto& e) { return e.text == text; });
  };
  ASSERT_NE(find("Acrobat Plugin (api|2)"), mine.end());
  EXPECT_FALSE(find("Acrobat Plugin (api|2)")->ticked);
  EXPECT_TRUE(find("Maya Plugin (mll|0)")->ticked);
  EXPECT_EQ(find("Maya Plugin (mll|3)"), mine.end());
  EXPECT_EQ(std::count_if(mine.begin(), mine.end(),
                          [](auto& e) { return e.text == "PSP 7 Texture/Pattern (bmp|3)"; }),
            1);
}

}  // namespace
}  // namespace qm::preferences
