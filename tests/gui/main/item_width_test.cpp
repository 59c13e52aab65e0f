// Items of the icon and list styles are as wide as their names up to a limit, the same in
// both panes; longer names are cut in the middle and shown whole in the tooltip.

#include <QtTest>

#include "gui/main/file_view.h"
#include "window_fixture.h"

using namespace qm;
using settings::FileViewMode;

class ItemWidthTest : public QObject {
  Q_OBJECT
 private slots:
  void namesGetTheirWidthUpToALimit_data();
  void namesGetTheirWidthUpToALimit();
};

void ItemWidthTest::namesGetTheirWidthUpToALimit_data() {
  QTest::addColumn<FileViewMode>("mode");
  QTest::newRow("large icons") << FileViewMode::LargeIcons;
  QTest::newRow("small icons") << FileViewMode::SmallIcons;
  QTest::newRow("list") << FileViewMode::List;
}

void ItemWidthTest::namesGetTheirWidthUpToALimit() {
  QFETCH(FileViewMode, mode);
  const QString longest = QString(90, 'x') + ".8bf";
  test::TempFolder folder;
  for (const QString& name : {QString("a.8bf"), QString("thing.xyz.something.8bf"), longest})
    test::writeFile(folder / name.toStdString(), "1");
  test::StartedWindow w;
  w.start(folder.path());
  w.window->resize(1200, 800);
  // The left pane comes from a folder of short names; sizes must not stick to the old list.
  test::TempFolder shortNames;
  test::writeFile(shortNames / "b.8bf", "1");
  w.window->pane(0)->setFolder(shortNames.path());
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
  w.close();
}

QTEST_MAIN(ItemWidthTest)
#include "item_width_test.moc"
