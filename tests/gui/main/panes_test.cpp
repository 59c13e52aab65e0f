// The panes of a started window: the File, FFL and Plugin Views, what the commands act on and
// what they change there, drags between lists and panes.

#include <QClipboard>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeDatabase>
#include <QtTest>

#include "gui/batch/convert_dialog.h"
#include "gui/gui_fixture.h"
#include "gui/main/duplicates_window.h"
#include "gui/main/ffl_view.h"
#include "gui/main/file_view.h"
#include "gui/main/folder_caption.h"
#include "gui/main/folder_list.h"
#include "gui/main/plugin_lists.h"
#include "gui/main/plugin_view.h"
#include "gui/main/properties_dialog.h"
#include "gui/main/search_panel.h"
#include "gui/main/window_commands.h"
#include "support/ff_sources.h"
#include "support/pe_builder.h"

using namespace qm;
using settings::FileViewMode;
using test::rowTexts;
namespace fs = std::filesystem;

namespace {

QStringList names(const gui::FileView& view) {
  return rowTexts(view.detailsView()->model());
}

void selectOnly(QAbstractItemView* list, const QString& text) {
  auto found =
      list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchExactly);
  QVERIFY(!found.isEmpty());
  list->selectionModel()->setCurrentIndex(
      found.first(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// Drags from's selected entries onto at in target's viewport; whether the target took them.
bool dragAndDrop(QAbstractItemView* from, QAbstractItemView* target, QPoint at) {
  std::unique_ptr<QMimeData> data(
      from->model()->mimeData(from->selectionModel()->selectedIndexes()));
  QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target->viewport(), &enter);
  QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target->viewport(), &move);
  if (!move.isAccepted()) return false;
  QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target->viewport(), &drop);
  return true;
}

// Picks the output format and presses "Convert" once the dialog shows.
void convertTo(const QString& format, bool clipboard = false) {
  test::whenModal("Convert", [=](QWidget* d) {
    auto* combo = d->findChild<QComboBox*>("Combo1");
    combo->setCurrentIndex(combo->findText(format));
    d->findChild<QCheckBox*>("Check1")->setChecked(clipboard);
    d->findChild<QPushButton*>("Command1")->click();
  });
}

// Presses OK in Select Folder once it shows, and keeps the folder it offered first.
void acceptSelectFolder(QString* offered) {
  test::whenModal("Select Folder", [offered](QWidget* d) {
    *offered = d->findChild<QComboBox*>("Combo1")->currentText();
    d->findChild<QPushButton*>("Command2")->click();
  });
}

}  // namespace

class PanesTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    folder_ = std::make_unique<test::TempFolder>();
    for (const char* name : {"Wave.8bf", "Old._bf", "Fade.prm", "Lib.ffl", "pic.wmf", "notes.txt",
                             "Blur.8BF", "empty.zip"})
      test::writeFile(*folder_ / name, std::string(name) == "empty.zip" ? "" : "12345");
    test::writeFile(plugins() / "Soft.8bf", test::piplPlugin({{"Blur", "Soft Focus"}}));
    test::writeFile(plugins() / "Wave.8bf", test::piplPlugin({{"Distort", "Wave"}}));
    test::writeFile(plugins() / "Old._bf", test::piplPlugin({{"Distort", "Old Wave"}}));
    test::writeFile(plugins() / "readme.doc", "words");
    w_ = std::make_unique<test::StartedWindow>();
    w_->start(folder_->path());
  }

  void cleanup() {
    w_->close();
    w_.reset();
    folder_.reset();
  }

  void viewModesAndViews() {
    gui::MainWindow& m = *w_->window;
    m.setFileViewMode(4);
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

  // Sorting remembers each column's direction; a typed pattern lists exactly its files.
  void detailsSortAndTypedPattern() {
    w_->window->setFileViewMode(3);
    QHeaderView* header = left()->fileView()->detailsView()->header();
    emit header->sectionClicked(0);
    QCOMPARE(names(*left()->fileView()).first(), QString("Wave.8bf"));
    emit header->sectionClicked(1);  // size: the zero-byte zip comes first
    QCOMPARE(names(*left()->fileView()).first(), QString("empty.zip"));
    emit header->sectionClicked(0);  // back to name, in the direction it had
    QCOMPARE(left()->fileView()->sortColumn(), 0);
    QVERIFY(!left()->fileView()->sortAscending());

    QComboBox* box = left()->patternBox();
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), "*.8bf;*.prm");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(names(*left()->fileView()), (QStringList{"Wave.8bf", "Fade.prm", "Blur.8BF"}));
    QCOMPARE(w_->window->currentState().panes[0].pattern.typed.value_or(""),
             std::string("*.8bf;*.prm"));
  }

  // Backspace goes up from the folder list and the file list, but not above the root; the
  // caption shows the whole folder, right-aligned while it does not fit.
  void backspaceGoesUpAndTheCaptionShowsTheFolder() {
    gui::FolderCaption* caption = left()->caption();
    caption->resize(80, caption->height());
    left()->setFolder(plugins());
    QString full = QString::fromStdString(plugins().string()) + "/";
    QCOMPARE(caption->text(), full);
    QCOMPARE(caption->toolTip(), full);
    QVERIFY(caption->alignment() & Qt::AlignRight);
    caption->resize(4000, caption->height());
    QCOMPARE(caption->toolTip(), QString("Right click to display Folders context menu"));
    QVERIFY(caption->alignment() & Qt::AlignLeft);

    QTest::keyClick(left()->folderList(), Qt::Key_Backspace);
    QCOMPARE(left()->folder(), folder_->path());
    left()->setFolder("/");
    QTest::keyClick(left()->folderList(), Qt::Key_Backspace);
    QCOMPARE(left()->folder(), fs::path("/"));
    QCOMPARE(caption->path(), QString("/"));
    left()->setFolder(plugins());
    QTest::keyClick(left()->fileView()->activeView(), Qt::Key_Backspace);
    QCOMPARE(left()->folder(), folder_->path());
  }

  // A context menu acts on what the pointer is over: the folder under a right click becomes the
  // highlighted one; in the file list a file outside the selection becomes the selection, one
  // inside keeps it.
  void contextMenusSelectWhatThePointerIsOn() {
    for (const char* sub : {"extdir", "src"}) fs::create_directories(*folder_ / sub);
    left()->setFolder(folder_->path());
    gui::FolderList* folders = left()->folderList();
    auto folderItem = [folders](const char* name) {
      for (int i = 0; i < folders->count(); ++i)
        if (folders->item(i)->text().trimmed() == name) return folders->item(i);
      return static_cast<QListWidgetItem*>(nullptr);
    };
    folders->setCurrentItem(folderItem("src"));
    QTest::mouseClick(folders->viewport(), Qt::RightButton, {},
                      folders->visualItemRect(folderItem("extdir")).center());
    if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
    QCOMPARE(folders->highlighted(), *folder_ / "extdir");

    gui::FileView* files = left()->fileView();
    QAbstractItemView* list = files->activeView();
    auto contextMenuOn = [&](const QString& name) {
      QModelIndex at = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, name)[0];
      const QPoint pos = list->visualRect(at).center();
      QContextMenuEvent event(QContextMenuEvent::Keyboard, pos, list->viewport()->mapToGlobal(pos),
                              Qt::NoModifier);
      QApplication::sendEvent(list->viewport(), &event);
      if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
    };
    files->selectName("Wave.8bf");
    contextMenuOn("notes.txt");
    QCOMPARE(files->selectedFiles(), QStringList{"notes.txt"});
    files->selectAll();
    contextMenuOn("Fade.prm");
    QCOMPARE(files->selectedFiles().size(), 8);
  }

  // Details: the name column is as wide as the longest name while the pane has room, else
  // what the pane leaves beside size and date, the name cut in the middle and whole in its
  // tooltip.
  void detailsNamesTakeTheRoomTheyNeed() {
    const QString longName = "FilterFoundry-version-1.7.0.2-with-a-long-name.8bf";
    test::writeFile(*folder_ / longName.toStdString(), "x");
    left()->refresh();
    w_->window->setFileViewMode(3);
    QTreeView* details = left()->fileView()->detailsView();
    w_->window->resize(1000, 600);
    details->resize(900, 300);
    QApplication::processEvents();
    const int wide = details->columnWidth(0);
    QVERIFY(wide > details->fontMetrics().horizontalAdvance(longName));
    QVERIFY(wide + details->columnWidth(1) + details->columnWidth(2) <
            details->viewport()->width());  // no wider than the longest name
    details->resize(260, 300);
    QApplication::processEvents();
    const int room =
        details->viewport()->width() - details->columnWidth(1) - details->columnWidth(2);
    QVERIFY2(details->columnWidth(0) <= std::max(room, 40), qPrintable(QString::number(room)));
    QCOMPARE(details->textElideMode(), Qt::ElideMiddle);
    QModelIndex name =
        details->model()->match(details->model()->index(0, 0), Qt::DisplayRole, longName)[0];
    QCOMPARE(name.data(Qt::ToolTipRole).toString(), longName);
  }

  // Escape during a scan: the pane says how far it got, and the next visit scans again.
  void aStoppedScanSaysSoAndIsNotReused() {
    gui::QtProgress& progress = w_->window->progress();
    auto stop = connect(
        &progress, &gui::QtProgress::percentChanged, &progress, [&progress] { progress.cancel(); },
        Qt::DirectConnection);
    showPlugins(plugins());
    disconnect(stop);
    QVERIFY2(QRegularExpression("^Scan stopped: [0-3] of 4 files$")
                 .match(view()->statusLabel()->text())
                 .hasMatch(),
             qPrintable(view()->statusLabel()->text()));
    QVERIFY(!view()->catalogue().upToDate(plugins()));
    w_->window->showView(gui::View::File);
    w_->window->showView(gui::View::Plugin);
    QTRY_VERIFY_WITH_TIMEOUT(!view()->busy(), 20000);
    QCOMPARE(view()->catalogue().rowCount(), std::size_t{3});
    QCOMPARE(view()->statusLabel()->text(), QString::fromStdString(plugins().string() + "/"));
  }

  // Synchronizing from the right pane moves both there; without the folder box the file list
  // shows the folders, and opening one moves the pane.
  void synchronizeAndTheHiddenFolderBox() {
    gui::Pane* right = w_->window->pane(1);
    right->setFolder(plugins());
    left()->setFolder("/");
    right->syncButton()->click();
    QCOMPARE(w_->window->activePane(), 1);
    QCOMPARE(left()->folder(), plugins());
    QCOMPARE(right->folder(), plugins());
    QCOMPARE(fs::path(QDir::currentPath().toStdString()), plugins());

    left()->setFolder(folder_->path());
    left()->folderBoxButton()->click();
    QVERIFY(!left()->folderBoxShown());
    QVERIFY(!left()->folderList()->isVisibleTo(left()));
    QCOMPARE(names(*left()->fileView()).mid(0, 2), (QStringList{" ..", "plugins"}));
    left()->fileView()->selectName("plugins");
    QTest::keyClick(left()->fileView()->activeView(), Qt::Key_Return);
    QCOMPARE(left()->folder(), plugins());
    left()->folderBoxButton()->click();
    QVERIFY(!names(*left()->fileView()).contains(" .."));
  }

  void fflViewListsEntriesWithPositions() {
    const std::string one = test::fflEntry("One.8bf", "Soft One");
    std::string two = test::fflEntry("Two.8bf", "Soft Two");
    two.replace(two.find("Ann"), 3, "B\xE9la");            // Windows-1252
    const std::uint64_t starts[] = {11, 11 + one.size()};  // after "FFL1.0\r\n2\r\n"
    test::writeFile(*folder_ / "Lib.ffl", test::fflLibrary({one, two}));
    left()->refresh();
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
    // Deleting an entry names it and takes it out of the list.
    list->topLevelItem(0)->setSelected(true);
    QString question;
    test::whenModal({}, [&question](QWidget* box) {
      question = qobject_cast<QMessageBox*>(box)->text();
      qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click();
    });
    w_->window->menus().action("mnuDelete")->trigger();
    QCOMPARE(question, "Delete the entry \"Soft One\" from " +
                           QString::fromStdString((*folder_ / "Lib.ffl").string()) + "?");
    QCOMPARE(list->topLevelItemCount(), 1);
    QCOMPARE(list->topLevelItem(0)->text(1), QString("Soft Two"));
  }

  // The menu follows the selection; a button runs its command even while the entry is greyed.
  void commandAvailabilityFollowsTheSelection() {
    gui::MainWindow& m = *w_->window;
    struct Case {
      const char* file;
      std::vector<const char*> on, off;
    };
    // clang-format off
    const Case cases[] = {
        {"notes.txt", {"mnuConvert", "mnuListtoFile"},
         {"mnuEnable", "mnuChangeCat", "mnuInvoke", "mnuPluginAbout"}},
        // Change Category only in the Plugin View; About follows flag D with Execute Plugin.
        {"Wave.8bf", {"mnuConvert", "mnuEnable", "mnuInvoke", "mnuPluginAbout"}, {"mnuChangeCat"}},
        {"empty.zip", {}, {"mnuConvert"}}};
    // clang-format on
    for (const Case& c : cases) {
      QVERIFY(left()->fileView()->selectName(c.file));
      m.updateCommandAvailability();
      for (const char* name : c.on) QVERIFY2(m.menus().action(name)->isEnabled(), name);
      for (const char* name : c.off) QVERIFY2(!m.menus().action(name)->isEnabled(), name);
    }
    left()->fileView()->activeView()->clearSelection();
    test::MessageCatcher messages;
    m.findChild<QPushButton*>("convertButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(messages.texts, QStringList{"Please select one or more files."},
                              20000);
    emit m.menus().menu("mnuCommands")->aboutToHide();
    QVERIFY(m.menus().action("mnuConvert")->isEnabled());
  }

  void namesGetTheirWidthUpToALimit() {
    const QString longest = QString(90, 'x') + ".8bf";
    test::TempFolder folder;
    for (const QString& name : {QString("a.8bf"), QString("thing.xyz.something.8bf"), longest})
      test::writeFile(folder / name.toStdString(), "1");
    w_->window->resize(1200, 800);
    for (auto mode : {FileViewMode::LargeIcons, FileViewMode::SmallIcons, FileViewMode::List}) {
      // The left pane comes from a folder of short names; sizes must not stick to the old list.
      left()->setFolder(folder_->path());
      left()->setFileViewMode(mode);
      left()->fileView()->iconView()->doItemsLayout();
      std::vector<int> widths[2];
      for (int pane = 0; pane < 2; ++pane) {
        w_->window->pane(pane)->setFileViewMode(mode);
        w_->window->pane(pane)->setFolder(folder.path());
        QListView* view = w_->window->pane(pane)->fileView()->iconView();
        view->doItemsLayout();
        for (int row = 0; row < view->model()->rowCount(); ++row) {
          QModelIndex index = view->model()->index(row, 0);
          QString name = index.data().toString();
          QCOMPARE(index.data(Qt::ToolTipRole).toString(), name);
          const int width = view->visualRect(index).width();
          const int needed = view->fontMetrics().horizontalAdvance(name);
          QVERIFY2(name == longest ? width < needed && width <= 300 : width >= needed,
                   qPrintable(name + " " + QString::number(width)));
          widths[pane].push_back(width);
        }
      }
      QCOMPARE(widths[0], widths[1]);
    }
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
    QCOMPARE(test::readFile(target / "Wave.8bf"), std::string("12345"));
    QCOMPARE(w_->window->activePane(), 0);
    QCOMPARE(left()->selectedPaths(), std::vector{*folder_ / "Wave.8bf"});
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
    QCOMPARE(gui::typeLabel(txt, w_->context.typeTable, w_->context.ffOptions),
             QMimeDatabase().mimeTypeForFile(QString::fromStdString(txt.string())).comment());
  }

  void killNamesTheFileAndEnterAnswersNo() {
    QVERIFY(left()->fileView()->selectName("notes.txt"));
    QString text;
    bool defaultIsNo = false;
    test::whenModal({}, [&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      text = box->text();
      defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
      QTest::keyClick(box, Qt::Key_Return);
    });
    w_->window->menus().action("mnuKill")->trigger();
    QVERIFY2(text.startsWith(QString::fromStdString((*folder_ / "notes.txt").string()) + " will"),
             qPrintable(text));
    QVERIFY(defaultIsNo);
    QVERIFY(fs::exists(*folder_ / "notes.txt"));
  }

  void pluginViewCategoriesPrefixesAndPhotoshopModes() {
    showPlugins(plugins());
    QCOMPARE(rowTexts(view()->categoryList()->model()), (QStringList{"Blur", "Distort"}));
    selectOnly(view()->categoryList(), "Distort");
    QCOMPARE(rowTexts(view()->filterList()->model()), (QStringList{"+ Wave", "- Old Wave"}));
    view()->oldModeBox()->setChecked(true);
    QCOMPARE(rowTexts(view()->filterList()->model()), QStringList{"+ Wave"});
    selectOnly(view()->categoryList(), "Blur");
    // The built-in filters join the plugin's (their list is the catalogue tests' job).
    QStringList blur = rowTexts(view()->filterList()->model());
    QVERIFY(blur.size() == 5 && blur.contains("Gaussian Blur...") && blur.contains("+ Soft Focus"));

    selectOnly(view()->filterList(), "Gaussian Blur...");
    QCOMPARE(view()->statusLabel()->text(), QString(">>> This filter is built into Photoshop.exe"));
    view()->statusLabel()->resize(3000, 20);
    selectOnly(view()->filterList(), "+ Soft Focus");
    auto size = fs::file_size(plugins() / "Soft.8bf");
    QCOMPARE(view()->statusLabel()->text(),
             QString::fromStdString((plugins() / "Soft.8bf").string()) +
                 QString(" (%1 K)").arg(size / 1024));
    QCOMPARE(view()->selectedRows().size(), std::size_t{1});
    QCOMPARE(view()->catalogue().row(view()->selectedRows()[0]).title, std::string("Soft Focus"));
  }

  void pluginViewScansOnlyWhenTheFolderChanges() {
    test::TempFolder empty;
    showPlugins(empty.path());
    QVERIFY(view()->noticeLabel()->isVisible());
    QCOMPARE(view()->noticeLabel()->text(),
             QString("No plugins or other supported files were found in the current "
                     "folder. Please select another folder and try again."));
    QVERIFY(!view()->catalogue().upToDate(empty.path()));

    showPlugins(plugins());
    QSignalSpy scans(view(), &gui::PluginView::scanStarted);
    w_->window->showView(gui::View::File);
    showPlugins(plugins());
    QCOMPARE(scans.count(), 0);
    w_->window->refresh();  // Refresh always reads the folder again
    QTRY_VERIFY_WITH_TIMEOUT(!view()->busy(), 20000);
    QCOMPARE(scans.count(), 1);
    // A folder change in the Plugin View scans the new folder, also one made during a scan.
    test::TempFolder other;
    test::writeFile(other / "Tile.8bf", test::piplPlugin({{"Stylize", "Tiles"}}));
    left()->setFolder(other.path());
    left()->setFolder(plugins());
    left()->setFolder(other.path());
    QTRY_VERIFY_WITH_TIMEOUT(!view()->busy() && view()->catalogue().folder() == other.path(),
                             20000);
    QCOMPARE(rowTexts(view()->categoryList()->model()), QStringList{"Stylize"});
  }

  void modesColumnsSearchBoxAndDuplicates() {
    test::PeImage image;
    image.resources.push_back(
        {"PIPL",
         0,
         {test::piplData({"Glow", "Light", false, 0},
                         {test::Bytes{0x58, 0},
                          "PSHOP_ImageMode == RGBMode || PSHOP_ImageMode == GrayScaleMode",
                          {"68xw", "4668"}})}});
    test::writeFile(plugins() / "Glow.8bf", test::asString(test::buildPe(image).bytes));
    fs::copy_file(plugins() / "Soft.8bf", plugins() / "Soft copy.8bf");
    showPlugins(plugins());
    selectOnly(view()->categoryList(), "Light");
    const QAbstractItemModel* entries = view()->filterList()->model();
    QCOMPARE(entries->index(0, 0).data().toString(), QString("+ Glow"));
    QCOMPARE(entries->index(0, 1).data().toString(), QString("RGB, Grey"));
    QCOMPARE(entries->index(0, 2).data().toString(), QString("both"));
    QCOMPARE(entries->index(0, 0).data(Qt::ToolTipRole).toString(),
             QString("Needs an RGB or Grey image; not 16-bit"));
    // In a narrow pane the filter's name keeps half the room.
    gui::FilterList* filters = view()->filterList();
    filters->resize(320, 200);
    QVERIFY(filters->header()->sectionSize(0) >= filters->viewport()->width() / 2 - 1);

    // The search box lists matches in place of the views; Escape puts the views back.
    w_->context.options.scanSubDirs = true;
    left()->setFolder(folder_->path());
    gui::SearchPanel* search = left()->searchPanel();
    QTest::keyClicks(search->searchBox(), "WÄVE");
    search->waitForIndex();
    // The folder's own "Wave.8bf" is no plugin: it is found by its file name.
    QCOMPARE(rowTexts(search->results()), (QStringList{"Wave.8bf", "Old Wave", "Wave"}));
    QVERIFY(search->resultsView()->isVisible() && !left()->tabs()->isVisible());
    QTest::keyClick(search->searchBox(), Qt::Key_Escape);
    QVERIFY(search->searchBox()->text().isEmpty());
    QVERIFY(!search->resultsView()->isVisible() && left()->tabs()->isVisible());
    // A result opens its folder in the pane.
    QTest::keyClicks(search->searchBox(), "soft focus");
    search->waitForIndex();
    QCOMPARE(search->results()->rowCount(), 2);
    emit search->resultsView()->activated(search->results()->index(0, 0));
    QCOMPARE(left()->folder(), plugins());
    QVERIFY(search->searchBox()->text().isEmpty());

    w_->window->menus().action("mnuShowDuplicates")->trigger();
    auto* duplicates = w_->window->findChild<gui::DuplicatesWindow*>();
    QVERIFY(duplicates);
    duplicates->waitForGroups();
    const QTreeWidget* groups = duplicates->groupsView();
    QCOMPARE(groups->topLevelItemCount(), 1);
    QCOMPARE(groups->topLevelItem(0)->text(0), QString("Blur: Soft Focus"));
    QCOMPARE(groups->topLevelItem(0)->text(1), QString("2 files, identical bytes"));
    duplicates->close();
  }

  // Not plugins a reader knows: the Plugin View files them under their own names.
  void cyrillicNamesKeepTheirOrder() {
    test::TempFolder folder;
    for (const char* name : {"Zeta.8bf", "Верстка.8bf", "apple.8bf", "Набор.atn", "bad\xFF.txt"})
      test::writeFile(folder / name, "junk");
    left()->setFolder(folder.path());
    left()->fileView()->selectAll();
    QCOMPARE(left()->fileView()->selectedFiles(),
             (QStringList{"apple.8bf", "bad\uFFFD.txt", "Zeta.8bf", "Верстка.8bf", "Набор.atn"}));
    // Shown with U+FFFD, acted on by its real bytes.
    QCOMPARE(left()->selectedPaths().at(1), folder / "bad\xFF.txt");
    showPlugins(folder.path());
    QCOMPARE(rowTexts(view()->categoryList()->model()),
             (QStringList{"[Photoshop Action]", "[Unknown]"}));
    view()->categoryList()->selectAll();
    QCOMPARE(rowTexts(view()->filterList()->model()),
             (QStringList{"+ apple.8bf", "+ Zeta.8bf", "+ Верстка.8bf", "+ Набор"}));
  }

  // The refusals' texts are the engine's; here the lists stay as they were.
  void refusedChangeCategoryKeepsTheLists() {
    for (QString typed : {QString("[Other Plugins]"), QString(40, 'x')}) {
      showPlugins(plugins());
      selectOnly(view()->categoryList(), "Distort");
      selectOnly(view()->filterList(), "+ Wave");
      const QStringList categories = rowTexts(view()->categoryList()->model());
      const QStringList filters = rowTexts(view()->filterList()->model());
      test::MessageCatcher messages;
      test::whenModal("Choose or enter a new category",
                      [typed](QWidget* d) { test::typeIntoCombo(d, typed); });
      w_->window->menus().action("mnuChangeCat")->trigger();
      QCOMPARE(messages.texts.size(), 1);
      QCOMPARE(rowTexts(view()->categoryList()->model()), categories);
      QCOMPARE(view()->selectedCategories(), std::vector<std::string>{"Distort"});
      QCOMPARE(rowTexts(view()->filterList()->model()), filters);
    }
  }

  // The clipboard converts even from the FFL View, and the option is cleared afterwards; without
  // it the chosen entries of the library convert. Each run ends with what it did.
  void fflViewConvertsTheClipboardAndTheChosenEntries() {
    showSources(gui::View::Ffl);
    w_->context.options.passivePaneFolder = true;  // no Select Folder dialog
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(test::txtSource("From Clipboard", "clip.txt")));
    test::MessageCatcher messages;
    convertTo("AFS File", true);
    w_->window->findChild<QPushButton*>("convertButton")->click();
    QVERIFY(fs::exists(out() / "clip.afs"));
    QVERIFY(!w_->window->windowCommands().runner.convertDialog().choice().useClipboard);

    test::writeFile(sources() / "Lib.ffl",
                    test::fflLibrary({test::fflEntry("One.8bf", "Soft One"),
                                      test::fflEntry("Two.8bf", "Soft Two")}));
    left()->fflView()->showLibrary(sources() / "Lib.ffl");
    left()->fflView()->list()->topLevelItem(1)->setSelected(true);
    convertTo("Text File");
    w_->window->findChild<QPushButton*>("convertButton")->click();
    QVERIFY(fs::exists(out() / "Two.txt") && !fs::exists(out() / "One.txt"));
    QCOMPARE(messages.texts, (QStringList{"1 file written.", "1 file written."}));
  }

  // A disabled entry gets its prefix and its file's new name; in Old Photoshop Mode it goes.
  void enableDisableUpdatesTheEntries() {
    showPlugins(plugins());
    selectOnly(view()->categoryList(), "Distort");
    selectOnly(view()->filterList(), "+ Wave");
    w_->window->menus().action("mnuEnable")->trigger();
    QCOMPARE(rowTexts(view()->filterList()->model()), (QStringList{"- Wave", "- Old Wave"}));
    QVERIFY(view()->statusLabel()->text().contains("Wave._bf"));
    selectOnly(view()->filterList(), "- Wave");
    w_->window->menus().action("mnuEnable")->trigger();
    view()->oldModeBox()->setChecked(true);
    selectOnly(view()->filterList(), "+ Wave");
    w_->window->menus().action("mnuEnable")->trigger();
    QCOMPARE(view()->filterList()->count(), 0);
  }

  // Blur's entries dropped on Noise change their category; all dropped on the other pane move
  // there and leave the lists.
  void dropOnACategoryAndOnTheOtherPane() {
    showSources(gui::View::Plugin);
    selectOnly(view()->categoryList(), "Blur");
    QCOMPARE(view()->filterList()->count(), 2);
    view()->filterList()->selectAll();
    auto* categories = view()->categoryList();
    auto* noise = categories->findItems("Noise", Qt::MatchExactly).value(0);
    QVERIFY(
        dragAndDrop(view()->filterList(), categories, categories->visualItemRect(noise).center()));
    for (const char* moved : {"blur.afs", "soft.afs"})
      QVERIFY(test::readFile(sources() / moved).find("Noise") != std::string::npos);
    QCOMPARE(view()->selectedCategories(), std::vector<std::string>{"Noise"});
    QCOMPARE(view()->filterList()->count(), 3);

    view()->filterList()->selectAll();
    QString offered;
    acceptSelectFolder(&offered);
    QAbstractItemView* target = w_->window->pane(1)->fileView()->activeView();
    QVERIFY(dragAndDrop(view()->filterList(), target, QPoint(5, 5)));
    QCOMPARE(fs::path(offered.toStdString()), out() / "");
    for (const char* name : {"blur.afs", "soft.afs", "grain.afs"})
      QVERIFY(fs::exists(out() / name) && !fs::exists(sources() / name));
    view()->waitForScan();
    QCOMPARE(view()->categoryList()->count(), 0);
  }

  // While the destination is asked, the user tries another command and presses Escape: the
  // other command does not start and nothing is written. Then three sources into the other
  // pane's folder; the last one's text file exists already, so the run stops at the Overwrite
  // question with its count in the status line.
  void convertIntoTheOtherPane() {
    showSources(gui::View::File);
    test::MessageCatcher messages;
    QVERIFY(left()->fileView()->selectName("blur.afs"));
    convertTo("AFS File");
    test::whenModal("Select Folder", [this](QWidget* d) {
      w_->context.options.passivePaneFolder = true;  // a copy that started would ask nothing
      w_->window->windowCommands().runner.copyFiles();
      w_->context.options.passivePaneFolder = false;
      w_->window->progress().cancel();
      d->findChild<QPushButton*>("Command2")->click();
    });
    w_->window->findChild<QPushButton*>("convertButton")->click();
    QVERIFY(!fs::exists(out() / "blur.afs"));
    QVERIFY(!w_->window->busy());

    test::writeFile(out() / "soft.txt", "old");
    w_->window->pane(1)->refresh();
    left()->fileView()->selectAll();
    convertTo("Text File");
    QString offered;
    acceptSelectFolder(&offered);
    QString statusAtQuestion;
    test::whenModal("Overwrite?", [&](QWidget* d) {
      statusAtQuestion = w_->window->statusText()->text();
      d->findChild<QPushButton*>("overwriteButton")->click();
    });
    w_->window->findChild<QPushButton*>("convertButton")->click();
    QCOMPARE(fs::path(offered.toStdString()), out() / "");
    QVERIFY2(statusAtQuestion.startsWith(" 2 of  3") && statusAtQuestion.endsWith(" sec."),
             qPrintable(statusAtQuestion));
    QVERIFY(test::readFile(out() / "soft.txt") != "old");
    QVERIFY(w_->window->pane(1)->fileView()->selectName("blur.txt"));
    QVERIFY(w_->window->pane(1)->fileView()->selectName("grain.txt"));
    QVERIFY(w_->window->statusText()->text().isEmpty());

    // What was not written is named with its reason, each once though both architectures
    // met it; a stop says where.
    test::writeFile(sources() / "junk.afs", "no source");
    test::writeFile(sources() / "long.afs",
                    test::afsSource("A filter title far too long for the title field"));
    for (const char* name : {"photo30.dll", "photo64.dll"})
      fs::copy_file(fs::path(QM_DATA_DIR) / name, w_->programDir / name);
    left()->refresh();
    left()->fileView()->selectAll();
    w_->context.options.passivePaneFolder = true;
    test::whenModal("Convert", [](QWidget* d) {
      auto* combo = d->findChild<QComboBox*>("Combo1");
      combo->setCurrentIndex(combo->findText("Photoshop FF Plugin"));
      auto* arch = d->findChild<QComboBox*>("Architecture");
      arch->setCurrentIndex(arch->count() - 1);  // both
      d->findChild<QPushButton*>("Command1")->click();
    });
    test::whenModal("Overwrite?",
                    [](QWidget* d) { d->findChild<QPushButton*>("ignoreAllButton")->click(); });
    test::writeFile(out() / "blur.8bf", "old");
    w_->window->findChild<QPushButton*>("convertButton")->click();
    QCOMPARE(messages.texts.size(), 3);
    QCOMPARE(messages.texts.at(0), QString("No file written.\n\nStopped after 0 of 1 file."));
    QCOMPARE(messages.texts.at(1), QString("3 files written."));
    auto src = [this](const char* name) {
      return QString::fromStdString((sources() / name).string());
    };
    QCOMPARE(messages.texts.last(),
             "7 files written.\n\nSkipped:\n" + src("blur.afs") +
                 ": the existing file was kept\n\nNot read:\n" + src("junk.afs") +
                 ": not a Filter Factory file\n\nWarnings:\n" + src("long.afs") +
                 ": the title has 47 characters; a plugin holds 34, the rest was left out");
  }

  // The list file goes through the Overwrite question, and one of the listed files is never
  // its target, whatever the answer would be.
  void pluginListAsksBeforeReplacingAndNeverWritesOverItsInput() {
    showSources(gui::View::File);
    QVERIFY(left()->fileView()->selectName("blur.afs"));
    const std::string soft = test::readFile(sources() / "soft.afs");
    const std::string blur = test::readFile(sources() / "blur.afs");
    for (const char* name : {"soft.afs", "blur.afs"}) {
      test::MessageCatcher messages;
      test::whenModal("Plugin List", [name](QWidget* d) {
        d->findChild<QLineEdit*>("fileNameEdit")->setText(name);
        d->findChild<QPushButton*>("startButton")->click();
      });
      test::whenModal("Select Folder", [this](QWidget* d) {
        d->findChild<QComboBox*>("Combo1")->setEditText(QString::fromStdString(sources().string()));
        d->findChild<QPushButton*>("Command2")->click();
      });
      const bool exists = std::string_view(name) == "soft.afs";
      QString asked;
      if (exists)
        test::whenModal("Overwrite?", [&asked](QWidget* d) {
          asked = d->findChild<QLabel*>("destinationLine")->text();
          d->findChild<QPushButton*>("ignoreButton")->click();
        });
      w_->window->menus().action("mnuListtoFile")->trigger();
      if (exists) {
        QVERIFY2(asked.contains("soft.afs"), qPrintable(asked));
        QVERIFY(messages.texts.isEmpty());
      } else {
        QCOMPARE(messages.texts,
                 QStringList{QString::fromStdString((sources() / "blur.afs").string() +
                                                    ": would replace its own input")});
      }
    }
    QCOMPARE(test::readFile(sources() / "soft.afs"), soft);
    QCOMPARE(test::readFile(sources() / "blur.afs"), blur);
  }

 private:
  fs::path plugins() const { return *folder_ / "plugins"; }
  fs::path sources() const { return *folder_ / "sources"; }
  fs::path out() const { return *folder_ / "out"; }
  gui::Pane* left() { return w_->window->pane(0); }
  gui::PluginView* view() { return left()->pluginView(); }

  // The left pane, active, on folder in the Plugin View, its scan done.
  void showPlugins(const fs::path& folder) {
    left()->setFolder(folder);
    w_->window->showView(gui::View::Plugin);
    QTRY_VERIFY_WITH_TIMEOUT(!view()->busy(), 20000);
  }

  // Three sources, two in "Blur", one in "Noise", in the active left pane; the right one empty.
  void showSources(gui::View shown) {
    for (auto [title, category] :
         {std::pair{"blur", "Blur"}, {"soft", "Blur"}, {"grain", "Noise"}}) {
      std::string afs = test::afsSource(title);
      test::writeFile(sources() / (title + std::string(".afs")),
                      afs.replace(afs.find("Tests"), 5, category));
    }
    fs::create_directories(out());
    w_->context.options.includeSources = true;
    w_->window->pane(1)->setFolder(out());
    w_->window->setActivePane(0);
    left()->setFolder(sources());
    w_->window->showView(shown);
    view()->waitForScan();
  }

  std::unique_ptr<test::TempFolder> folder_;
  std::unique_ptr<test::StartedWindow> w_;
};

QTEST_MAIN(PanesTest)
#include "panes_test.moc"
