// The QSettings store keeps every value's spelling and lives where the desktop expects it.

#include "platform/settings_store.h"

#include <QtTest>

#include "support/temp_folder.h"

using namespace qm;

class SettingsStoreTest : public QObject {
  Q_OBJECT
 private slots:
  void spellingsSurviveTheFile();
  void defaultStoreIsQumo10UnderTheConfigFolder();
};

void SettingsStoreTest::spellingsSurviveTheFile() {
  test::TempFolder dir;
  QString file = QString::fromStdString((dir / "store.conf").string());
  const std::pair<std::string, std::string> values[] = {
      {"FileViewMode0", " 4"},   {"NoFFOptimize", "1"},        {"Halfmode", "True"},
      {"AutoAdd 0", " 0"},       {"Folder1", "/plugins/a, b"}, {"Pattern1", "-*.8bf;*.prm"},
      {"FontName1", " spaced "}, {"Interface", "OFF"}};
  {
    platform::QSettingsStore store(file);
    for (const auto& [key, value] : values) store.set("Settings", key, value);
    store.set("Options", "Show Tips at Startup", "1");
    QVERIFY(store.sync());
  }
  platform::QSettingsStore reread(file);
  for (const auto& [key, value] : values) QCOMPARE(reread.get("Settings", key), value);
  QCOMPARE(reread.get("Options", "Show Tips at Startup"), std::string("1"));
  QVERIFY(reread.contains("Settings", "AutoAdd 0"));
  QVERIFY(!reread.contains("Settings", "AutoAdd 1"));
  QCOMPARE(reread.get("Settings", "AutoAdd 1"), std::string());
  reread.remove("Settings", "Halfmode");
  QVERIFY(!reread.contains("Settings", "Halfmode"));
}

void SettingsStoreTest::defaultStoreIsQumo10UnderTheConfigFolder() {
  test::TempFolder dir;
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.path().string()));
  QStandardPaths::setTestModeEnabled(false);
  {
    platform::QSettingsStore store;
    store.set("Folders", "Folder1", "/x");
    QVERIFY(store.sync());
    QCOMPARE(store.fileName(),
             QString::fromStdString((dir / "Quillmark" / "Qumo10.conf").string()));
  }
  QVERIFY(std::filesystem::exists(dir / "Quillmark" / "Qumo10.conf"));
  QVERIFY(test::readFile(dir / "Quillmark" / "Qumo10.conf").find("[Folders]") != std::string::npos);
}

QTEST_MAIN(SettingsStoreTest)
#include "settings_store_test.moc"
