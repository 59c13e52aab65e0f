// The Plugin View over a generated folder: categories, prefixes, Photoshop modes, status
// texts, the up-to-date flag, the empty-folder message and drag onto a category.

#include "gui/main/plugin_view.h"

#include <QtTest>

#include "gui/main/plugin_lists.h"
#include "support/pe_builder.h"
#include "window_fixture.h"

using namespace qm;

namespace {

std::string plugin(const std::string& category, const std::string& title) {
  return test::piplPlugin({{category, title}});
}

QStringList texts(const QListWidget* list) {
  QStringList all;
  for (int i = 0; i < list->count(); ++i) all << list->item(i)->text();
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
  void init();
  void cleanup();
  void categoriesPrefixesAndPhotoshopModes();
  void switchingBackDoesNotRescan();
  void emptyFolderShowsTheMessage();
  void dropOnACategoryAsksForChangeCategory();

 private:
  void enterPluginView();
  gui::PluginView* view() { return w_->window->pane(0)->pluginView(); }
  std::unique_ptr<test::TempFolder> folder_;
  std::unique_ptr<test::StartedWindow> w_;
};

void PluginViewTest::init() {
  folder_ = std::make_unique<test::TempFolder>();
  test::writeFile(*folder_ / "Soft.8bf", plugin("Blur", "Soft Focus"));
  test::writeFile(*folder_ / "Wave.8bf", plugin("Distort", "Wave"));
  test::writeFile(*folder_ / "Old._bf", plugin("Distort", "Old Wave"));
  test::writeFile(*folder_ / "readme.doc", "words");
  w_ = std::make_unique<test::StartedWindow>();
  w_->start(folder_->path());
}

void PluginViewTest::cleanup() {
  w_->close();
  w_.reset();
  folder_.reset();
}

void PluginViewTest::enterPluginView() {
  w_->window->showView(gui::View::Plugin);
  QTRY_VERIFY_WITH_TIMEOUT(!view()->busy(), 20000);
}

void PluginViewTest::categoriesPrefixesAndPhotoshopModes() {
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
  QCOMPARE(blur.size(), 5);
  QVERIFY(blur.contains("Gaussian Blur...") && blur.contains("+ Soft Focus"));

  selectOnly(view()->filterList(), "Gaussian Blur...");
  QCOMPARE(view()->statusLabel()->text(), QString(">>> This filter is built into Photoshop.exe"));
  view()->statusLabel()->resize(3000, 20);
  selectOnly(view()->filterList(), "+ Soft Focus");
  auto size = std::filesystem::file_size(*folder_ / "Soft.8bf");
  QString expected = QString::fromStdString((*folder_ / "Soft.8bf").string()) +
                     QString(" (%1 K)").arg(size / 1024);
  QCOMPARE(view()->statusLabel()->text(), expected);
  auto rows = view()->selectedRows();
  QCOMPARE(rows.size(), std::size_t{1});
  QCOMPARE(view()->catalogue().row(rows.front()).title, std::string("Soft Focus"));
}

void PluginViewTest::switchingBackDoesNotRescan() {
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
  test::writeFile(other / "Tile.8bf", plugin("Stylize", "Tiles"));
  w_->window->pane(0)->setFolder(other.path());
  w_->window->pane(0)->setFolder(folder_->path());
  w_->window->pane(0)->setFolder(other.path());
  QTRY_VERIFY_WITH_TIMEOUT(!view()->busy() && view()->catalogue().folder() == other.path(), 20000);
  QCOMPARE(texts(view()->categoryList()), QStringList{"Stylize"});
}

void PluginViewTest::emptyFolderShowsTheMessage() {
  test::TempFolder empty;
  w_->window->pane(0)->setFolder(empty.path());
  w_->window->showView(gui::View::Plugin);
  QTRY_VERIFY_WITH_TIMEOUT(!view()->busy(), 20000);
  QVERIFY(view()->noticeLabel()->isVisible());
  QCOMPARE(view()->noticeLabel()->text(),
           QString("No plugins or other supported files were found in the current "
                   "folder. Please select another folder and try again."));
  QVERIFY(!view()->catalogue().upToDate(empty.path()));
}

void PluginViewTest::dropOnACategoryAsksForChangeCategory() {
  std::vector<std::tuple<int, std::string, std::vector<std::size_t>>> calls;
  w_->window->commands().changeCategory = [&](int pane, const std::string& category,
                                              const std::vector<std::size_t>& rows) {
    calls.emplace_back(pane, category, rows);
  };
  w_->window->resize(1000, 700);
  enterPluginView();
  selectOnly(view()->categoryList(), "Distort");
  selectOnly(view()->filterList(), "+ Wave");
  QListWidget* filters = view()->filterList();
  std::unique_ptr<QMimeData> data(
      filters->model()->mimeData(filters->selectionModel()->selectedIndexes()));
  QVERIFY(data);

  QListWidget* categories = view()->categoryList();
  QPoint onBlur = categories->visualItemRect(categories->item(0)).center();
  QDragEnterEvent enter(onBlur, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(categories->viewport(), &enter);
  QVERIFY(enter.isAccepted());
  QDragMoveEvent move(onBlur, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(categories->viewport(), &move);
  QVERIFY(categories->item(0)->isSelected());
  QVERIFY(!categories->item(1)->isSelected());
  QDropEvent drop(onBlur, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(categories->viewport(), &drop);

  QCOMPARE(calls.size(), std::size_t{1});
  auto [pane, category, rows] = calls.front();
  QCOMPARE(pane, 0);
  QCOMPARE(category, std::string("Blur"));
  QCOMPARE(rows.size(), std::size_t{1});
  QCOMPARE(view()->catalogue().row(rows.front()).title, std::string("Wave"));

  // The other pane's category list does not take a Plugin View drag.
  QListWidget* other = w_->window->pane(1)->pluginView()->categoryList();
  QDragMoveEvent across(QPoint(5, 5), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(other->viewport(), &across);
  QVERIFY(!across.isAccepted());
}

QTEST_MAIN(PluginViewTest)
#include "plugin_view_test.moc"
