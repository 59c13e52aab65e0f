#include "core/preferences/preferences_model.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/preferences/associations.h"
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

  // What the old program forgot at the end of a run comes back too.
  o.usedFF = 1;
  o.editorPlugin = {false, true, false};
  o.noDialog = o.allModes = true;
  o.previewJpgQuality = 55;
  o.photoshopTemplate = "/t/mine.8bf";
  o.premiereTFTemplate = "/t/fx-fact.prm";
  o.associate = {true, false, false, true, false};
  ASSERT_TRUE(savePreferences(store, dir.path(), o));
  EXPECT_EQ(store.get(settings::kSettings, "EditorPlugin 1"), "1");
  EXPECT_EQ(store.get(settings::kSettings, "NoDialog"), " 1");
  back = loadPreferences(store, dir.path());
  EXPECT_EQ(std::tie(back.usedFF, back.editorPlugin, back.noDialog, back.allModes,
                     back.previewJpgQuality, back.photoshopTemplate, back.premiereFFTemplate,
                     back.premiereTFTemplate, back.associate),
            std::tie(o.usedFF, o.editorPlugin, o.noDialog, o.allModes, o.previewJpgQuality,
                     o.photoshopTemplate, o.premiereFFTemplate, o.premiereTFTemplate, o.associate));
  store.set(settings::kSettings, "JPGQuality", "0");
  EXPECT_EQ(loadPreferences(store, dir.path()).previewJpgQuality, 80);
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

  // Lines this version cannot read are left out, their ticks with them, and the file is kept
  // until the list is changed.
  const std::string types =
      "Comma, Test (cmt|0)\r\nTrue\r\nPhotoshop Action (atn|3)\r\nTrue\r\n"
      "Pipe|Test (pt|0)\r\nTrue\r\n\"Alpha (aa|0)\",#FALSE#\r\nParen (x) T (px|0)\r\nTrue\r\n";
  test::writeFile(dir / "PlugTypes.ini", types);
  settings::Options lossy = loadPreferences(store, dir.path());
  EXPECT_TRUE(lossy.pluginTypesLostLines);
  EXPECT_EQ(lossy.pluginTypes,
            (plugins::TypeList{{"Alpha (aa|0)", false}, {"Photoshop Action (atn|3)", true}}));
  ASSERT_TRUE(saveListFiles(dir.path(), lossy));
  EXPECT_EQ(test::readFile(dir / "PlugTypes.ini"), types);
  lossy.pluginTypes[0].ticked = true;
  ASSERT_TRUE(saveListFiles(dir.path(), lossy));
  EXPECT_FALSE(loadPreferences(store, dir.path()).pluginTypesLostLines);
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

TEST(Associations, FilesAndCommandsForTheTickedTypes) {
  test::TempFolder dataHome;
  std::vector<std::vector<std::string>> calls;
  auto run = [&calls](const std::vector<std::string>& argv) {
    calls.push_back(argv);
    return argv[0] != "xdg-mime" || argv[3] != "application/x-premiere-plugin";
  };
  auto done = setAssociations(dataHome.path(), execQuoted("/opt/q m/quillmark"),
                              {".8bf", ".prm", ".pff"}, run);
  EXPECT_EQ(done, (std::vector<std::string>{".8bf", ".pff"}));

  const std::string desktop = test::readFile(dataHome / "applications" / "quillmark.desktop");
  EXPECT_NE(desktop.find("\nExec=\"/opt/q m/quillmark\" %f\n"), std::string::npos) << desktop;
  // Only the ticked types are claimed: no library, and .afs stays with whoever has it.
  EXPECT_NE(desktop.find("\nMimeType=application/x-photoshop-filter;application/x-premiere-plugin;"
                         "application/x-filter-factory-source;\n"),
            std::string::npos)
      << desktop;
  const std::string xml = test::readFile(dataHome / "mime" / "packages" / "quillmark.xml");
  for (const char* part : {"<mime-type type=\"application/x-filter-factory-source\">",
                           "<glob pattern=\"*.pff\"/>", "<glob pattern=\"*.8bf\"/>"})
    EXPECT_NE(xml.find(part), std::string::npos) << part;
  for (const char* part : {"<glob pattern=\"*.afs\"/>", "<glob pattern=\"*.ffl\"/>", "library"})
    EXPECT_EQ(xml.find(part), std::string::npos) << part;

  const std::vector<std::vector<std::string>> expected = {
      {"update-mime-database", (dataHome / "mime").string()},
      {"update-desktop-database", (dataHome / "applications").string()},
      {"xdg-mime", "default", "quillmark.desktop", "application/x-photoshop-filter"},
      {"xdg-mime", "default", "quillmark.desktop", "application/x-premiere-plugin"},
      {"xdg-mime", "default", "quillmark.desktop", "application/x-filter-factory-source"}};
  EXPECT_EQ(calls, expected);

  // The desktop's own checkers agree, where they are installed.
  const std::string file = (dataHome / "applications" / "quillmark.desktop").string();
  if (std::system("command -v desktop-file-validate >/dev/null") == 0) {
    EXPECT_EQ(std::system(("desktop-file-validate '" + file + "'").c_str()), 0);
  }
  const std::string mime = (dataHome / "mime" / "packages" / "quillmark.xml").string();
  if (std::system("command -v xmllint >/dev/null") == 0) {
    EXPECT_EQ(std::system(("xmllint --noout '" + mime + "'").c_str()), 0);
  }

  // Removing takes both files away and refreshes the databases again.
  calls.clear();
  EXPECT_EQ(removeAssociations(dataHome.path(), run), "");
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_FALSE(std::filesystem::exists(mime));
  EXPECT_EQ(calls, (std::vector<std::vector<std::string>>(expected.begin(), expected.begin() + 2)));
}

TEST(Associations, NothingTickedWritesNothingAndAnUnwritableFolderStops) {
  test::TempFolder dataHome;
  int calls = 0;
  auto run = [&calls](const std::vector<std::string>&) { return ++calls, true; };
  EXPECT_TRUE(setAssociations(dataHome.path(), "quillmark", {}, run).empty());
  EXPECT_FALSE(std::filesystem::exists(dataHome / "applications"));
  test::writeFile(dataHome / "blocked", "a file where a folder should be");
  EXPECT_TRUE(setAssociations(dataHome / "blocked", "quillmark", {".8bf"}, run).empty());
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(execQuoted("/usr/bin/quillmark"), "/usr/bin/quillmark");
  EXPECT_EQ(execQuoted("/a b/$q"), "\"/a b/\\\\$q\"");
}

}  // namespace
}  // namespace qm::preferences
