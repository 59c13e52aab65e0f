#include "core/settings/options.h"

#include <gtest/gtest.h>

namespace qm::settings {
namespace {

TEST(Options, EmptyStoreGivesTheFallbacks) {
  MemoryStore store;
  Options o = loadOptions(store);
  EXPECT_EQ(o.interfaceDesign, "Interfc4.des");
  EXPECT_EQ(o.folderItemLimit, 20);
  EXPECT_TRUE(o.writeFFL10);
  EXPECT_FALSE(o.listFont.applies());
  EXPECT_FALSE(showTipsAtStartup(store));
}

TEST(Options, StoredSpellingsRead) {
  struct Case {
    const char* key;
    const char* value;
    bool noFFOptimize, scanSubDirs, autoAdd2;
    int folderItemLimit;
  };
  // clang-format off
  const Case cases[] = {
      {"NoFFOptimize", " 1", true, true, false, 20}, {"NoFFOptimize", "1", true, true, false, 20},
      {"AutoAdd 2", " 1", false, true, true, 20}, {"ScanSubDirs", " 0", false, false, false, 20},
      {"FolderItemLimit", "7", false, true, false, 7},
      {"FolderItemLimit", "0", false, true, false, 20},
      {"FolderItemLimit", "-5", false, true, false, 20},
      {"FolderItemLimit", "abc", false, true, false, 20},
  };
  // clang-format on
  Options initial;  // a missing check box key keeps the initial state
  initial.scanSubDirs = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    MemoryStore store;
    store.set(kSettings, c.key, c.value);
    Options o = loadOptions(store, initial);
    EXPECT_EQ(o.noFFOptimize, c.noFFOptimize);
    EXPECT_EQ(o.scanSubDirs, c.scanSubDirs);
    EXPECT_EQ(o.autoAdd[2], c.autoAdd2);
    EXPECT_EQ(o.folderItemLimit, c.folderItemLimit);
  }
}

TEST(Options, FontAppliesOnlyWithNameAndSizeAndListsStopAtAGap) {
  MemoryStore store;
  store.set(kSettings, "FontName1", "Sans");
  store.set(kSettings, "FontSize1", "0");
  EXPECT_FALSE(loadOptions(store).listFont.applies());
  store.set(kSettings, "FontSize1", "9");
  store.set(kSettings, "FontBold1", "True");
  FontChoice f = loadOptions(store).listFont;
  EXPECT_EQ(std::tie(f.name, f.size, f.bold, f.italic), std::make_tuple("Sans", 9, true, false));
  store.set(kSettings, "App0", "gimp %1");
  store.set(kSettings, "App1", "krita");
  store.set(kSettings, "App3", "lost");
  EXPECT_EQ(loadOptions(store).apps, (std::vector<std::string>{"gimp %1", "krita"}));
}

TEST(Options, SaveWritesSpellingsAndDropsStaleListKeys) {
  MemoryStore store;
  for (int i = 0; i < 5; ++i) store.set(kSettings, "App" + std::to_string(i), "old");
  store.set(kSettings, "PluginType0", "x");
  store.set(kSettings, "PluginType1", "y");
  Options o;
  o.apps = {"a", "b"};
  o.noFFOptimize = true;
  o.autoAdd = {true, false, true};
  o.folderItemLimit = 0;
  o.fileView = {true, false, false, false, false, true};
  saveOptions(store, o);
  // clang-format off
  const std::pair<const char*, const char*> written[] = {
      {"App0", "a"}, {"App1", "b"}, {"NoFFOptimize", " 1"}, {"ScanSubDirs", " 0"},
      {"AutoAdd 0", " 1"}, {"AutoAdd 1", " 0"}, {"AutoTop", " 0"}, {"FolderItemLimit", "20"},
      {"Fileview0", "1"}, {"Fileview1", "0"}, {"FFL1.0", "1"}, {"PassivePaneFolder", "0"},
      {"FontBold2", "False"}};
  // clang-format on
  for (const auto& [key, value] : written) EXPECT_EQ(store.get(kSettings, key), value) << key;
  for (const char* gone : {"App2", "App4", "PluginType1", "UsedFF", "EditorPlugin 0"})
    EXPECT_FALSE(store.contains(kSettings, gone)) << gone;
  Options back = loadOptions(store);
  EXPECT_EQ(std::tie(back.apps, back.autoAdd, back.fileView),
            std::tie(o.apps, o.autoAdd, o.fileView));
}

TEST(Options, TipsOnlyWhenOne) {
  MemoryStore store;
  setShowTipsAtStartup(store, true);
  EXPECT_EQ(store.get(kOptions, "Show Tips at Startup"), "1");
  EXPECT_TRUE(showTipsAtStartup(store));
  store.set(kOptions, "Show Tips at Startup", "2");
  EXPECT_FALSE(showTipsAtStartup(store));
}

}  // namespace
}  // namespace qm::settings
