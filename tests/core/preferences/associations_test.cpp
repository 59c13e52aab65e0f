#include "core/preferences/associations.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/temp_folder.h"

namespace qm::preferences {
namespace {

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
  EXPECT_NE(
      desktop.find("\nMimeType=application/x-photoshop-filter;application/x-premiere-plugin;"
                   "application/x-filter-factory-library;application/x-filter-factory-source;\n"),
      std::string::npos);
  const std::string xml = test::readFile(dataHome / "mime" / "packages" / "quillmark.xml");
  for (const char* part :
       {"<mime-type type=\"application/x-filter-factory-source\">", "<glob pattern=\"*.afs\"/>",
        "<glob pattern=\"*.pff\"/>", "<glob pattern=\"*.8bf\"/>", "<glob pattern=\"*.ffl\"/>"})
    EXPECT_NE(xml.find(part), std::string::npos) << part;

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
