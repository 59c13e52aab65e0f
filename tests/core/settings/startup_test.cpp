#include "core/settings/startup.h"

#include <gtest/gtest.h>

#include "core/settings/file_patterns.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace qm::settings {
namespace {

using test::TempFolder;

void touch(const fs::path& p, const std::string& bytes = "x") {
  test::writeFile(p, bytes);
}

TEST(Startup, TitlePadsTheMinorVersion) {
  EXPECT_EQ(windowTitle(2, 5), "Quillmark 2.05");
  EXPECT_EQ(windowTitle(3, 12), "Quillmark 3.12");
}

TEST(Startup, InterfaceDesignsFallBackToTheShortFolderName) {
  TempFolder dir;
  EXPECT_TRUE(findInterfaceDesigns(dir.path()).empty());
  touch(dir / "interfac" / "b.des");
  touch(dir / "interfac" / "A.DES");
  touch(dir / "interfac" / "notes.txt");
  EXPECT_EQ(findInterfaceDesigns(dir.path()), (std::vector<std::string>{"A.DES", "b.des"}));
  touch(dir / "interface" / "Interfc4.des");
  EXPECT_EQ(findInterfaceDesigns(dir.path()), (std::vector<std::string>{"Interfc4.des"}));
}

TEST(Startup, WorkingTemplateIsACopyOfPhoto30) {
  TempFolder dir;
  EXPECT_FALSE(prepareWorkingTemplate(dir.path()));
  EXPECT_FALSE(fs::exists(dir / "temp.dll"));
  touch(dir / "photo30.dll", "template bytes");
  touch(dir / "temp.dll", "stale");
  EXPECT_TRUE(prepareWorkingTemplate(dir.path()));
  EXPECT_EQ(test::readFile(dir / "temp.dll"), "template bytes");
  EXPECT_FALSE(fs::exists(dir / "temp.dll.part"));
}

TEST(Startup, FoldersAndPreviewPictureMustExist) {
  TempFolder dir;
  EXPECT_FALSE(restorableFolder(""));
  EXPECT_FALSE(restorableFolder((dir / "gone").string()));
  EXPECT_EQ(restorableFolder(dir.path().string()), dir.path());
  EXPECT_EQ(previewPicturePath("", dir.path()), dir / "Test.bmp");
  EXPECT_EQ(previewPicturePath((dir / "x.png").string(), dir.path()), dir / "Test.bmp");
  touch(dir / "x.png");
  EXPECT_EQ(previewPicturePath((dir / "x.png").string(), dir.path()), dir / "x.png");
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

TEST(FilePatterns, EntriesAndPatterns) {
  EXPECT_EQ(patternEntries()[0].caption, "All Files (*.*)");
  EXPECT_EQ(patternEntries()[5].caption, "Zip Files (*.zip)");
  // clang-format off
  const std::pair<PatternChoice, std::string> cases[] = {
      {{1, std::nullopt}, "*.8b?;*._bf;*_8bf;*.prm;*.pr-;*._rm;*_prm;*.aex;*.ae-;*_aex"},
      {{3, std::nullopt}, "*?api;*.p;*_p"}, {{4, std::nullopt}, "*.ffl;*.txt;*.afs;*.pff;*.ffx"},
      {{5, std::nullopt}, "*.zip"}, {{9, std::nullopt}, "*.*"}, {{4, "*.8bf;*.prm"}, "*.8bf;*.prm"}};
  // clang-format on
  for (const auto& [choice, pattern] : cases)
    EXPECT_EQ(patternFor(choice, ";*?api;*.p;*_p"), pattern) << choice.index;
}

TEST(FilePatterns, FolderCaptionEndsInOneSeparator) {
  EXPECT_EQ(folderCaption("/home/u/plugins"), "/home/u/plugins/");
  EXPECT_EQ(folderCaption("/"), "/");
  EXPECT_EQ(folderCaption("/mnt/x/"), "/mnt/x/");
}

}  // namespace
}  // namespace qm::settings
