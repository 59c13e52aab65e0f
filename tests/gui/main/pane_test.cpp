// The panes: file view modes, the file-type box, folder keys, synchronizing, the folder box,
// the folder caption, sorting and the FFL View.

#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>

#include "gui/main/ffl_view.h"
#include "gui/main/file_view.h"
#include "gui/main/folder_caption.h"
#include "gui/main/folder_list.h"
#include "window_fixture.h"

using namespace qm;
using settings::FileViewMode;

namespace {

QStringList names(const gui::FileView& view) {
  QStringList all;
  auto* model = view.detailsView()->model();
  for (int row = 0; row < model->rowCount(); ++row) all << model->index(row, 0).data().toString();
  return all;
}

}  // namespace

class PaneTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void viewModesAndTheModeMenu();
  void switchingViews();
  void typedPatternListsExactlyThoseFiles();
  void patternEntries_data();
  void patternEntries();
  void backspaceAtTheRootStays();
  void synchronizeFromTheRightPane();
  void hiddenFolderBoxListsFoldersInTheView();
  void detailsSortRemembersDirections();
  void folderCaptionAlignment();
  void fflViewListsEntriesWithPositions();
  void copyGoesToThePassivePane();
  void commandAvailabilityFollowsTheSelection();

 private:
  std::unique_ptr<test::TempFolder> folder_;
  std::unique_ptr<test::StartedWindow> w_;
  gui::Pane* left() { return w_->window->pane(0); }
};

void PaneTest::init() {
  folder_ = std::make_unique<test::TempFolder>();
  for (const char* name : {"Wave.8bf", "Old._bf", "Fade.prm", "Lib.ffl", "pic.wmf", "notes.txt",
                           "Blur.8BF", "empty.zip"})
    test::writeFile(*folder_ / name, std::string(name) == "empty.zip" ? "" : "12345");
  std::filesystem::create_directories(*folder_ / "sub");
  w_ = std::make_unique<test::StartedWindow>();
  w_->start(folder_->path());
}

void PaneTest::cleanup() {
  w_->close();
  w_.reset();
  folder_.reset();
}

void PaneTest::viewModesAndTheModeMenu() {
  gui::MainWindow& m = *w_->window;
  for (int mode : {3, 2, 1, 0, 4}) {
    m.setFileViewMode(mode);
    QCOMPARE(int(left()->fileViewMode()), mode);
  }
  QVERIFY(!left()->fileView()->iconView()->isVisibleTo(left()));
  QVERIFY(!left()->fileView()->detailsView()->isVisibleTo(left()));
  QVERIFY(left()->fileView()->classicList()->isVisibleTo(left()));
  left()->viewModeButton()->click();
  QMenu* menu = m.fileViewModeMenu();
  QStringList captions;
  QString ticked;
  for (QAction* a : menu->actions()) {
    captions << a->text();
    if (a->isChecked()) ticked = a->text();
  }
  menu->hide();
  QCOMPARE(captions, (QStringList{"Large Icons", "Small Icons", "List", "Details", "Classic"}));
  QCOMPARE(ticked, QString("Classic"));
  menu->actions()[3]->trigger();
  QCOMPARE(left()->fileViewMode(), FileViewMode::Details);
  QVERIFY(left()->fileView()->detailsView()->isVisibleTo(left()));
}

void PaneTest::switchingViews() {
  gui::MainWindow& m = *w_->window;
  m.menus().action("mnuFflview")->trigger();
  QCOMPARE(left()->view(), gui::View::Ffl);
  QCOMPARE(left()->tabs()->currentIndex(), 2);
  m.menus().action("mnuFileView")->trigger();
  QCOMPARE(left()->view(), gui::View::File);
  // The View entries act on the active pane.
  m.setActivePane(1);
  m.menus().action("mnuFflview")->trigger();
  QCOMPARE(m.pane(1)->view(), gui::View::Ffl);
  QCOMPARE(left()->view(), gui::View::File);
}

void PaneTest::typedPatternListsExactlyThoseFiles() {
  QComboBox* box = left()->patternBox();
  box->setFocus();
  box->lineEdit()->selectAll();
  QTest::keyClicks(box->lineEdit(), "*.8bf;*.prm");
  QTest::keyClick(box->lineEdit(), Qt::Key_Return);
  QCOMPARE(names(*left()->fileView()), (QStringList{"Blur.8BF", "Fade.prm", "Wave.8bf"}));
  QCOMPARE(left()->patternChoice().typed.value_or(""), std::string("*.8bf;*.prm"));
  QCOMPARE(w_->window->currentState().panes[0].pattern.typed.value_or(""),
           std::string("*.8bf;*.prm"));
}

void PaneTest::patternEntries_data() {
  QTest::addColumn<int>("entry");
  QTest::addColumn<QStringList>("listed");
  QTest::newRow("all") << 0 << QStringList{"Blur.8BF",  "empty.zip", "Fade.prm", "Lib.ffl",
                                           "notes.txt", "Old._bf",   "pic.wmf",  "Wave.8bf"};
  QTest::newRow("adobe") << 1 << QStringList{"Blur.8BF", "Fade.prm", "Old._bf", "Wave.8bf"};
  QTest::newRow("images") << 2 << QStringList{"pic.wmf"};
  QTest::newRow("sources") << 4 << QStringList{"Lib.ffl", "notes.txt"};
  QTest::newRow("zip") << 5 << QStringList{"empty.zip"};
}

void PaneTest::patternEntries() {
  QFETCH(int, entry);
  QFETCH(QStringList, listed);
  left()->patternBox()->setCurrentIndex(entry);
  emit left()->patternBox()->activated(entry);
  QCOMPARE(names(*left()->fileView()), listed);
  QCOMPARE(left()->patternChoice().index, entry);
  QVERIFY(!left()->patternChoice().typed);
}

void PaneTest::backspaceAtTheRootStays() {
  gui::FolderList* list = left()->folderList();
  left()->setFolder(*folder_ / "sub");
  QTest::keyClick(list, Qt::Key_Backspace);
  QCOMPARE(left()->folder(), folder_->path());
  left()->setFolder("/");
  QTest::keyClick(list, Qt::Key_Backspace);
  QCOMPARE(left()->folder(), std::filesystem::path("/"));
  QCOMPARE(left()->caption()->path(), QString("/"));
  // Backspace in the file list goes up as well.
  left()->setFolder(*folder_ / "sub");
  QTest::keyClick(left()->fileView()->activeView(), Qt::Key_Backspace);
  QCOMPARE(left()->folder(), folder_->path());
}

void PaneTest::synchronizeFromTheRightPane() {
  gui::MainWindow& m = *w_->window;
  gui::Pane* right = m.pane(1);
  right->setFolder(*folder_ / "sub");
  left()->setFolder("/");
  right->syncButton()->click();
  QCOMPARE(m.activePane(), 1);
  QCOMPARE(left()->folder(), *folder_ / "sub");
  QCOMPARE(right->folder(), *folder_ / "sub");
  QCOMPARE(std::filesystem::path(QDir::currentPath().toStdString()), *folder_ / "sub");
}

void PaneTest::hiddenFolderBoxListsFoldersInTheView() {
  left()->folderBoxButton()->click();
  QVERIFY(!left()->folderBoxShown());
  QVERIFY(!left()->folderList()->isVisibleTo(left()));
  QStringList listed = names(*left()->fileView());
  QCOMPARE(listed.mid(0, 2), (QStringList{" ..", "sub"}));
  // Opening the folder item moves the pane.
  left()->fileView()->selectName("sub");
  QTest::keyClick(left()->fileView()->activeView(), Qt::Key_Return);
  QCOMPARE(left()->folder(), *folder_ / "sub");
  left()->folderBoxButton()->click();
  QVERIFY(!names(*left()->fileView()).contains(" .."));
}

void PaneTest::detailsSortRemembersDirections() {
  gui::MainWindow& m = *w_->window;
  m.setFileViewMode(3);
  QHeaderView* header = left()->fileView()->detailsView()->header();
  emit header->sectionClicked(0);
  QCOMPARE(names(*left()->fileView()).first(), QString("Wave.8bf"));
  emit header->sectionClicked(1);  // size: the zero-byte zip comes first
  QCOMPARE(names(*left()->fileView()).first(), QString("empty.zip"));
  emit header->sectionClicked(0);  // back to name, in the direction it had
  QCOMPARE(left()->fileView()->sortColumn(), 0);
  QVERIFY(!left()->fileView()->sortAscending());
  auto state = m.currentState();
  QCOMPARE(state.panes[0].sortKey, 0);
  QVERIFY(!state.panes[0].sortAscending);
}

void PaneTest::folderCaptionAlignment() {
  gui::FolderCaption* caption = left()->caption();
  caption->resize(80, caption->height());
  left()->setFolder(*folder_ / "sub");
  QString full = QString::fromStdString((*folder_ / "sub").string()) + "/";
  QCOMPARE(caption->text(), full);
  QCOMPARE(caption->toolTip(), full);
  QVERIFY(caption->alignment() & Qt::AlignRight);
  caption->resize(4000, caption->height());
  QCOMPARE(caption->toolTip(), QString("Right click to display Folders context menu"));
  QVERIFY(caption->alignment() & Qt::AlignLeft);
}

void PaneTest::fflViewListsEntriesWithPositions() {
  std::string library = "FFL1.0\r\n2\r\n";
  std::vector<std::size_t> starts;
  for (int entry = 0; entry < 2; ++entry) {
    starts.push_back(library.size());
    const char* lines[] = {"One.8bf", "Blur", "Soft One", "Ann", "(c)"};
    for (int line = 0; line < 29; ++line) {
      std::string text = line < 5 ? lines[line] : "0";
      if (entry == 1 && line == 2) text = "Soft Two";
      if (entry == 1 && line == 3) text = "B\xE9la";
      library += text + "\r\n";
    }
  }
  test::writeFile(*folder_ / "Lib.ffl", library);
  left()->setFolder(folder_->path());
  left()->fileView()->selectName("Lib.ffl");
  w_->window->showView(gui::View::Ffl);
  QTreeWidget* list = left()->fflView()->list();
  QCOMPARE(list->topLevelItemCount(), 2);
  QCOMPARE(list->headerItem()->text(0), QString("Category"));
  QCOMPARE(list->headerItem()->text(1), QString("Filter Name"));
  QCOMPARE(list->headerItem()->text(2), QString("Author"));
  QCOMPARE(list->topLevelItem(0)->text(1), QString("Soft One"));
  QCOMPARE(list->topLevelItem(1)->text(2), QString::fromUtf8("B\u00e9la"));
  QCOMPARE(list->topLevelItem(1)->text(3), QString::number(starts[1]));
  w_->window->selectAll();
  QCOMPARE(left()->fflView()->selectedPositions(),
           (std::vector<std::uint64_t>{starts[0], starts[1]}));
  w_->window->toggleSelect();
  QVERIFY(left()->fflView()->selectedPositions().empty());
}

void PaneTest::copyGoesToThePassivePane() {
  test::TempFolder target;
  w_->context.options.passivePaneFolder = true;  // no Select Folder dialog
  gui::MainWindow& m = *w_->window;
  m.pane(1)->setFolder(target.path());
  m.setActivePane(0);
  QVERIFY(left()->fileView()->selectName("Wave.8bf"));
  test::MessageCatcher messages;
  m.menus().action("mnuCopy")->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(!m.busy(), 20000);
  QCOMPARE(test::readFile(target / "Wave.8bf"), std::string("12345"));
  QVERIFY(std::filesystem::exists(*folder_ / "Wave.8bf"));
  QCOMPARE(names(*m.pane(1)->fileView()), QStringList{"Wave.8bf"});
  QVERIFY(messages.texts.isEmpty());
}

void PaneTest::commandAvailabilityFollowsTheSelection() {
  gui::MainWindow& m = *w_->window;
  auto enabled = [&m](const char* name) { return m.menus().action(name)->isEnabled(); };
  QVERIFY(left()->fileView()->selectName("notes.txt"));
  m.updateCommandAvailability();
  QVERIFY(enabled("mnuConvert") && enabled("mnuListtoFile"));
  QVERIFY(!enabled("mnuEnable") && !enabled("mnuChangeCat") && !enabled("mnuInvoke"));
  QVERIFY(left()->fileView()->selectName("Wave.8bf"));
  m.updateCommandAvailability();
  QVERIFY(enabled("mnuConvert") && enabled("mnuEnable") && enabled("mnuInvoke"));
  QVERIFY(!enabled("mnuChangeCat"));  // only in the Plugin View
  QVERIFY(!enabled("mnuPluginAbout"));
}

QTEST_MAIN(PaneTest)
#include "pane_test.moc"
