// File names outside Windows-1252 reach the File View and the Plugin View intact and in the
// order of every list.

#include <QtTest>

#include "gui/main/file_view.h"
#include "gui/main/plugin_lists.h"
#include "gui/main/plugin_view.h"
#include "window_fixture.h"

using namespace qm;

namespace {

QStringList texts(const QListWidget* list) {
  QStringList all;
  for (int i = 0; i < list->count(); ++i) all << list->item(i)->text();
  return all;
}

}  // namespace

class UnicodeNamesTest : public QObject {
  Q_OBJECT
 private slots:
  void viewsShowCyrillicNames();
};

void UnicodeNamesTest::viewsShowCyrillicNames() {
  test::TempFolder folder;
  // Not plugins a reader knows: the Plugin View files them under their own names.
  for (const char* name : {"Zeta.8bf", "Верстка.8bf", "apple.8bf", "Набор.atn", "bad\xFF.txt"})
    test::writeFile(folder / name, "junk");
  test::StartedWindow w;
  w.start(folder.path());
  gui::Pane* pane = w.window->pane(0);

  gui::FileView* files = pane->fileView();
  files->selectAll();
  QCOMPARE(files->selectedFiles(),
           (QStringList{"apple.8bf", "bad\uFFFD.txt", "Zeta.8bf", "Верстка.8bf", "Набор.atn"}));
  // Shown with U+FFFD, acted on by its real bytes.
  QCOMPARE(pane->selectedPaths().at(1), folder / "bad\xFF.txt");

  w.window->showView(gui::View::Plugin);
  gui::PluginView* plugins = pane->pluginView();
  QTRY_VERIFY_WITH_TIMEOUT(!plugins->busy(), 20000);
  QCOMPARE(texts(plugins->categoryList()), (QStringList{"[Photoshop Action]", "[Unknown]"}));
  plugins->categoryList()->selectAll();
  QCOMPARE(texts(plugins->filterList()),
           (QStringList{"+ apple.8bf", "+ Zeta.8bf", "+ Верстка.8bf", "+ Набор"}));
  w.close();
}

QTEST_MAIN(UnicodeNamesTest)
#include "unicode_names_test.moc"
