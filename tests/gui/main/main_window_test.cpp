// Start-up and shutdown of the main window over empty and full settings stores, start-up
// arguments, the help entries, Escape, the tips and the menus.

#include <QtTest>

#include "core/settings/spelling.h"
#include "gui/main/file_view.h"
#include "gui/main/folder_list.h"
#include "gui/main/plugin_view.h"
#include "gui/main/tip_window.h"
#include "window_fixture.h"

using namespace qm;
using settings::kFolders;
using settings::kOptions;
using settings::kSettings;

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void emptyStoreStartsWithFallbacksAndAsks() {
    test::TempFolder chosen, samples;
    test::StartedWindow w;
    w.start(std::nullopt, chosen.path(), samples.path());
    QCOMPARE(w.window->windowTitle(), QString("Quillmark 1.00"));
    QCOMPARE(w.questions, QStringList{"To start please select the folder where your plugins are "
                                      "located. Otherwise press Cancel."});
    QCOMPARE(w.window->pane(0)->folder(), chosen.path());
    for (int i = 0; i < 2; ++i) {
      QCOMPARE(w.window->pane(i)->patternBox()->currentIndex(), 0);
      QCOMPARE(w.window->pane(i)->patternBox()->count(), 6);
    }
    QCOMPARE(w.tipsShown, 0);
    w.close();
  }

  void emptyStoreSavesExactlyTheShutdownKeys() {
    test::TempFolder samples;
    test::StartedWindow w;
    w.start(std::nullopt, std::nullopt, samples.path());
    QCOMPARE(w.window->pane(0)->folder(), samples.path());  // Cancel keeps the samples
    w.window->resize(900, 600);
    w.close();
    // The spellings are the settings tests' job; this is what the window hands them.
    QCOMPARE(w.store.get(kFolders, "Folder1"), samples.path().string());
    QCOMPARE(w.store.get(kFolders, "Folder2"), QDir::homePath().toStdString());
    QCOMPARE(w.store.get(kSettings, "Width") + "x" + w.store.get(kSettings, "Height"),
             std::string("900x600"));
    QCOMPARE(w.store.get(kFolders, "Pattern2"), std::string(" 0"));
    QVERIFY(w.store.contains(kFolders, "LastX") && w.store.contains(kFolders, "LastY"));
    QCOMPARE(w.store.values().size(), std::size_t{16});
  }

  void fullStoreRestoresAndSavesBack() {
    test::TempFolder left, right;
    test::writeFile(left / "a.8bf", "x");
    test::writeFile(left / "b.prm", "x");
    test::writeFile(left / "c.txt", "x");
    test::StartedWindow w;
    auto& s = w.store;
    // The spellings themselves are the settings tests' job; these show the window uses them.
    const std::pair<std::string_view, std::string_view> settingsKeys[] = {
        {"Interface", "Mine.des"}, {"UsedFF", "1"},         {"NoFFOptimize", " 1"},
        {"FolderItemLimit", "7"},  {"EditorPlugin 0", "1"}, {"App0", "gimp %1"},
        {"App1", "krita"},         {"FileViewMode0", " 4"}, {"FileViewMode1", " 3"},
        {"Height", "610"},         {"Width", "930"},        {"PreviewPic", "/pics/test.bmp"}};
    for (auto [k, v] : settingsKeys) s.set(kSettings, k, v);
    // clang-format off
  const std::pair<std::string_view, std::string> folderKeys[] = {
      {"Folder1", left.path().string()}, {"Folder2", right.path().string()},
      {"Pattern1", "-*.8bf;*.prm"}, {"Pattern2", " 4"}, {"Sortkey0", "1"},
      {"SortDirection0", "False"}};
    // clang-format on
    for (const auto& [k, v] : folderKeys) s.set(kFolders, k, v);
    s.set(kOptions, "Show Tips at Startup", "1");

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
    QCOMPARE(w.context.options.interfaceDesign, std::string("Mine.des"));
    QCOMPARE(w.context.options.folderItemLimit, 7);
    QVERIFY(w.context.options.noFFOptimize && w.context.ffOptions.noOptimize);
    QCOMPARE(w.context.options.apps, (std::vector<std::string>{"gimp %1", "krita"}));
    QVERIFY(w.context.ffOptions.editorPlugin);
    QCOMPARE(int(w.context.ffOptions.usedFF), 1);
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

  void fileArgumentSelectsTheFile() {
    test::TempFolder folder;
    test::writeFile(folder / "one.xyz", "1");
    test::writeFile(folder / "two.xyz", "2");
    test::StartedWindow w;
    w.start(folder / "two.xyz");
    QVERIFY(w.questions.isEmpty());  // an argument skips the first-start question
    QCOMPARE(w.window->active()->folder(), folder.path());
    QCOMPARE(w.window->active()->fileView()->currentName(), QString("two.xyz"));
    QCOMPARE(
        w.opened,
        QStringList{
            QUrl::fromLocalFile(QString::fromStdString((folder / "two.xyz").string())).toString()});
    w.close();
    QCOMPARE(w.store.get(kFolders, "Folder1"), folder.path().string());
  }

  // A missing argument is said, then the start goes on as without one.
  void missingArgumentIsSaidThenIgnored() {
    test::TempFolder chosen, samples;
    test::StartedWindow w;
    test::MessageCatcher messages;
    w.start(std::filesystem::path("/missing/x.8bf"), chosen.path(), samples.path());
    QCOMPARE(messages.texts, QStringList{"/missing/x.8bf doesn't exist."});
    QCOMPARE(w.questions.size(), 1);
    QCOMPARE(w.window->pane(0)->folder(), chosen.path());
    QVERIFY(w.opened.isEmpty());
    w.close();
  }

  void menuEntriesAndEscape() {
    test::TempFolder folder;
    test::StartedWindow w;
    w.start(folder.path());
    auto url = [&](const std::filesystem::path& p) {
      return QUrl::fromLocalFile(QString::fromStdString(p.string())).toString();
    };
    w.window->menus().action("mnuHelp")->trigger();
    w.window->menus().action("mnuHelpTutorials")->trigger();
    w.window->menus().action("mnuEmailAuthor")->trigger();
    w.window->menus().action("mnuEmailTechSupport")->trigger();
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
    // The windows' entries and the commands are enabled.
    const auto& menus = w.window->menus();
    for (const char* working : {"mnuConvert", "mnuCopy", "mnuChangeCat", "mnuInvoke", "mnuRefresh",
                                "mnuOptions", "mnuAddtoZip", "mnuFFE", "mnuPictureView"})
      QVERIFY2(menus.action(working)->isEnabled(), working);
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
    QCOMPARE(tips.tipLabel()->text(), QString("Third"));
    QCOMPARE(tips.counterLabel()->text(), QString("3/3"));
    tips.nextTip();
    QCOMPARE(tips.tipLabel()->text(), QString("First"));
    QCOMPARE(tips.counterLabel()->text(), QString("1/3"));
    tips.showAtStartup()->setChecked(true);
    QCOMPARE(store.get(kOptions, "Show Tips at Startup"), std::string("1"));
    tips.showAtStartup()->setChecked(false);
    QCOMPARE(store.get(kOptions, "Show Tips at Startup"), std::string("0"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
