// The panes: file view modes and item widths, the file-type box, folder keys, synchronizing,
// the folder box, the folder caption, sorting and the FFL View; and what the window's
// commands act on: the active pane stays the one the user works in, the buttons run whatever
// the menu last showed, Properties describes the selection, and a destructive question names
// its file and answers No to a plain Enter.

#include <QHeaderView>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QPushButton>
#include <QtTest>

#include "gui/main/ffl_view.h"
#include "gui/main/file_view.h"
#include "gui/main/folder_caption.h"
#include "gui/main/folder_list.h"
#include "gui/main/properties_dialog.h"
#include "gui/modal.h"
#include "support/ff_sources.h"
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
  void init() {
    folder_ = std::make_unique<test::TempFolder>();
    for (const char* name : {"Wave.8bf", "Old._bf", "Fade.prm", "Lib.ffl", "pic.wmf", "notes.txt",
                             "Blur.8BF", "empty.zip"})
      test::writeFile(*folder_ / name, std::string(name) == "empty.zip" ? "" : "12345");
    std::filesystem::create_directories(*folder_ / "sub");
    w_ = std::make_unique<test::StartedWindow>();
    w_->start(folder_->path());
  }

  void cleanup() {
    w_->close();
    w_.reset();
    folder_.reset();
  }

  void viewModesAndTheModeMenu() {
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
    menu->hide();
    QVERIFY(menu->actions()[4]->isChecked() && !menu->actions()[3]->isChecked());
    menu->actions()[3]->trigger();
    QCOMPARE(left()->fileViewMode(), FileViewMode::Details);
    QVERIFY(left()->fileView()->detailsView()->isVisibleTo(left()));
  }

  void switchingViews() {
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

  void typedPatternListsExactlyThoseFiles() {
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

  void backspaceAtTheRootStays() {
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

  void synchronizeFromTheRightPane() {
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

  void hiddenFolderBoxListsFoldersInTheView() {
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

  void detailsSortRemembersDirections() {
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

  void folderCaptionAlignment() {
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

  void fflViewListsEntriesWithPositions() {
    const std::string one = test::fflEntry("One.8bf", "Soft One");
    std::string two = test::fflEntry("Two.8bf", "Soft Two");
    two.replace(two.find("Ann"), 3, "B\xE9la");            // Windows-1252
    const std::uint64_t starts[] = {11, 11 + one.size()};  // after "FFL1.0\r\n2\r\n"
    test::writeFile(*folder_ / "Lib.ffl", test::fflLibrary({one, two}));
    left()->setFolder(folder_->path());
    left()->fileView()->selectName("Lib.ffl");
    w_->window->showView(gui::View::Ffl);
    QTreeWidget* list = left()->fflView()->list();
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(0)->text(1), QString("Soft One"));
    QCOMPARE(list->topLevelItem(1)->text(2), QString::fromUtf8("B\u00e9la"));
    QCOMPARE(list->topLevelItem(1)->text(3), QString::number(starts[1]));
    w_->window->selectAll();
    QCOMPARE(left()->fflView()->selectedPositions(),
             (std::vector<std::uint64_t>{starts[0], starts[1]}));
    w_->window->toggleSelect();
    QVERIFY(left()->fflView()->selectedPositions().empty());
  }

  void commandAvailabilityFollowsTheSelection() {
    gui::MainWindow& m = *w_->window;
    auto enabled = [&m](const char* name) { return m.menus().action(name)->isEnabled(); };
    QVERIFY(left()->fileView()->selectName("notes.txt"));
    m.updateCommandAvailability();
    QVERIFY(enabled("mnuConvert") && enabled("mnuListtoFile"));
    QVERIFY(!enabled("mnuEnable") && !enabled("mnuChangeCat") && !enabled("mnuInvoke") &&
            !enabled("mnuPluginAbout"));
    QVERIFY(left()->fileView()->selectName("Wave.8bf"));
    m.updateCommandAvailability();
    QVERIFY(enabled("mnuConvert") && enabled("mnuEnable") && enabled("mnuInvoke"));
    QVERIFY(!enabled("mnuChangeCat"));   // only in the Plugin View
    QVERIFY(enabled("mnuPluginAbout"));  // follows flag D with Execute Plugin
  }

  void namesGetTheirWidthUpToALimit_data() {
    QTest::addColumn<FileViewMode>("mode");
    QTest::newRow("large icons") << FileViewMode::LargeIcons;
    QTest::newRow("small icons") << FileViewMode::SmallIcons;
    QTest::newRow("list") << FileViewMode::List;
  }

  void namesGetTheirWidthUpToALimit() {
    QFETCH(FileViewMode, mode);
    const QString longest = QString(90, 'x') + ".8bf";
    test::TempFolder folder;
    for (const QString& name : {QString("a.8bf"), QString("thing.xyz.something.8bf"), longest})
      test::writeFile(folder / name.toStdString(), "1");
    test::StartedWindow& w = *w_;
    w.window->resize(1200, 800);
    // The left pane comes from a folder of short names; sizes must not stick to the old list.
    w.window->pane(0)->setFileViewMode(mode);
    w.window->pane(0)->fileView()->iconView()->doItemsLayout();
    std::vector<std::vector<int>> widths(2);
    for (int pane = 0; pane < 2; ++pane) {
      w.window->pane(pane)->setFileViewMode(mode);
      w.window->pane(pane)->setFolder(folder.path());
      QListView* view = w.window->pane(pane)->fileView()->iconView();
      view->doItemsLayout();
      for (int row = 0; row < view->model()->rowCount(); ++row) {
        QModelIndex index = view->model()->index(row, 0);
        QString name = index.data().toString();
        QCOMPARE(index.data(Qt::ToolTipRole).toString(), name);
        int width = view->visualRect(index).width();
        int needed = view->fontMetrics().horizontalAdvance(name);
        if (name == longest)
          QVERIFY2(width < needed && width <= 300, qPrintable(QString::number(width)));
        else
          QVERIFY2(width >= needed, qPrintable(name + " " + QString::number(width)));
        widths[static_cast<std::size_t>(pane)].push_back(width);
      }
    }
    QCOMPARE(widths[0], widths[1]);
  }

  void refreshingTheOtherPaneKeepsTheActivePane() {
    test::TempFolder target;
    w_->context.options.passivePaneFolder = true;  // no Select Folder dialog
    w_->window->pane(1)->setFolder(target.path());
    w_->window->setActivePane(1);
    w_->window->showView(gui::View::Plugin);
    QTRY_VERIFY_WITH_TIMEOUT(!w_->window->busy(), 20000);
    w_->window->setActivePane(0);
    QVERIFY(left()->fileView()->selectName("Wave.8bf"));

    w_->window->menus().action("mnuCopy")->trigger();  // refreshes the right pane's Plugin View
    QTRY_VERIFY_WITH_TIMEOUT(!w_->window->busy(), 20000);

    QVERIFY(std::filesystem::exists(target / "Wave.8bf"));
    QCOMPARE(w_->window->activePane(), 0);
    QCOMPARE(w_->window->pane(0)->selectedPaths(), std::vector{*folder_ / "Wave.8bf"});
    QCOMPARE(test::readFile(target / "Wave.8bf"), std::string("12345"));
  }

  void buttonRunsWhileItsMenuEntryIsGreyed() {
    QVERIFY(left()->fileView()->selectName("empty.zip"));
    w_->window->updateCommandAvailability();
    QVERIFY(!w_->window->menus().action("mnuConvert")->isEnabled());
    left()->fileView()->activeView()->clearSelection();

    test::MessageCatcher messages;
    w_->window->findChild<QPushButton*>("convertButton")->click();

    QCOMPARE(messages.wait(), QString("Please select one or more files."));
    emit w_->window->menus().menu("mnuCommands")->aboutToHide();
    QVERIFY(w_->window->menus().action("mnuConvert")->isEnabled());
  }

  void propertiesDescribeTheSelectionNotTheFocus() {
    QVERIFY(left()->fileView()->selectName("Wave.8bf"));
    auto* view = left()->fileView()->activeView();
    QModelIndex notes =
        view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, "notes.txt").value(0);
    QVERIFY(notes.isValid());
    view->selectionModel()->setCurrentIndex(notes, QItemSelectionModel::NoUpdate);

    QString title;
    test::whenModal({}, [&title](QWidget* dialog) {
      title = dialog->windowTitle();
      dialog->close();
    });
    w_->window->showProperties();
    QCOMPARE(title, QString("Wave.8bf Properties"));

    // A text file is what the desktop calls it, not a plugin category.
    auto txt = *folder_ / "notes.txt";
    QString label = gui::typeLabel(txt, w_->context.typeTable, w_->context.ffOptions);
    QCOMPARE(label,
             QMimeDatabase().mimeTypeForFile(QString::fromStdString(txt.string())).comment());
  }

  void killNamesTheFileAndEnterAnswersNo() {
    QVERIFY(left()->fileView()->selectName("notes.txt"));
    QString text;
    bool defaultIsNo = false;
    test::whenModal({}, [&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box);
      text = box->text();
      defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
      QTest::keyClick(box, Qt::Key_Return);
    });

    w_->window->menus().action("mnuKill")->trigger();

    QString file = QString::fromStdString((*folder_ / "notes.txt").string());
    QCOMPARE(text, file + " will be erased and won't be put in the trash can.\nProceed anyway?");
    QVERIFY(defaultIsNo);
    QVERIFY(std::filesystem::exists(*folder_ / "notes.txt"));
  }

 private:
  std::unique_ptr<test::TempFolder> folder_;
  std::unique_ptr<test::StartedWindow> w_;
  gui::Pane* left() { return w_->window->pane(0); }
};

QTEST_MAIN(PaneTest)
#include "pane_test.moc"
