// Tips, shortcut files, the zip command lines and the Photoshop folder lookup.
#include <gtest/gtest.h>

#include "core/outside/internet_shortcut.h"
#include "core/outside/photoshop_folder.h"
#include "core/outside/tips.h"
#include "core/outside/zip_commands.h"
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

TEST(InternetShortcut, FileHoldsTwoLinesAndBookmarkIsAddedOnce) {
  test::TempFolder dir;
  ASSERT_TRUE(writeInternetShortcut(dir.path(), "Home", "https://h.example.org/"));
  EXPECT_EQ(test::readFile(dir / "Home.url"),
            "[InternetShortcut]\r\nURL=https://h.example.org/\r\n");

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

TEST(ZipCommands, PresetNameAndArguments) {
  EXPECT_EQ(presetZipName("pack.zip"), "pack.zip");
  EXPECT_EQ(presetZipName("PACK.ZIP"), "PACK.ZIP");
  EXPECT_EQ(presetZipName("a.8bf"), "New.zip");
  EXPECT_EQ(presetZipName("zip"), "New.zip");

  CommandLine add =
      addToZipCommand("/usr/bin/zip", "/d/my files", "out.zip", {"a b.8bf", "-n.txt", "c.jpg"});
  EXPECT_EQ(add.program, "/usr/bin/zip");
  EXPECT_EQ(add.workingFolder, "/d/my files");
  EXPECT_EQ(add.arguments,
            (std::vector<std::string>{"-n", ".zip:.tif:.gif:.jpg:.arj:.rar", "/d/my files/out.zip",
                                      "a b.8bf", "./-n.txt", "c.jpg"}));
  CommandLine test = testZipCommand("/usr/bin/zip", "/d/x y/p.zip");
  EXPECT_EQ(test.arguments, (std::vector<std::string>{"-T", "p.zip"}));
  EXPECT_EQ(test.workingFolder, "/d/x y");
}

TEST(ZipCommands, ProgressCountsOnlyTheDotsAfterABlank) {
  ZipProgressMeter meter(10ull * 1024 * 1024 * 100);  // a dot per 10 MB
  EXPECT_EQ(meter.options(), (std::vector<std::string>{"-dg", "-ds", "10240k"}));
  EXPECT_EQ(meter.take("  adding: a.b..c.txt "), 0);
  EXPECT_EQ(meter.take("..."), 3);
  EXPECT_EQ(meter.take(".. (deflated 1%)\n  adding: x.y .."), 7);
  EXPECT_EQ(ZipProgressMeter(1000).options()[2], "64k");
  ZipProgressMeter small(1000);
  EXPECT_EQ(small.take(" ...."), 100);
}

TEST(ZipCommands, ProgramIsFoundOnThePathThenInTheProgramFolder) {
  test::TempFolder dir;
  auto makeProgram = [](const std::filesystem::path& file) {
    test::writeFile(file, "#!/bin/sh\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
  };
  test::writeFile(dir / "bin1" / "zip", "not executable");
  makeProgram(dir / "bin2" / "zip");
  makeProgram(dir / "prog" / "zip");
  std::string path =
      (dir / "none").string() + ":" + (dir / "bin1").string() + "::" + (dir / "bin2").string();
  EXPECT_EQ(findZipProgram(path, dir / "prog"), dir / "bin2" / "zip");
  EXPECT_EQ(findZipProgram((dir / "bin1").string(), dir / "prog"), dir / "prog" / "zip");
  EXPECT_EQ(findZipProgram("", dir / "none"), std::nullopt);
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
  std::filesystem::create_directories(dir / ".wine" / "drive_c" / "Program Files" / "Adobe" / "PS" /
                                      "Plug-ins");
  EXPECT_EQ(photoshopPluginsFolder("", "", dir.path()),
            dir / ".wine" / "drive_c" / "Program Files" / "Adobe" / "PS" / "Plug-ins");
}

}  // namespace
}  // namespace qm::outside
