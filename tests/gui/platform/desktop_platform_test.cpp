// The desktop glue: .desktop entries and their Exec lines, the trash, the QSettings store and
// the seeding of the program folder.

#include <QtTest>

#include "platform/desktop_apps.h"
#include "platform/program_dir.h"
#include "platform/settings_store.h"
#include "platform/trash.h"
#include "support/pe_builder.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using namespace qm;
using platform::DesktopApp;

class DesktopPlatformTest : public QObject {
  Q_OBJECT
 private slots:
  void shownApplications() {
    const QString head = "[Desktop Entry]\nType=Application\nName=Viewer\nExec=viewer %f\n";
    const std::pair<QString, QString> cases[] = {
        // the entry, its name (empty: not offered)
        {head + "MimeType=image/png;text/plain;\n", "Viewer"},
        {head + "NoDisplay=true\n", ""},
        {"[Desktop Entry]\nType=Link\nName=Site\nExec=x\n", ""},
        {"[Desktop Entry]\nType=Application\nName=Viewer\n", ""},
        {head + "[Desktop Action New]\nName=New\nExec=v -n\n", "Viewer"}};
    for (const auto& [text, name] : cases) {
      auto app = platform::parseDesktopEntry("viewer.desktop", text);
      QCOMPARE(app ? app->name : QString(), name);
      if (app) QCOMPARE(app->exec, QString("viewer %f"));
    }
  }

  void execFieldCodes() {
    const QString file = "/tmp/a b.8bf";
    const std::pair<QString, QStringList> cases[] = {
        {"viewer --open %f", {"viewer", "--open", file}},
        {"viewer %U", {"viewer", "file:///tmp/a b.8bf"}},
        {"viewer %i --rate=50%% %F", {"viewer", "--rate=50%", file}},
        {"\"/opt/my viewer/bin\" %f", {"/opt/my viewer/bin", file}},
        {"viewer", {"viewer", file}}};
    for (const auto& [exec, command] : cases)
      QCOMPARE(platform::launchCommand(DesktopApp{"v.desktop", "Viewer", exec, {}}, file), command);
  }

  void applicationsForATypeIncludeItsParents() {
    std::vector<DesktopApp> apps = {{"t", "Text", "t", {"text/plain"}},
                                    {"i", "Image", "i", {"image/png"}},
                                    {"b", "Bytes", "b", {"application/octet-stream"}}};
    auto forMarkdown = platform::applicationsOpening("text/markdown", apps);
    QCOMPARE(forMarkdown.size(), std::size_t{1});
    QCOMPARE(forMarkdown.front().name, QString("Text"));
    QVERIFY(platform::applicationsOpening("application/x-zerosize", apps).empty());
  }

  // A private data folder's trash, so the test never touches the user's own.
  void fileLeavesItsFolderForTheTrash() {
    test::TempFolder temp;
    fs::create_directories(temp / "data");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString((temp / "data").string()));
    auto file = test::writeFile(temp / "plugins" / "gone.8bf", "bytes");
    platform::DesktopTrash trash;
    QVERIFY(trash.moveToTrash(file));
    QVERIFY(!fs::exists(file));
    QCOMPARE(test::readFile(temp / "data" / "Trash" / "files" / "gone.8bf"), std::string("bytes"));
    QVERIFY(!trash.moveToTrash(temp / "plugins" / "missing.8bf"));
  }

  // The default store is Quillmark/Qumo10.conf in the config folder; values read back as written.
  void storeKeepsSpellings() {
    test::TempFolder dir;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.path().string()));
    QStandardPaths::setTestModeEnabled(false);
    const QString file = QString::fromStdString((dir / "Quillmark" / "Qumo10.conf").string());
    const std::pair<std::string, std::string> values[] = {
        {"FileViewMode0", " 4"},   {"NoFFOptimize", "1"},        {"Halfmode", "True"},
        {"AutoAdd 0", " 0"},       {"Folder1", "/plugins/a, b"}, {"Pattern1", "-*.8bf;*.prm"},
        {"FontName1", " spaced "}, {"Interface", "OFF"}};
    {
      platform::QSettingsStore store;
      for (const auto& [key, value] : values) store.set("Settings", key, value);
      QVERIFY(store.sync());
      QCOMPARE(store.fileName(), file);
    }
    platform::QSettingsStore reread(file);
    for (const auto& [key, value] : values) QCOMPARE(reread.get("Settings", key), value);
    QVERIFY(!reread.contains("Settings", "AutoAdd 1"));
    QCOMPARE(reread.get("Settings", "AutoAdd 1"), std::string());
    reread.remove("Settings", "Halfmode");
    QVERIFY(!reread.contains("Settings", "Halfmode"));
  }

  // An older build's template (resource-only) gives way to the shipped runtime; the user's
  // edits and a template of the user's own (it holds code) stay.
  void seedingReplacesOnlyCodelessTemplates() {
    test::TempFolder from, to;
    const std::string runtime = test::readFile(fs::path(QM_DATA_DIR) / "photo30.dll");
    const std::string own = test::readFile(fs::path(QM_DATA_DIR) / "photo64.dll");
    const test::Bytes old = test::buildPe({}).bytes;
    if (runtime.size() == 57344 && runtime.find(".text") == std::string::npos)
      QSKIP("built without the plugin runtime");
    test::writeFile(from / "photo30.dll", runtime);
    test::writeFile(from / "photo304.dll", runtime);
    test::writeFile(from / "PlugTypes.ini", "shipped");
    test::writeFile(to / "photo30.dll", std::string(old.begin(), old.end()));
    test::writeFile(to / "photo304.dll", own);
    test::writeFile(to / "PlugTypes.ini", "edited");
    platform::seedMissingFiles(from.path(), to.path());
    QVERIFY(test::readFile(to / "photo30.dll") == runtime);
    QVERIFY(test::readFile(to / "photo304.dll") == own);
    QCOMPARE(test::readFile(to / "PlugTypes.ini"), std::string("edited"));
  }
};

QTEST_MAIN(DesktopPlatformTest)
#include "desktop_platform_test.moc"
