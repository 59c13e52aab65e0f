#include "platform/trash.h"

#include <QtTest>

#include "support/temp_folder.h"

namespace fs = std::filesystem;

class TrashTest : public QObject {
  Q_OBJECT

 private slots:
  // The trash of a private data folder on the same file system, so the test never touches
  // the user's own trash.
  void fileLeavesItsFolderForTheTrash() {
    qm::test::TempFolder temp;
    fs::create_directories(temp / "data");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString((temp / "data").string()));
    auto file = qm::test::writeFile(temp / "plugins" / "gone.8bf", "bytes");

    qm::platform::DesktopTrash trash;
    QVERIFY(trash.moveToTrash(file));
    QVERIFY(!fs::exists(file));
    QCOMPARE(
        QString::fromStdString(qm::test::readFile(temp / "data" / "Trash" / "files" / "gone.8bf")),
        QString("bytes"));

    QVERIFY(!trash.moveToTrash(temp / "plugins" / "missing.8bf"));
  }
};

QTEST_GUILESS_MAIN(TrashTest)
#include "trash_test.moc"
