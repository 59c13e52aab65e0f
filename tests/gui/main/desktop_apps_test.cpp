// Reading .desktop entries and turning their Exec lines into the command that opens a file.

#include "platform/desktop_apps.h"

#include <QtTest>

using qm::platform::DesktopApp;

class DesktopAppsTest : public QObject {
  Q_OBJECT
 private slots:
  void entriesThatAreShownApplications_data();
  void entriesThatAreShownApplications();
  void execFieldCodes_data();
  void execFieldCodes();
  void applicationsForATypeIncludeItsParents();
};

void DesktopAppsTest::entriesThatAreShownApplications_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("name");  // empty: not an application to offer
  const QString head = "[Desktop Entry]\nType=Application\nName=Viewer\nExec=viewer %f\n";
  QTest::newRow("application") << head + "MimeType=image/png;text/plain;\n"
                               << "Viewer";
  QTest::newRow("hidden") << head + "NoDisplay=true\n"
                          << "";
  QTest::newRow("link") << "[Desktop Entry]\nType=Link\nName=Site\nExec=x\n"
                        << "";
  QTest::newRow("no exec") << "[Desktop Entry]\nType=Application\nName=Viewer\n"
                           << "";
  QTest::newRow("action group") << head + "[Desktop Action New]\nName=New Window\nExec=v -n\n"
                                << "Viewer";
}

void DesktopAppsTest::entriesThatAreShownApplications() {
  QFETCH(QString, text);
  QFETCH(QString, name);
  auto app = qm::platform::parseDesktopEntry("viewer.desktop", text);
  QCOMPARE(app ? app->name : QString(), name);
  if (app) QCOMPARE(app->exec, QString("viewer %f"));
}

void DesktopAppsTest::execFieldCodes_data() {
  QTest::addColumn<QString>("exec");
  QTest::addColumn<QStringList>("command");
  const QString file = "/tmp/a b.8bf";
  QTest::newRow("file") << "viewer --open %f" << QStringList{"viewer", "--open", file};
  QTest::newRow("url") << "viewer %U" << QStringList{"viewer", "file:///tmp/a b.8bf"};
  QTest::newRow("icon and percent")
      << "viewer %i --rate=50%% %F" << QStringList{"viewer", "--rate=50%", file};
  QTest::newRow("quoted") << "\"/opt/my viewer/bin\" %f" << QStringList{"/opt/my viewer/bin", file};
  QTest::newRow("no code") << "viewer" << QStringList{"viewer", file};
}

void DesktopAppsTest::execFieldCodes() {
  QFETCH(QString, exec);
  QFETCH(QStringList, command);
  DesktopApp app{"v.desktop", "Viewer", exec, {}};
  QCOMPARE(qm::platform::launchCommand(app, "/tmp/a b.8bf"), command);
}

void DesktopAppsTest::applicationsForATypeIncludeItsParents() {
  std::vector<DesktopApp> apps = {{"t", "Text", "t", {"text/plain"}},
                                  {"i", "Image", "i", {"image/png"}},
                                  {"b", "Bytes", "b", {"application/octet-stream"}}};
  auto forMarkdown = qm::platform::applicationsOpening("text/markdown", apps);
  QCOMPARE(forMarkdown.size(), std::size_t{1});
  QCOMPARE(forMarkdown.front().name, QString("Text"));
  QVERIFY(qm::platform::applicationsOpening("application/x-zerosize", apps).empty());
}

QTEST_MAIN(DesktopAppsTest)
#include "desktop_apps_test.moc"
