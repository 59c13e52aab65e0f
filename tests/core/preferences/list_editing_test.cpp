#include "core/preferences/list_editing.h"

#include <gtest/gtest.h>

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
      {"listed folder, no Auto Top: stays", {"/a/", "/b/"}, "/b", {true, false, 20}, {"/a/", "/b/"}},
      {"listed folder moves to the top", {"/a/", "/b/", "/c/"}, "/c", {false, true, 20}, {"/c/", "/a/", "/b/"}},
      {"new folder without Auto Add", {"/a/"}, "/n", {false, true, 20}, {"/a/"}},
      {"new folder at the end", {"/a/"}, "/n/", {true, false, 20}, {"/a/", "/n/"}},
      {"new folder on top", {"/a/"}, "/n", {true, true, 20}, {"/n/", "/a/"}},
      {"full list without Auto Top refuses", {"/a/", "/b/"}, "/n", {true, false, 2}, {"/a/", "/b/"}},
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
}

TEST(ListEditing, LimitRefusesAddAtTheCount) {
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

}  // namespace
}  // namespace qm::preferences
