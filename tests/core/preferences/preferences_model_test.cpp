#include "core/preferences/preferences_model.h"

#include <gtest/gtest.h>

#include "core/preferences/list_file.h"
#include "core/preferences/preview_cache.h"
#include "core/preferences/templates.h"
#include "support/temp_folder.h"

namespace qm::preferences {
namespace {

// The store's keys are checked with the options; OK also writes the two list files.
TEST(PreferencesModel, OkWritesTheListFilesAndLoadReadsThemBack) {
  test::TempFolder dir;
  settings::MemoryStore store;
  settings::Options o;
  o.interfaceDesign = "Interfc5.des";
  o.folders = {"/home/u/plugins/", "/srv/a, b/"};
  o.pluginTypes = {{"Foo (foo|1)", true}, {"Zed (z|3)", false}};
  ASSERT_TRUE(savePreferences(store, dir.path(), o));
  EXPECT_EQ(store.get(settings::kSettings, "Interface"), "Interfc5.des");
  EXPECT_EQ(test::readFile(dir / "FolderList.log"), "/home/u/plugins/\r\n/srv/a, b/\r\n");
  settings::Options back = loadPreferences(store, dir.path());
  EXPECT_EQ(std::tie(back.interfaceDesign, back.folders, back.pluginTypes),
            std::tie(o.interfaceDesign, o.folders, o.pluginTypes));
}

TEST(PreferencesModel, ListFilesReadEveryLineEndingAndMissingFilesGiveDefaults) {
  test::TempFolder dir;
  settings::MemoryStore store;
  settings::Options fresh = loadPreferences(store, dir.path());
  EXPECT_TRUE(fresh.folders.empty());
  EXPECT_EQ(fresh.pluginTypes, plugins::defaultTypeList());
  test::writeFile(dir / "FolderList.log", "/a/\r\n\r\n/b/\r/c/\n/d/");
  EXPECT_EQ(loadFolderList(dir.path()), (ItemList{"/a/", "/b/", "/c/", "/d/"}));
  EXPECT_FALSE(saveFolderList(dir / "missing", {"/x/"}));
  EXPECT_EQ(test::readFile(dir / "FolderList.log"), "/a/\r\n\r\n/b/\r/c/\n/d/");
}

TEST(PreferencesModel, TemplateSizesAndTheOptionsTheWriterReads) {
  test::TempFolder dir;
  for (std::uintmax_t size : {49152u, 49664u, 57344u, 99712u, 99840u, 57343u, 0u}) {
    auto file = test::writeFile(dir / "t.8bf", std::string(size, 'x'));
    EXPECT_EQ(isKnownTemplate(file), size != 57343u && size != 0u) << size;
  }
  EXPECT_FALSE(isKnownTemplate(dir / "none.8bf"));
  settings::Options o;
  o.usedFF = 2;
  o.photoshopTemplate = "/t/mine.8bf";
  o.noDialog = o.allModes = o.megaPreview = true;
  o.editorPlugin = {true, false, false};
  ff::FFOptions ff = ffOptionsFrom(o, dir.path());
  EXPECT_EQ(ff.usedFF, ff::FFTemplate::User);
  EXPECT_EQ(ff.userTemplate, "/t/mine.8bf");
  EXPECT_TRUE(ff.noDialog && ff.allModes && ff.megaPreview && ff.editorPlugin);
  EXPECT_FALSE(ff.bigPreview);
  EXPECT_EQ(ff.programDir, dir.path());
}

TEST(PreferencesModel, ClearCacheEmptiesTheCacheFolderAndKeepsIt) {
  test::TempFolder dir;
  test::writeFile(dir / "cache" / "sub" / "a.jpg", "x");
  test::writeFile(dir / "keep.txt", "x");
  shell::DiskFs fs;
  EXPECT_EQ(clearPreviewCache(fs, dir.path()), 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "cache"));
  EXPECT_TRUE(std::filesystem::is_empty(dir / "cache"));
  EXPECT_TRUE(std::filesystem::exists(dir / "keep.txt"));
}

}  // namespace
}  // namespace qm::preferences
