// The Plugin View over a generated folder: categories, prefixes, Photoshop modes, status
// texts, rescans, the empty-folder message, names outside Windows-1252, and a refused Change
// Category that leaves the lists as they were.

#include "gui/main/plugin_view.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "gui/main/file_view.h"
#include "gui/main/plugin_lists.h"
#include "gui/modal.h"
#include "support/pe_builder.h"
#include "window_fixture.h"

using namespace qm;

namespace {

QStringList texts(const QListWidget* list, bool selectedOnly = false) {
  QStringList all;
  for (int i = 0; i < list->count(); ++i)
    if (!selectedOnly || list->item(i)->isSelected()) all << list->item(i)->text();
  return all;
}

void selectOnly(QListWidget* list, const QString& text) {
  list->clearSelection();
  auto found = list->findItems(text, Qt::MatchExactly);
  QVERIFY(!found.isEmpty());
  list->setCurrentItem(found.first(), QItemSelectionModel::ClearAndSelect);
}

}  // namespace

class PluginViewTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    folder_ = std::make_unique<test::TempFolder>();
    test::writeFile(*folder_ / "Soft.8bf", test::piplPlugin({{"Blur", "Soft Focus"}}));
    test::writeFile(*folder_ / "Wave.8bf", test::piplPlugin({{"Distort", "Wave"}}));
    test::writeFile(*folder_ / "Old._bf", test::piplPlugin({{"Distort", "Old Wave"}}));
    test::writeFile(*folder_ / "readme.doc", "words");
    w_ = std::make_unique<test::StartedWindow>();
    w_->start(folder_->path());
  }
  void cleanup() {
    w_->close();
    w_.reset();
    folder_.reset();
  }

  void categoriesPrefixesAndPhotoshopModes() {
    enterPluginView();
    QCOMPARE(view()->oldModeBox()->text(), QString("Old Photoshop  Mode"));
    QCOMPARE(w_->window->pane(1)->pluginView()->newModeBox()->text(), QString("Photoshop 6 Mode"));
    QCOMPARE(texts(view()->categoryList()), (QStringList{"Blur", "Distort"}));
    selectOnly(view()->categoryList(), "Distort");
    QCOMPARE(texts(view()->filterList()), (QStringList{"+ Wave", "- Old Wave"}));
    view()->oldModeBox()->setChecked(true);
    QCOMPARE(texts(view()->filterList()), QStringList{"+ Wave"});
    selectOnly(view()->categoryList(), "Blur");
    // The built-in filters join the plugin's (their list is the catalogue tests' job).
    QStringList blur = texts(view()->filterList());
    QVERIFY(blur.size() == 5 && blur.contains("Gaussian Blur...") && blur.contains("+ Soft Focus"));

    selectOnly(view()->filterList(), "Gaussian Blur...");
    QCOMPARE(view()->statusLabel()->text(), QString(">>> This filter is built into Photoshop.exe"));
    view()->statusLabel()->resize(3000, 20);
    selectOnly(view()->filterList(), "+ Soft Focus");
    auto size = std::filesystem::file_size(*folder_ / "Soft.8bf");
    QCOMPARE(view()->statusLabel()->text(),
             QString::fromStdString((*folder_ / "Soft.8bf").string()) +
                 QString(" (%1 K)").arg(size / 1024));
    auto rows = view()->selectedRows();
    QCOMPARE(rows.size(), std::size_t{1});
    QCOMPARE(view()->catalogue().row(rows.front()).title, std::string("Soft Focus"));
  }

  void switchingBackDoesNotRescan() {
    QSignalSpy scans(view(), &gui::PluginView::scanStarted);
    enterPluginView();
    w_->window->showView(gui::View::File);
    enterPluginView();
    QCOMPARE(scans.count(), 1);
    w_->window->refresh();  // Refresh always reads the folder again
    QTRY_VERIFY_WITH_TIMEOUT(!view()->busy(), 20000);
    QCOMPARE(scans.count(), 2);
    // A folder change in the Plugin View scans the new folder, also one made during a scan.
    test::TempFolder other;
    test::writeFile(other / "Tile.8bf", test::piplPlugin({{"Stylize", "Tiles"}}));
    w_->window->pane(0)->setFolder(other.path());
    w_->window->pane(0)->setFolder(folder_->path());
    w_->window->pane(0)->setFolder(other.path());
    QTRY_VERIFY_WITH_TIMEOUT(!view()->busy() && view()->catalogue().folder() == other.path(),
                             20000);
    QCOMPARE(texts(view()->categoryList()), QStringList{"Stylize"});
  }

  void emptyFolderShowsTheMessage() {
    test::TempFolder empty;
    w_->window->pane(0)->setFolder(empty.path());
    enterPluginView();
    QVERIFY(view()->noticeLabel()->isVisible());
    QCOMPARE(view()->noticeLabel()->text(),
             QString("No plugins or other supported files were found in the current "
                     "folder. Please select another folder and try again."));
    QVERIFY(!view()->catalogue().upToDate(empty.path()));
  }

  // Not plugins a reader knows: the Plugin View files them under their own names.
  void cyrillicNamesKeepTheirOrder() {
    test::TempFolder folder;
    for (const char* name : {"Zeta.8bf", "Верстка.8bf", "apple.8bf", "Набор.atn", "bad\xFF.txt"})
      test::writeFile(folder / name, "junk");
    gui::Pane* pane = w_->window->pane(0);
    pane->setFolder(folder.path());
    gui::FileView* files = pane->fileView();
    files->selectAll();
    QCOMPARE(files->selectedFiles(),
             (QStringList{"apple.8bf", "bad\uFFFD.txt", "Zeta.8bf", "Верстка.8bf", "Набор.atn"}));
    // Shown with U+FFFD, acted on by its real bytes.
    QCOMPARE(pane->selectedPaths().at(1), folder / "bad\xFF.txt");
    enterPluginView();
    QCOMPARE(texts(view()->categoryList()), (QStringList{"[Photoshop Action]", "[Unknown]"}));
    view()->categoryList()->selectAll();
    QCOMPARE(texts(view()->filterList()),
             (QStringList{"+ apple.8bf", "+ Zeta.8bf", "+ Верстка.8bf", "+ Набор"}));
  }

  void refusedChangeCategoryKeepsTheLists_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("virtual") << "[Other Plugins]"
                             << "[Other Plugins] is only a virtual category!\nMoving plugins to "
                                "this category isn't possible.";
    QTest::newRow("nothing moved")
        << QString(40, 'x') << "Changing the category didn't work for 1 plugin(s).";
  }
  void refusedChangeCategoryKeepsTheLists() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    enterPluginView();
    selectOnly(view()->categoryList(), "Distort");
    selectOnly(view()->filterList(), "+ Wave");
    const QStringList categories = texts(view()->categoryList());
    const QStringList filters = texts(view()->filterList());
    test::MessageCatcher messages;
    test::whenModal("Choose or enter a new category", [typed](QWidget* d) {
      auto* combo = d->findChild<QComboBox*>("Combo1");
      combo->setEditText(typed);
      QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    });
    w_->window->menus().action("mnuChangeCat")->trigger();
    // The refusal may name the files after the message itself.
    QCOMPARE(messages.texts.size(), 1);
    QVERIFY2(messages.texts[0].startsWith(message), qPrintable(messages.texts[0]));
    QCOMPARE(texts(view()->categoryList()), categories);
    QCOMPARE(texts(view()->categoryList(), true), QStringList{"Distort"});
    QCOMPARE(texts(view()->filterList()), filters);
  }

 private:
  void enterPluginView() {
    w_->window->showView(gui::View::Plugin);
    QTRY_VERIFY_WITH_TIMEOUT(!view()->busy(), 20000);
  }
  gui::PluginView* view() { return w_->window->pane(0)->pluginView(); }
  std::unique_ptr<test::TempFolder> folder_;
  std::unique_ptr<test::StartedWindow> w_;
};

QTEST_MAIN(PluginViewTest)
#include "plugin_view_test.moc"
