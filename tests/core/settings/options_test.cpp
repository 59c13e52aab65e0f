#include "core/settings/options.h"

#include <gtest/gtest.h>

namespace qm::settings {
namespace {

TEST(Options, EmptyStoreGivesTheFallbacks) {
  MemoryStore store;
  Options o = loadOptions(store);
  EXPECT_EQ(o.interfaceDesign, "Interfc4.des");
  EXPECT_EQ(o.folderItemLimit, 20);
  EXPECT_FALSE(o.noFFOptimize);
  EXPECT_TRUE(o.writeFFL10);
  EXPECT_EQ(o.usedFF, 0);
  EXPECT_TRUE(o.apps.empty());
  EXPECT_FALSE(o.listFont.applies());
  EXPECT_FALSE(showTipsAtStartup(store));
}

TEST(Options, BlankSignedAndPlainReadTheSame) {
  for (const char* one : {" 1", "1"}) {
    MemoryStore store;
    store.set(kSettings, "NoFFOptimize", one);
    store.set(kSettings, "ScanSubDirs", one);
    store.set(kSettings, "AutoAdd 2", one);
    EXPECT_TRUE(loadOptions(store).noFFOptimize) << one;
    EXPECT_TRUE(loadOptions(store).scanSubDirs) << one;
    EXPECT_TRUE(loadOptions(store).autoAdd[2]) << one;
  }
}

TEST(Options, MissingCheckBoxKeysKeepTheInitialState) {
  MemoryStore store;
  Options initial;
  initial.scanSubDirs = true;
  initial.fileView[4] = true;
  store.set(kSettings, "Fileview0", "1");
  Options o = loadOptions(store, initial);
  EXPECT_TRUE(o.scanSubDirs);
  EXPECT_TRUE(o.fileView[4]);
  EXPECT_TRUE(o.fileView[0]);
  store.set(kSettings, "ScanSubDirs", " 0");
  EXPECT_FALSE(loadOptions(store, initial).scanSubDirs);
}

TEST(Options, FolderLimitFallsBackTo20) {
  for (const char* bad : {"", "0", "-5", "abc"}) {
    MemoryStore store;
    store.set(kSettings, "FolderItemLimit", bad);
    EXPECT_EQ(loadOptions(store).folderItemLimit, 20) << bad;
  }
  MemoryStore store;
  store.set(kSettings, "FolderItemLimit", "7");
  EXPECT_EQ(loadOptions(store).folderItemLimit, 7);
}

TEST(Options, FontAppliesOnlyWithNameAndSize) {
  MemoryStore store;
  store.set(kSettings, "FontName1", "Sans");
  store.set(kSettings, "FontSize1", "0");
  EXPECT_FALSE(loadOptions(store).listFont.applies());
  store.set(kSettings, "FontSize1", "9");
  store.set(kSettings, "FontBold1", "True");
  FontChoice f = loadOptions(store).listFont;
  EXPECT_EQ(f.name, "Sans");
  EXPECT_EQ(f.size, 9);
  EXPECT_TRUE(f.bold);
  EXPECT_FALSE(f.italic);
}

TEST(Options, ListsStopAtTheFirstGap) {
  MemoryStore store;
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
  EXPECT_EQ(store.get(kSettings, "App0"), "a");
  EXPECT_EQ(store.get(kSettings, "App1"), "b");
  EXPECT_FALSE(store.contains(kSettings, "App2"));
  EXPECT_FALSE(store.contains(kSettings, "App4"));
  EXPECT_FALSE(store.contains(kSettings, "PluginType0"));
  EXPECT_FALSE(store.contains(kSettings, "PluginType1"));
  EXPECT_EQ(store.get(kSettings, "NoFFOptimize"), " 1");
  EXPECT_EQ(store.get(kSettings, "ScanSubDirs"), " 0");
  EXPECT_EQ(store.get(kSettings, "AutoAdd 0"), " 1");
  EXPECT_EQ(store.get(kSettings, "AutoAdd 1"), " 0");
  EXPECT_EQ(store.get(kSettings, "AutoTop"), " 0");
  EXPECT_EQ(store.get(kSettings, "FolderItemLimit"), "20");
  EXPECT_EQ(store.get(kSettings, "Fileview0"), "1");
  EXPECT_EQ(store.get(kSettings, "Fileview1"), "0");
  EXPECT_EQ(store.get(kSettings, "FFL1.0"), "1");
  EXPECT_EQ(store.get(kSettings, "PassivePaneFolder"), "0");
  EXPECT_EQ(store.get(kSettings, "FontBold2"), "False");
  EXPECT_FALSE(store.contains(kSettings, "UsedFF"));
  EXPECT_FALSE(store.contains(kSettings, "EditorPlugin 0"));
  Options back = loadOptions(store);
  EXPECT_EQ(back.apps, o.apps);
  EXPECT_EQ(back.autoAdd, o.autoAdd);
  EXPECT_EQ(back.fileView, o.fileView);
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
