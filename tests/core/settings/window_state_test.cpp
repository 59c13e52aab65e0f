#include "core/settings/window_state.h"

#include <gtest/gtest.h>

namespace qm::settings {
namespace {

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
