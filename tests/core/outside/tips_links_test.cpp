// Tips, the URL lists, shortcut files and bookmarks, and the Photoshop folder lookup.
#include <gtest/gtest.h>

#include "core/outside/internet_shortcut.h"
#include "core/outside/photoshop_folder.h"
#include "core/outside/tips.h"
#include "core/outside/url_list.h"
#include "support/temp_folder.h"

namespace qm::outside {
namespace {

TEST(Tips, PickWrapAndCount) {
  EXPECT_EQ(parseTips("one\r\n\r\ntwo\nthree"), (std::vector<std::string>{"one", "two", "three"}));
  struct Case {
    long long pick;
    int count;
    int index;
  } cases[] = {{0, 3, 0}, {5, 3, 2}, {-1, 3, 2}, {7, 0, 0}};
  for (const Case& c : cases) EXPECT_EQ(tipIndex(c.pick, c.count), c.index) << c.pick;
  EXPECT_EQ(nextTipIndex(1, 3), 2);
  EXPECT_EQ(nextTipIndex(2, 3), 0);
  EXPECT_EQ(tipCounter(2, 12), "3/12");
}

TEST(UrlList, ReadsEachLineAtItsFirstSemicolonAndWritesEveryEntryBack) {
  struct Case {
    const char* text;
    std::vector<UrlEntry> entries;
  } cases[] = {
      {"a b ; x;y\r\n", {{"a b", "x;y"}}},
      {"only name  \r\n;http://u\r\n", {{"only name", ""}, {"", "http://u"}}},
      {"a;1\r\n\r\nb;2", {{"a", "1"}, {"", ""}, {"b", "2"}}},
      {"a;1\nb;2\n", {{"a", "1"}, {"b", "2"}}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(parseUrlList(c.text), c.entries) << c.text;
  std::string text = "a b;x;y\r\n\r\nname only;\r\n;http://u\r\n";
  EXPECT_EQ(formatUrlList(parseUrlList(text)), text);
  EXPECT_EQ(formatUrlList({{"a b", "x;y"}, {"", ""}}), "a b;x;y\r\n\r\n");
  EXPECT_EQ(saveQuestion(UrlListKind::Tubes),
            "Do you want to save the changes in the PSP Tubes List ?");
  EXPECT_EQ(
      shareText(UrlListKind::Plugins, "/usr/share/quillmark"),
      "The URLs of this tab sheet are saved under\r\n\r\n/usr/share/quillmark/FilterURLs.txt");
}

TEST(InternetShortcut, FileHoldsTwoLinesAndBookmarkIsAddedOnce) {
  test::TempFolder dir;
  // A desktop folder that was never made is made.
  ASSERT_EQ(writeInternetShortcut(dir / "Desktop", "Home", "https://h.example.org/"), "");
  EXPECT_EQ(test::readFile(dir / "Desktop" / "Home.url"),
            "[InternetShortcut]\r\nURL=https://h.example.org/\r\n");
  test::writeFile(dir / "file", "x");
  EXPECT_NE(writeInternetShortcut(dir / "file" / "sub", "Home", "https://h.example.org/"), "");
  auto bookmarks = dir / "gtk-3.0" / "bookmarks";
  test::writeFile(bookmarks, "file:///home/u/Pictures Pictures");
  EXPECT_EQ(addBookmark(bookmarks, "https://h.example.org/", "Home Page"), BookmarkResult::Added);
  EXPECT_EQ(addBookmark(bookmarks, "https://h.example.org/", "Home Page"),
            BookmarkResult::AlreadyThere);
  EXPECT_EQ(test::readFile(bookmarks),
            "file:///home/u/Pictures Pictures\nhttps://h.example.org/ Home Page\n");
  EXPECT_EQ(addBookmark(dir / "new" / "bookmarks", "u", "t"), BookmarkResult::Added);
  EXPECT_EQ(test::readFile(dir / "new" / "bookmarks"), "u t\n");
}

TEST(PhotoshopFolder, StoredFolderThenWinePrefix) {
  test::TempFolder dir;
  EXPECT_EQ(photoshopPluginsFolder("/stored", "", dir.path()), "/stored");
  EXPECT_EQ(photoshopPluginsFolder("", (dir / "wine").string(), dir.path()), std::nullopt);
  auto adobe = dir / "wine" / "drive_c" / "Program Files (x86)" / "Adobe";
  std::filesystem::create_directories(adobe / "Elements" / "Help");
  std::filesystem::create_directories(adobe / "Photoshop 7.0" / "Plug-Ins");
  EXPECT_EQ(photoshopPluginsFolder("", (dir / "wine").string(), dir.path()),
            adobe / "Photoshop 7.0" / "Plug-Ins");
  auto home = dir / ".wine" / "drive_c" / "Program Files" / "Adobe" / "PS" / "Plug-ins";
  std::filesystem::create_directories(home);
  EXPECT_EQ(photoshopPluginsFolder("", "", dir.path()), home);
}

}  // namespace
}  // namespace qm::outside
