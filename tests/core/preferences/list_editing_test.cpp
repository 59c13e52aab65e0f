// Editing the Preferences lists: folders, applications and plugin types.

#include "core/preferences/list_editing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/preferences/plugin_type_form.h"

namespace qm::preferences {
namespace {

TEST(ListEditing, FolderUseFollowsAutoAddAutoTopAndLimit) {
  struct Case {
    const char* what;
    ItemList before;
    const char* used;
    FolderUseRules rules;
    ItemList after;
  };
  const Case cases[] = {
      // clang-format off
      {"listed, no Auto Top: stays", {"/a/", "/b/"}, "/b", {true, false, 20}, {"/a/", "/b/"}},
      {"listed moves to the top", {"/a/", "/b/", "/c/"}, "/c", {false, true, 20},
       {"/c/", "/a/", "/b/"}},
      {"new folder without Auto Add", {"/a/"}, "/n", {false, true, 20}, {"/a/"}},
      {"new folder at the end", {"/a/"}, "/n/", {true, false, 20}, {"/a/", "/n/"}},
      {"new folder on top", {"/a/"}, "/n", {true, true, 20}, {"/n/", "/a/"}},
      {"full, no Auto Top: refused", {"/a/", "/b/"}, "/n", {true, false, 2}, {"/a/", "/b/"}},
      {"full Auto Top list drops its last", {"/a/", "/b/"}, "/n", {true, true, 2}, {"/n/", "/a/"}},
      {"limit 0 means 20", {"/a/"}, "/n", {true, false, 0}, {"/a/", "/n/"}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ItemList list = c.before;
    const bool changed = noteFolderUse(list, c.used, c.rules);
    EXPECT_EQ(changed, list != c.before);
    EXPECT_EQ(list, c.after);
  }
  ItemList three{"/a/", "/b/", "/c/"};
  EXPECT_TRUE(atLimit(three, 3));
  EXPECT_FALSE(atLimit(three, 4));
  EXPECT_FALSE(atLimit(three, 0));  // the default 20
  EXPECT_TRUE(atLimit(ItemList(20, "/x/"), -1));
}

TEST(ListEditing, PercentOneIsAddedOnceAndRemovedFromSelectedItemsOnly) {
  ItemList apps{"/opt/edit", "/usr/bin/gimp %1", "/usr/bin/krita"};
  appendPercentOne(apps, {0, 1});
  EXPECT_EQ(apps, (ItemList{"/opt/edit %1", "/usr/bin/gimp %1", "/usr/bin/krita"}));
  appendPercentOne(apps, {0, 7});
  EXPECT_EQ(apps[0], "/opt/edit %1");
  stripPercentOne(apps, {0, 2});
  EXPECT_EQ(apps, (ItemList{"/opt/edit", "/usr/bin/gimp %1", "/usr/bin/krita"}));
}

TEST(ListEditing, MoveRemoveAndAddKeepOrder) {
  ItemList list{"a", "b", "c", "d"};
  EXPECT_EQ(moveItem(list, 0, -1), 0u);
  EXPECT_EQ(moveItem(list, 3, +1), 3u);
  EXPECT_EQ(moveItem(list, 2, -1), 1u);
  EXPECT_EQ(list, (ItemList{"a", "c", "b", "d"}));
  EXPECT_EQ(moveItem(list, 1, +1), 2u);
  removeItems(list, {3, 0, 3, 9});
  EXPECT_EQ(list, (ItemList{"b", "c"}));
  EXPECT_FALSE(addUnique(list, "c"));
  EXPECT_TRUE(addUnique(list, "C"));
  EXPECT_EQ(list, (ItemList{"b", "c", "C"}));
}

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
  EXPECT_EQ(splitEntry("Odd (x|9)"), (PluginTypeFields{"Odd", "x", 0}));
  EXPECT_EQ(splitEntry("NoParen"), (PluginTypeFields{"NoParen", "", 0}));
}

TEST(PluginTypeForm, AddEditToggleAndResetKeepTheListSortedAndTicksWhereTheyWere) {
  plugins::TypeList list{{"Beta (b|3)", false}, {"Delta (d|3)", true}};
  EXPECT_EQ(addTypeEntry(list, {"Charlie", "c", 2}), 1u);
  EXPECT_EQ(list[1], (plugins::TypeEntry{"Charlie (c|2)", true}));
  EXPECT_EQ(replaceTypeEntry(list, 0, {"Echo", "e", 0}), 2u);
  EXPECT_EQ(list[2], (plugins::TypeEntry{"Echo (e|0)", false}));  // keeps its tick
  toggleAllTypes(list);
  EXPECT_TRUE(std::all_of(list.begin(), list.end(), [](auto& e) { return e.ticked; }));
  toggleAllTypes(list);
  EXPECT_TRUE(std::none_of(list.begin(), list.end(), [](auto& e) { return e.ticked; }));

  // Reset: an edited default ("acrobat plugin (pdf" is not "acrobat plugin (api") comes back
  // beside it; a present default keeps its tick; the doubled default is added once.
  plugins::TypeList mine{{"Acrobat Plugin (pdf|2)", true}, {"Maya Plugin (mll|0)", true}};
  mergeDefaultTypes(mine);
  EXPECT_EQ(mine.size(), 53u);
  auto ticks = [&mine](std::string_view text) {
    std::vector<bool> found;
    for (const auto& e : mine)
      if (e.text == text) found.push_back(e.ticked);
    return found;
  };
  EXPECT_EQ(ticks("Acrobat Plugin (api|2)"), std::vector<bool>{false});
  EXPECT_EQ(ticks("Maya Plugin (mll|0)"), std::vector<bool>{true});
  EXPECT_TRUE(ticks("Maya Plugin (mll|3)").empty());
  EXPECT_EQ(ticks("PSP 7 Texture/Pattern (bmp|3)").size(), 1u);
}

}  // namespace
}  // namespace qm::preferences
