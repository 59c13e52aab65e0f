#include "core/preferences/preferences_model.h"

#include <gtest/gtest.h>

#include "core/preferences/list_file.h"
#include "core/preferences/preview_cache.h"
#include "core/preferences/templates.h"
#include "support/temp_folder.h"

namespace qm::preferences {
namespace {

using settings::kSettings;

// Every key the OK button writes, in its spelling, and read back the same.
TEST(PreferencesModel, OkWritesEveryKeyInItsSpellingAndLoadReadsItBack) {
  test::TempFolder dir;
  settings::MemoryStore store;
  for (int i = 0; i < 5; ++i) store.set(kSettings, "App" + std::to_string(i), "old");
  store.set(kSettings, "PluginType0", "old");
  store.set(kSettings, "PluginType1", "old");
  settings::Options o;
  o.interfaceDesign = "Interfc5.des";
  o.noFFOptimize = true;
  o.scanSubDirs = true;
  o.autoAdd = {true, false, true};
  o.autoTop = true;
  o.folderItemLimit = 0;
  o.fileView = {true, false, false, true, false, true};
  o.passivePaneFolder = true;
  o.writeFFL10 = false;
  o.fullStartUp = true;
  o.listFont = {"DejaVu Sans", 11, true, false};
  o.otherFont = {"Noto Serif", 9, false, true};
  o.apps = {"/usr/bin/gimp %1", "/usr/bin/krita"};
  o.pictures = {"/home/u/p.png"};
  o.folders = {"/home/u/plugins/", "/srv/a, b/"};
  o.pluginTypes = {{"Foo (foo|1)", true}, {"Zed (z|3)", false}};
  ASSERT_TRUE(savePreferences(store, dir.path(), o));

  const std::pair<const char*, const char*> expected[] = {
      {"Interface", "Interfc5.des"},
      {"NoFFOptimize", " 1"},
      {"ScanSubDirs", " 1"},
      {"AutoAdd 0", " 1"},
      {"AutoAdd 1", " 0"},
      {"AutoAdd 2", " 1"},
      {"AutoTop", " 1"},
      {"FolderItemLimit", "20"},
      {"Fileview0", "1"},
      {"Fileview1", "0"},
      {"Fileview5", "1"},
      {"PassivePaneFolder", "1"},
      {"FFL1.0", "0"},
      {"FullStartUp", "1"},
      {"FontName1", "DejaVu Sans"},
      {"FontSize1", "11"},
      {"FontBold1", "True"},
      {"FontItalic1", "False"},
      {"FontName2", "Noto Serif"},
      {"FontItalic2", "True"},
      {"App0", "/usr/bin/gimp %1"},
      {"App1", "/usr/bin/krita"},
      {"Pic0", "/home/u/p.png"},
  };
  for (auto [key, value] : expected) {
    SCOPED_TRACE(key);
    EXPECT_EQ(store.get(kSettings, key), value);
  }
  for (const char* gone : {"App2", "App4", "Pic1", "PluginType0", "PluginType1"})
    EXPECT_FALSE(store.contains(kSettings, gone)) << gone;
  EXPECT_EQ(test::readFile(dir / "FolderList.log"), "/home/u/plugins/\r\n/srv/a, b/\r\n");
  EXPECT_EQ(test::readFile(dir / "PlugTypes.ini"), "Foo (foo|1)\r\nTrue\r\nZed (z|3)\r\nFalse\r\n");

  settings::Options back = loadPreferences(store, dir.path());
  EXPECT_EQ(back.folders, o.folders);
  EXPECT_EQ(back.pluginTypes, o.pluginTypes);
  EXPECT_EQ(back.apps, o.apps);
  EXPECT_EQ(back.fileView, o.fileView);
  EXPECT_EQ(back.autoAdd, o.autoAdd);
  EXPECT_EQ(back.folderItemLimit, 20);
  EXPECT_EQ(back.otherFont.name, "Noto Serif");
  EXPECT_TRUE(back.otherFont.italic);
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
    SCOPED_TRACE(size);
    auto file = test::writeFile(dir / "t.8bf", std::string(size, 'x'));
    bool known = size != 57343u && size != 0u;
    EXPECT_EQ(isKnownTemplate(file), known);
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
