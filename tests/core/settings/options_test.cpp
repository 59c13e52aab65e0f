#include "core/settings/options.h"

#include <gtest/gtest.h>

#include "core/settings/spelling.h"

namespace qm::settings {
namespace {

TEST(Spelling, LenientNumbersAndFlags) {
  // clang-format off
  const std::pair<const char*, double> numbers[] = {{"", 0}, {" 1", 1}, {"1", 1}, {"  20x", 20},
      {"-3", -3}, {"abc", 0}, {"612.5", 612.5}, {"7 8", 7}, {"+4", 4}, {".5", 0.5}};
  // clang-format on
  for (const auto& [text, value] : numbers) EXPECT_DOUBLE_EQ(lenientNumber(text), value) << text;
  EXPECT_EQ(lenientInteger("612.9"), 612);
  EXPECT_EQ(lenientInteger("99999999999999999999999"), 0);
  for (const char* on : {"True", "true", "1", " 1", "-1"}) EXPECT_TRUE(readFlag(on)) << on;
  for (const char* off : {"False", "", "0", " 0", "no"}) EXPECT_FALSE(readFlag(off)) << off;
}

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
    EXPECT_EQ(std::tie(o.noFFOptimize, o.scanSubDirs, o.autoAdd[2], o.folderItemLimit),
              std::tie(c.noFFOptimize, c.scanSubDirs, c.autoAdd2, c.folderItemLimit));
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

// Every key the Preferences OK button writes, in its spelling, and read back the same.
TEST(Options, SaveWritesEveryKeyInItsSpellingAndDropsStaleListKeys) {
  MemoryStore store;
  for (int i = 0; i < 5; ++i) store.set(kSettings, "App" + std::to_string(i), "old");
  store.set(kSettings, "PluginType0", "x");
  store.set(kSettings, "PluginType1", "y");
  Options o;
  o.interfaceDesign = "Interfc5.des";
  o.noFFOptimize = o.autoTop = o.passivePaneFolder = o.fullStartUp = true;
  o.writeFFL10 = false;
  o.autoAdd = {true, false, true};
  o.folderItemLimit = 0;
  o.fileView = {true, false, false, true, false, true};
  o.listFont = {"DejaVu Sans", 11, true, false};
  o.otherFont = {"Noto Serif", 9, false, true};
  o.apps = {"/usr/bin/gimp %1", "/usr/bin/krita"};
  o.pictures = {"/home/u/p.png"};
  saveOptions(store, o);
  // clang-format off
  const std::pair<const char*, const char*> written[] = {
      {"Interface", "Interfc5.des"}, {"NoFFOptimize", " 1"}, {"ScanSubDirs", " 0"},
      {"AutoAdd 0", " 1"}, {"AutoAdd 1", " 0"}, {"AutoAdd 2", " 1"}, {"AutoTop", " 1"},
      {"FolderItemLimit", "20"}, {"Fileview0", "1"}, {"Fileview1", "0"}, {"Fileview5", "1"},
      {"PassivePaneFolder", "1"}, {"FFL1.0", "0"}, {"FullStartUp", "1"},
      {"FontName1", "DejaVu Sans"}, {"FontSize1", "11"}, {"FontBold1", "True"},
      {"FontItalic1", "False"}, {"FontName2", "Noto Serif"}, {"FontBold2", "False"},
      {"FontItalic2", "True"}, {"App0", "/usr/bin/gimp %1"}, {"App1", "/usr/bin/krita"},
      {"Pic0", "/home/u/p.png"}};
  // clang-format on
  for (const auto& [key, value] : written) EXPECT_EQ(store.get(kSettings, key), value) << key;
  for (const char* gone : {"App2", "App4", "Pic1", "PluginType1", "UsedFF", "EditorPlugin 0"})
    EXPECT_FALSE(store.contains(kSettings, gone)) << gone;
  Options back = loadOptions(store);
  EXPECT_EQ(std::tie(back.apps, back.autoAdd, back.fileView),
            std::tie(o.apps, o.autoAdd, o.fileView));
  EXPECT_EQ(std::tie(back.folderItemLimit, back.otherFont.name, back.otherFont.italic),
            std::tuple(20, "Noto Serif", true));
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
