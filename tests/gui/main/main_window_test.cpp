// The main window from start to shutdown, its help entries, tips, folder entries, and Add to Zip
// and Test Zip with the real zip program.

#include <QPlainTextEdit>
#include <QtTest>

#include "core/outside/zip_commands.h"
#include "core/settings/spelling.h"
#include "gui/gui_fixture.h"
#include "gui/main/file_view.h"
#include "gui/main/folder_list.h"
#include "gui/main/tip_window.h"

using namespace qm;
using settings::kFolders;
using settings::kOptions;
using settings::kSettings;

namespace {

QString url(const std::filesystem::path& file) {
  return QUrl::fromLocalFile(QString::fromStdString(file.string())).toString();
}

QList<QAction*> folderEntries(const gui::MainWindow& window) {
  QList<QAction*> entries = window.menus().menu("mnuDirs")->actions();
  entries.removeIf([](QAction* a) { return a->objectName() != "mnuDirectorys"; });
  return entries;
}

QStringList captions(const QList<QAction*>& actions) {
  QStringList texts;
  for (QAction* a : actions) texts << a->text();
  return texts;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  // A missing argument is said, then the start goes on as without one.
  void emptyStoreAsksThenSavesExactlyTheShutdownKeys() {
    test::TempFolder chosen, samples;
    test::StartedWindow w;
    test::MessageCatcher messages;
    w.start(std::filesystem::path("/missing/x.8bf"), chosen.path(), samples.path());
    QCOMPARE(messages.texts, QStringList{"/missing/x.8bf doesn't exist."});
    QVERIFY(w.opened.isEmpty());
    QCOMPARE(w.window->windowTitle(), QString("Quillmark 1.00"));
    QCOMPARE(w.questions, QStringList{"To start please select the folder where your plugins are "
                                      "located. Otherwise press Cancel."});
    QCOMPARE(w.window->pane(0)->folder(), chosen.path());
    QCOMPARE(w.tipsShown, 0);
    w.window->resize(900, 600);
    w.close();
    // The spellings are the settings tests' job; this is what the window hands them.
    QCOMPARE(w.store.get(kFolders, "Folder1"), chosen.path().string());
    QCOMPARE(w.store.get(kFolders, "Folder2"), QDir::homePath().toStdString());
    QCOMPARE(w.store.get(kSettings, "Width") + "x" + w.store.get(kSettings, "Height"),
             std::string("900x600"));
    QCOMPARE(w.store.get(kFolders, "Pattern1") + w.store.get(kFolders, "Pattern2"),
             std::string(" 0 0"));
    QVERIFY(w.store.contains(kFolders, "LastX") && w.store.contains(kFolders, "LastY"));
    QCOMPARE(w.store.values().size(), std::size_t{16});
  }

  void fullStoreRestoresAndSavesBack() {
    test::TempFolder left, right;
    for (const char* name : {"a.8bf", "b.prm", "c.txt"}) test::writeFile(left / name, "x");
    test::StartedWindow w;
    auto& s = w.store;
    // clang-format off
    const std::pair<std::string_view, std::string_view> settingsKeys[] = {
        {"Interface", "Mine.des"}, {"UsedFF", "1"}, {"NoFFOptimize", " 1"}, {"FolderItemLimit", "7"},
        {"EditorPlugin 0", "1"}, {"App0", "gimp %1"}, {"App1", "krita"}, {"FileViewMode0", " 4"},
        {"FileViewMode1", " 3"}, {"Height", "610"}, {"Width", "930"}, {"PreviewPic", "/pics/t.bmp"}};
    const std::pair<std::string_view, std::string> folderKeys[] = {
        {"Folder1", left.path().string()}, {"Folder2", right.path().string()},
        {"Pattern1", "-*.8bf;*.prm"}, {"Pattern2", " 4"}, {"Sortkey0", "1"},
        {"SortDirection0", "False"}};
    // clang-format on
    for (auto [k, v] : settingsKeys) s.set(kSettings, k, v);
    for (const auto& [k, v] : folderKeys) s.set(kFolders, k, v);
    s.set(kOptions, "Show Tips at Startup", "1");
    w.context.screenArea = [](const QPoint&) { return QRect(0, 0, 1920, 1080); };

    w.start();
    gui::MainWindow& m = *w.window;
    QVERIFY(w.questions.isEmpty());
    QCOMPARE(w.tipsShown, 1);
    QCOMPARE(m.pane(0)->folder(), left.path());
    QCOMPARE(m.pane(1)->folder(), right.path());
    QCOMPARE(m.pane(0)->patternBox()->currentText(), QString("*.8bf;*.prm"));
    QCOMPARE(m.pane(1)->patternBox()->currentIndex(), 4);
    QCOMPARE(m.pane(0)->fileViewMode(), settings::FileViewMode::Classic);
    QCOMPARE(m.pane(1)->fileViewMode(), settings::FileViewMode::Details);
    QCOMPARE(m.pane(0)->fileView()->classicList()->count(), 2);
    QCOMPARE(m.pane(0)->fileView()->sortColumn(), 1);
    QVERIFY(!m.pane(0)->fileView()->sortAscending());
    QCOMPARE(m.size(), QSize(930, 610));
    // Which option each key sets is the settings tests' job; these show the window loads them.
    QVERIFY(w.context.options.noFFOptimize && w.context.ffOptions.noOptimize);
    QCOMPARE(m.menus().menu("mnuAppsMenu")->actions().last()->text(), QString("krita"));

    m.pane(1)->fileView()->setSort(0, false);
    w.close();
    // What the window owns is written back in its spellings; everything else stays as it was.
    for (const auto& [k, v] : folderKeys) QCOMPARE(s.get(kFolders, k), v);
    for (auto [k, v] : settingsKeys) QCOMPARE(s.get(kSettings, k), std::string(v));
    QCOMPARE(s.get(kFolders, "Sortkey1"), std::string("0"));
    QCOMPARE(s.get(kFolders, "SortDirection1"), std::string("False"));
    QCOMPARE(s.get(kOptions, "Show Tips at Startup"), std::string("1"));
  }

  // A size stored on a larger screen (or at another scale) opens inside the screen the window
  // opens on, with room for the frame; a fresh start fits as well.
  void theWindowOpensInsideItsScreen() {
    struct Case {
      std::vector<std::pair<std::string_view, std::string_view>> stored;
      QRect screen, expected;
      std::optional<QPoint> askedAt;  // the stored place picks the screen
    };
    const Case cases[] = {
        {{{"Width", "1100"}, {"Height", "720"}, {"LastX", "300"}, {"LastY", "200"}},
         {0, 0, 933, 600},
         {0, 0, 925, 568},
         QPoint(300, 200)},
        {{}, {1400, 0, 933, 600}, {1400, 0, 925, 568}, std::nullopt},
        {{{"Width", "900"}, {"Height", "500"}, {"LastX", "1420"}, {"LastY", "40"}},
         {1400, 0, 933, 600},
         {1420, 40, 900, 500},
         QPoint(1420, 40)}};
    for (const auto& c : cases) {
      test::StartedWindow w;
      for (auto [key, value] : c.stored)
        w.store.set(key.starts_with("Last") ? kFolders : kSettings, key, value);
      QPoint asked;
      w.context.screenArea = [&c, &asked](const QPoint& at) { return asked = at, c.screen; };
      w.start();
      QCOMPARE(QRect(w.window->pos(), w.window->size()), c.expected);
      if (c.askedAt) QCOMPARE(asked, *c.askedAt);
      w.close();
    }
  }

  void fileArgumentSelectsTheFile() {
    test::TempFolder folder;
    test::writeFile(folder / "one.xyz", "1");
    test::writeFile(folder / "two.xyz", "2");
    test::StartedWindow w;
    w.start(folder / "two.xyz");
    QVERIFY(w.questions.isEmpty());  // an argument skips the first-start question
    QCOMPARE(w.window->active()->folder(), folder.path());
    QCOMPARE(w.window->active()->fileView()->currentName(), QString("two.xyz"));
    QCOMPARE(w.opened, QStringList{url(folder / "two.xyz")});
    w.close();
    QCOMPARE(w.store.get(kFolders, "Folder1"), folder.path().string());
  }

  void cancelledQuestionStartsInTheSamples() {
    test::TempFolder samples;
    test::StartedWindow w;
    w.start(std::nullopt, std::nullopt, samples.path());
    QCOMPARE(w.window->pane(0)->folder(), samples.path());
    w.close();
  }

  void helpEntriesAndEscape() {
    test::TempFolder folder;
    test::StartedWindow w;
    w.start(folder.path());
    for (const char* entry :
         {"mnuHelp", "mnuHelpTutorials", "mnuEmailAuthor", "mnuEmailTechSupport"})
      w.window->menus().action(entry)->trigger();
    QCOMPARE(w.opened,
             (QStringList{url(w.programDir / "Help.htm"),
                          url(w.programDir.path() / "help" / "tuts" / "tutorials.htm"),
                          "mailto:support@quillmark.example.org?subject=Feedback on Quillmark 1.00",
                          "mailto:support@quillmark.example.org?subject=I need help with "
                          "Quillmark 1.00"}));
    // Without a program for the target the helper says so.
    w.desktopAnswers = false;
    test::MessageCatcher catcher;
    w.window->menus().action("mnuHelp")->trigger();
    w.window->menus().action("mnuEmailAuthor")->trigger();
    QCOMPARE(catcher.texts, (QStringList{"You have no HTML Viewer installed!",
                                         "You have no email application installed!"}));
    // Escape anywhere cancels the running work.
    QVERIFY(!w.window->progress().cancelled());
    w.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
    QTest::keyClick(w.window->pane(1)->folderList(), Qt::Key_Escape);
    QVERIFY(w.window->progress().cancelled());
    w.close();
  }

  void tipWindow() {
    test::TempFolder dir;
    settings::MemoryStore store;
    {
      gui::TipWindow missing(dir.path(), store, 0);
      QCOMPARE(missing.tipLabel()->text(), QString("The Tip file was not found. "));
      QVERIFY(!missing.showAtStartup()->isChecked());
    }
    test::writeFile(dir / "TipOfDay.txt", "First\r\nSecond\r\nThird\r\n");
    gui::TipWindow tips(dir.path(), store, 5, nullptr);
    QCOMPARE(tips.tipLabel()->text() + " " + tips.counterLabel()->text(), QString("Third 3/3"));
    tips.nextTip();
    QCOMPARE(tips.tipLabel()->text() + " " + tips.counterLabel()->text(), QString("First 1/3"));
    tips.showAtStartup()->setChecked(true);
    QCOMPARE(store.get(kOptions, "Show Tips at Startup"), std::string("1"));
    tips.showAtStartup()->setChecked(false);
    QCOMPARE(store.get(kOptions, "Show Tips at Startup"), std::string("0"));
  }

  void folderEntryOfAGoneFolderRemovesItself() {
    test::TempFolder kept, gone;
    QString keptCaption = QString::fromStdString(kept.path().string() + "/");
    QString goneCaption = QString::fromStdString((gone / "sub").string());
    test::StartedWindow w;
    test::writeFile(w.programDir / "FolderList.log",
                    keptCaption.toStdString() + "\n" + goneCaption.toStdString() + "\n");
    w.start(kept.path());
    QCOMPARE(captions(folderEntries(*w.window)), (QStringList{keptCaption, goneCaption}));
    test::MessageCatcher catcher;
    folderEntries(*w.window).at(1)->trigger();
    QCOMPARE(catcher.texts, QStringList{goneCaption + "/  doesn't exist anymore."});
    QCOMPARE(captions(folderEntries(*w.window)), QStringList{keptCaption});
    w.window->active()->setFolder(gone.path());
    folderEntries(*w.window).at(0)->trigger();
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
    test::answerWhenModal("Enter name for zip file", "pack.zip", &preset);
    w.window->menus().action("mnuAddtoZip")->trigger();
    QCOMPARE(preset, QString("New.zip"));
    QCOMPARE(pane->patternBox()->currentText(), QString("Zip Files (*.zip)"));
    QVERIFY(std::filesystem::exists(files / "pack.zip"));
    QVERIFY(pane->fileView()->selectName("pack.zip"));
    test::answerWhenModal("Enter name for zip file", "", &preset);
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

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
