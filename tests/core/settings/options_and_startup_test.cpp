// The stored options in their spellings, and what a start restores: title, designs, the
// working template, folders, the window and its panes, and the file patterns.

#include <gtest/gtest.h>

#include <array>

#include "core/settings/file_patterns.h"
#include "core/settings/options.h"
#include "core/settings/spelling.h"
#include "core/settings/startup.h"
#include "core/settings/window_state.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace qm::settings {
namespace {

using test::TempFolder;

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
  EXPECT_EQ(o.interfaceDesign, "Modern.des");
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
      {"Pic0", "/home/u/p.png"}, {"UsedFF", "0"}, {"EditorPlugin 0", "0"}, {"NoDialog", " 0"},
      {"AllModes", " 0"}, {"JPGQuality", "80"}, {"Associate0", "0"}, {"Associate4", "0"}};
  // clang-format on
  for (const auto& [key, value] : written) EXPECT_EQ(store.get(kSettings, key), value) << key;
  for (const char* gone : {"App2", "App4", "Pic1", "PluginType1"})
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

TEST(Startup, TitlePadsTheMinorVersion) {
  EXPECT_EQ(windowTitle(2, 5), "Quillmark 2.05");
  EXPECT_EQ(windowTitle(3, 12), "Quillmark 3.12");
}

TEST(Startup, InterfaceDesignsFallBackToTheShortFolderName) {
  TempFolder dir;
  EXPECT_TRUE(findInterfaceDesigns(dir.path()).empty());
  test::writeFile(dir / "interfac" / "b.des", "x");
  test::writeFile(dir / "interfac" / "A.DES", "x");
  test::writeFile(dir / "interfac" / "notes.txt", "x");
  EXPECT_EQ(findInterfaceDesigns(dir.path()), (std::vector<std::string>{"A.DES", "b.des"}));
  test::writeFile(dir / "interface" / "Interfc4.des", "x");
  EXPECT_EQ(findInterfaceDesigns(dir.path()), (std::vector<std::string>{"Interfc4.des"}));
}

TEST(Startup, WorkingTemplateIsACopyOfPhoto30) {
  TempFolder dir;
  EXPECT_FALSE(prepareWorkingTemplate(dir.path()));
  EXPECT_FALSE(fs::exists(dir / "temp.dll"));
  test::writeFile(dir / "photo30.dll", "template bytes");
  test::writeFile(dir / "temp.dll", "stale");
  EXPECT_TRUE(prepareWorkingTemplate(dir.path()));
  EXPECT_EQ(test::readFile(dir / "temp.dll"), "template bytes");
  EXPECT_FALSE(fs::exists(dir / "temp.dll.part"));
}

TEST(Startup, FoldersMustExist) {
  TempFolder dir;
  EXPECT_FALSE(restorableFolder(""));
  EXPECT_FALSE(restorableFolder((dir / "gone").string()));
  EXPECT_EQ(restorableFolder(dir.path().string()), dir.path());
}

TEST(Startup, WindowPlacement) {
  const Rect screen{0, 0, 1920, 1080};
  struct Case {
    Rect stored;
    std::optional<std::pair<int, int>> at;
  };
  // clang-format off
  const Case cases[] = {{{-50, 10, 800, 600}, std::nullopt}, {{2000, 10, 800, 600}, std::nullopt},
                        {{100, 80, 800, 600}, {{100, 80}}}, {{1800, 1000, 800, 600}, {{1120, 480}}},
                        {{10, 10, 3000, 2000}, {{0, 0}}}};
  // clang-format on
  for (const auto& c : cases) {
    auto placed = placeWindow(c.stored, screen);
    EXPECT_EQ(placed ? std::optional(std::pair(placed->x, placed->y)) : std::nullopt, c.at)
        << c.stored.x;
  }
}

// Never larger than the screen; kept where it was when that is on the screen, else centred.
TEST(Startup, WindowFitsTheScreen) {
  const Rect screen{100, 0, 933, 600};
  struct Case {
    Rect stored;
    bool hasPlace;
    std::array<int, 4> fitted;
  };
  // clang-format off
  const Case cases[] = {{{300, 200, 1108, 752}, true, {100, 0, 933, 600}},
                        {{0, 0, 1108, 752}, false, {100, 0, 933, 600}},
                        {{150, 50, 600, 400}, true, {150, 50, 600, 400}},
                        {{3000, 50, 600, 400}, true, {266, 100, 600, 400}},
                        {{0, 0, 600, 400}, false, {266, 100, 600, 400}}};
  // clang-format on
  for (const auto& c : cases) {
    Rect r = fitWindow(c.stored, c.hasPlace, screen);
    EXPECT_EQ((std::array{r.x, r.y, r.width, r.height}), c.fitted) << c.stored.x;
  }
}

TEST(FilePatterns, PatternsAndFolderCaptions) {
  // clang-format off
  const std::pair<PatternChoice, std::string> cases[] = {
      {{1, std::nullopt}, "*.8b?;*._bf;*_8bf;*.prm;*.pr-;*._rm;*_prm;*.aex;*.ae-;*_aex"},
      {{3, std::nullopt}, "*?api;*.p;*_p"}, {{4, std::nullopt}, "*.ffl;*.txt;*.afs;*.pff;*.ffx"},
      {{5, std::nullopt}, "*.zip"}, {{9, std::nullopt}, "*.*"},
      {{4, "*.8bf;*.prm"}, "*.8bf;*.prm"}};
  // clang-format on
  for (const auto& [choice, pattern] : cases)
    EXPECT_EQ(patternFor(choice, ";*?api;*.p;*_p"), pattern) << choice.index;
  EXPECT_EQ(folderCaption("/home/u/plugins"), "/home/u/plugins/");
  EXPECT_EQ(folderCaption("/"), "/");
  EXPECT_EQ(folderCaption("/mnt/x/"), "/mnt/x/");
}

TEST(WindowState, EmptyStoreIsAFirstStartWithDefaults) {
  MemoryStore store;
  WindowState s = loadWindowState(store);
  EXPECT_TRUE(isFirstStart(store));
  for (const auto& p : s.panes) EXPECT_EQ(p, PaneState{});
  EXPECT_FALSE(s.width || s.x || s.maximized);
}

TEST(WindowState, PatternValues) {
  struct Case {
    const char* stored;
    PatternChoice expected;
  };
  // clang-format off
  const Case cases[] = {{" 4", {4, std::nullopt}}, {"2", {2, std::nullopt}},
                        {"-*.8bf;*.prm", {0, "*.8bf;*.prm"}}, {"-", {0, ""}},
                        {" 9", {0, std::nullopt}}, {"", {0, std::nullopt}}};
  // clang-format on
  for (const auto& c : cases) {
    MemoryStore store;
    store.set(kFolders, "Pattern1", c.stored);
    EXPECT_EQ(loadWindowState(store).panes[0].pattern, c.expected) << c.stored;
  }
}

TEST(WindowState, SaveWritesEveryKeyInItsSpelling) {
  WindowState s;
  s.panes[0] = {2, false, {1, std::nullopt}, FileViewMode::Classic, "/plugins"};
  s.panes[1] = {0, true, {0, "*.8bf"}, FileViewMode::Details, "/other"};
  s.width = 900.5;
  s.height = 600;
  s.x = 40;
  s.y = 30;
  s.halfMode = true;
  s.folderMenu = {"/a", "/b"};
  MemoryStore store;
  saveWindowState(store, s);
  using Entry = std::pair<std::pair<std::string_view, std::string_view>, std::string>;
  // clang-format off
  const Entry expected[] = {
      {{kFolders, "Sortkey0"}, "2"}, {{kFolders, "SortDirection0"}, "False"},
      {{kFolders, "Sortkey1"}, "0"}, {{kFolders, "SortDirection1"}, "True"},
      {{kFolders, "Folder1"}, "/plugins"}, {{kFolders, "Folder2"}, "/other"},
      {{kFolders, "Pattern1"}, " 1"}, {{kFolders, "Pattern2"}, "-*.8bf"},
      {{kFolders, "1"}, "/a"}, {{kFolders, "2"}, "/b"}, {{kFolders, "Maximize"}, "False"},
      {{kFolders, "LastX"}, "40"}, {{kFolders, "LastY"}, "30"},
      {{kSettings, "FileViewMode0"}, " 4"}, {{kSettings, "FileViewMode1"}, " 3"},
      {{kSettings, "Height"}, "600"}, {{kSettings, "Width"}, "900"},
      {{kSettings, "Halfmode"}, "True"}};
  // clang-format on
  for (const auto& [key, value] : expected)
    EXPECT_EQ(store.get(key.first, key.second), value) << key.second;
  EXPECT_EQ(store.values().size(), std::size(expected));
  WindowState back = loadWindowState(store);
  EXPECT_EQ(back.panes, s.panes);
  EXPECT_EQ(back.folderMenu, s.folderMenu);
  EXPECT_EQ(*back.width, 900);
  EXPECT_TRUE(back.halfMode);
  EXPECT_FALSE(isFirstStart(store));
}

TEST(WindowState, MaximisedOrMinimisedKeepsTheStoredSize) {
  for (bool maximized : {true, false}) {
    MemoryStore store;
    store.set(kSettings, "Width", "800");
    WindowState s;
    s.maximized = maximized;
    s.minimized = !maximized;
    s.width = 1200;
    s.height = 900;
    saveWindowState(store, s);
    EXPECT_EQ(store.get(kSettings, "Width"), "800");
    EXPECT_FALSE(store.contains(kSettings, "Height"));
    EXPECT_EQ(store.get(kFolders, "Maximize"), maximized ? "True" : "False");
  }
}

TEST(WindowState, BadViewModeLeavesThePaneAlone) {
  MemoryStore store;
  store.set(kSettings, "FileViewMode0", " 7");
  store.set(kSettings, "FileViewMode1", "2");
  WindowState s = loadWindowState(store);
  EXPECT_FALSE(s.panes[0].fileViewMode);
  EXPECT_EQ(s.panes[1].fileViewMode, FileViewMode::List);
}

}  // namespace
}  // namespace qm::settings
