#include "core/settings/startup.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/settings/file_patterns.h"

namespace fs = std::filesystem;

namespace qm::settings {
namespace {

struct TempDir {
  fs::path path;
  TempDir() {
    path = fs::temp_directory_path() /
           ("qm-startup-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempDir() { fs::remove_all(path); }
};

void touch(const fs::path& p, const std::string& bytes = "x") {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

TEST(Startup, TitlePadsTheMinorVersion) {
  EXPECT_EQ(windowTitle(1, 0), "Quillmark 1.00");
  EXPECT_EQ(windowTitle(2, 5), "Quillmark 2.05");
  EXPECT_EQ(windowTitle(3, 12), "Quillmark 3.12");
}

TEST(Startup, InterfaceDesignsFallBackToTheShortFolderName) {
  TempDir dir;
  EXPECT_TRUE(findInterfaceDesigns(dir.path).empty());
  touch(dir.path / "interfac" / "b.des");
  touch(dir.path / "interfac" / "A.DES");
  touch(dir.path / "interfac" / "notes.txt");
  EXPECT_EQ(findInterfaceDesigns(dir.path), (std::vector<std::string>{"A.DES", "b.des"}));
  touch(dir.path / "interface" / "Interfc4.des");
  EXPECT_EQ(findInterfaceDesigns(dir.path), (std::vector<std::string>{"Interfc4.des"}));
}

TEST(Startup, WorkingTemplateIsACopyOfPhoto30) {
  TempDir dir;
  EXPECT_FALSE(prepareWorkingTemplate(dir.path));
  EXPECT_FALSE(fs::exists(dir.path / "temp.dll"));
  touch(dir.path / "photo30.dll", "template bytes");
  touch(dir.path / "temp.dll", "stale");
  EXPECT_TRUE(prepareWorkingTemplate(dir.path));
  std::ifstream in(dir.path / "temp.dll", std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(content, "template bytes");
  EXPECT_FALSE(fs::exists(dir.path / "temp.dll.part"));
}

TEST(Startup, FoldersAndPreviewPictureMustExist) {
  TempDir dir;
  EXPECT_FALSE(restorableFolder(""));
  EXPECT_FALSE(restorableFolder((dir.path / "gone").string()));
  EXPECT_EQ(restorableFolder(dir.path.string()), dir.path);
  EXPECT_EQ(previewPicturePath("", dir.path), dir.path / "Test.bmp");
  EXPECT_EQ(previewPicturePath((dir.path / "x.png").string(), dir.path), dir.path / "Test.bmp");
  touch(dir.path / "x.png");
  EXPECT_EQ(previewPicturePath((dir.path / "x.png").string(), dir.path), dir.path / "x.png");
}

TEST(Startup, WindowPlacement) {
  Rect screen{0, 0, 1920, 1080};
  EXPECT_FALSE(placeWindow({-50, 10, 800, 600}, screen));
  EXPECT_FALSE(placeWindow({2000, 10, 800, 600}, screen));
  auto inside = placeWindow({100, 80, 800, 600}, screen);
  ASSERT_TRUE(inside);
  EXPECT_EQ(inside->x, 100);
  EXPECT_EQ(inside->y, 80);
  auto pulled = placeWindow({1800, 1000, 800, 600}, screen);
  ASSERT_TRUE(pulled);
  EXPECT_EQ(pulled->x, 1120);
  EXPECT_EQ(pulled->y, 480);
  auto huge = placeWindow({10, 10, 3000, 2000}, screen);
  ASSERT_TRUE(huge);
  EXPECT_EQ(huge->x, 0);
  EXPECT_EQ(huge->y, 0);
}

TEST(FilePatterns, EntriesAndPatterns) {
  EXPECT_EQ(patternEntries()[0].caption, "All Files (*.*)");
  EXPECT_EQ(patternEntries()[5].caption, "Zip Files (*.zip)");
  EXPECT_EQ(patternFor({1, std::nullopt}, ""),
            "*.8b?;*._bf;*_8bf;*.prm;*.pr-;*._rm;*_prm;*.aex;*.ae-;*_aex");
  EXPECT_EQ(patternFor({3, std::nullopt}, ";*?api;*.p;*_p"), "*?api;*.p;*_p");
  EXPECT_EQ(patternFor({4, "*.8bf;*.prm"}, ""), "*.8bf;*.prm");
}

TEST(FilePatterns, FolderCaptionEndsInOneSeparator) {
  EXPECT_EQ(folderCaption("/home/u/plugins"), "/home/u/plugins/");
  EXPECT_EQ(folderCaption("/"), "/");
  EXPECT_EQ(folderCaption("/mnt/x/"), "/mnt/x/");
}

}  // namespace
}  // namespace qm::settings
