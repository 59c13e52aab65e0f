// The main window's outside commands as the user reaches them: folder entries, and Add to
// Zip and Test Zip with the real zip program.

#include <QInputDialog>
#include <QPlainTextEdit>
#include <QtTest>

#include "../modal.h"
#include "core/outside/zip_commands.h"
#include "gui/main/file_view.h"
#include "window_fixture.h"

using namespace qm;

namespace {

QStringList folderEntries(const gui::MainWindow& window) {
  QStringList captions;
  for (QAction* a : window.menus().menu("mnuDirs")->actions())
    if (a->objectName() == "mnuDirectorys") captions << a->text();
  return captions;
}

void chooseFolderEntry(const gui::MainWindow& window, const QString& caption) {
  for (QAction* a : window.menus().menu("mnuDirs")->actions())
    if (a->objectName() == "mnuDirectorys" && a->text() == caption) return a->trigger();
  QFAIL(qPrintable("no folder entry " + caption));
}

// Answers the zip name question with answer (cancels with an empty one); keeps the preset.
void answerZipName(const QString& answer, QString* preset) {
  test::whenModal("Enter name for zip file", [=](QWidget* w) {
    auto* dialog = qobject_cast<QInputDialog*>(w);
    QVERIFY(dialog);
    *preset = dialog->textValue();
    dialog->setTextValue(answer);
    answer.isEmpty() ? dialog->reject() : dialog->accept();
  });
}

}  // namespace

class OutsideCommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void folderEntryOfAGoneFolderRemovesItself() {
    test::TempFolder kept, gone;
    QString keptCaption = QString::fromStdString(kept.path().string() + "/");
    QString goneCaption = QString::fromStdString((gone / "sub").string());
    test::StartedWindow w;
    test::writeFile(w.programDir / "FolderList.log",
                    keptCaption.toStdString() + "\n" + goneCaption.toStdString() + "\n");
    w.start(kept.path());
    QCOMPARE(folderEntries(*w.window), (QStringList{keptCaption, goneCaption}));
    test::MessageCatcher catcher;
    chooseFolderEntry(*w.window, goneCaption);
    QCOMPARE(catcher.texts, QStringList{goneCaption + "/  doesn't exist anymore."});
    QCOMPARE(folderEntries(*w.window), QStringList{keptCaption});
    w.window->active()->setFolder(gone.path());
    chooseFolderEntry(*w.window, keptCaption);
    QCOMPARE(w.window->active()->folder(), kept.path());
    w.close();
  }

  void addToZipThenTestZip() {
    const char* path = std::getenv("PATH");
    if (!outside::findZipProgram(path ? path : "", {})) QSKIP("zip is not installed");
    test::TempFolder files;
    test::writeFile(files / "a b.txt", std::string(5000, 'a'));
    test::writeFile(files / "c.txt", "c");
    test::StartedWindow w;
    w.start(files.path());
    gui::Pane* pane = w.window->active();
    QVERIFY(pane->fileView()->selectName("a b.txt"));
    QString preset;
    answerZipName("pack.zip", &preset);
    w.window->menus().action("mnuAddtoZip")->trigger();
    QCOMPARE(preset, QString("New.zip"));
    QCOMPARE(pane->patternBox()->currentText(), QString("Zip Files (*.zip)"));
    QVERIFY(std::filesystem::exists(files / "pack.zip"));

    QVERIFY(pane->fileView()->selectName("pack.zip"));
    answerZipName("", &preset);
    w.window->menus().action("mnuAddtoZip")->trigger();
    QCOMPARE(preset, QString("pack.zip"));

    w.window->menus().action("mnuTestZip")->trigger();
    auto* report = w.window->findChild<QDialog*>("zipReport");
    QVERIFY(report);
    QCOMPARE(report->windowTitle(), QString("Test Zip - pack.zip"));
    QVERIFY(report->findChild<QPlainTextEdit*>()->toPlainText().contains("test of pack.zip OK"));
    w.close();
  }
};

QTEST_MAIN(OutsideCommandsTest)
#include "outside_commands_test.moc"
