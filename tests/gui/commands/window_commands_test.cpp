// Commands started from the main window: a conversion run into a folder, and filter entries
// dropped on a category and on the other pane.

#include <QComboBox>
#include <QDropEvent>
#include <QPushButton>
#include <QtTest>

#include "command_fixture.h"
#include "core/ff/sources.h"
#include "gui/main/file_view.h"
#include "gui/main/plugin_lists.h"
#include "gui/main/plugin_view.h"
#include "gui/main/window_fixture.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using qm::gui::View;

void writeAfs(const fs::path& folder, const std::string& name, const std::string& category) {
  qm::ff::FFRecord record;
  record.fileName = name;
  record.title = name.substr(0, name.size() - 4);
  record.category = category;
  record.formulas = {"r", "g", "b", "a"};
  qm::ff::Writeafspff(folder, 0, record);
}

std::string categoryOf(const fs::path& afs) {
  qm::ff::FFRecord record;
  return qm::ff::ReadAFS(afs, record, {}) ? record.category : "<unreadable>";
}

// Presses OK in Select Folder once it shows, and keeps the folder it offered first.
void acceptSelectFolder(QString* offered) {
  qm::test::whenModal("Select Folder", [offered](QWidget* d) {
    *offered = d->findChild<QComboBox*>("Combo1")->currentText();
    d->findChild<QPushButton*>("Command2")->click();
  });
}

// Drags the selected entries of from onto the point at of target's viewport.
void dragAndDrop(QListWidget* from, QAbstractItemView* target, QPoint at) {
  std::unique_ptr<QMimeData> data(
      from->model()->mimeData(from->selectionModel()->selectedIndexes()));
  QWidget* viewport = target->viewport();
  QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &enter);
  QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &drop);
}

// A window over temp/left and temp/right, the left pane active in the Plugin View.
struct PluginWindow {
  qm::test::TempFolder temp;
  qm::test::StartedWindow started;
  qm::gui::PluginView* plugins = nullptr;

  explicit PluginWindow(View view) {
    fs::create_directories(temp / "left");
    fs::create_directories(temp / "right");
    writeAfs(temp / "left", "blur.afs", "Blur");
    writeAfs(temp / "left", "soft.afs", "Blur");
    writeAfs(temp / "left", "grain.afs", "Noise");
    started.start(temp / "left");
    started.context.options.includeSources = true;
    window().pane(1)->setFolder(temp / "right");
    window().setActivePane(0);
    window().showView(view);
    plugins = window().pane(0)->pluginView();
    plugins->waitForScan();
  }
  qm::gui::MainWindow& window() { return *started.window; }
  QListWidgetItem* category(const QString& text) {
    auto found = plugins->categoryList()->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
  }
};

}  // namespace

class WindowCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  // Three sources into the right pane's folder; the last one's text file exists already, so
  // the run stops at the Overwrite question with its count in the status line.
  void convertFromTheWindow() {
    PluginWindow w(View::File);
    qm::test::writeFile(w.temp / "right" / "soft.txt", "old");
    w.window().pane(1)->refresh();
    w.window().pane(0)->fileView()->selectAll();
    qm::test::whenModal("Convert", [](QWidget* d) {
      auto* combo = d->findChild<QComboBox*>("Combo1");
      combo->setCurrentIndex(combo->findText("Text File"));
      d->findChild<QPushButton*>("Command1")->click();
    });
    QString offered;
    acceptSelectFolder(&offered);
    QString statusAtQuestion;
    qm::test::whenModal("Overwrite?", [&](QWidget* d) {
      statusAtQuestion = w.window().statusText()->text();
      d->findChild<QPushButton*>("overwriteButton")->click();
    });
    w.window().findChild<QPushButton*>("convertButton")->click();

    QCOMPARE(fs::path(offered.toStdString()), w.temp / "right" / "");
    QVERIFY2(statusAtQuestion.startsWith(" 2 of  3") && statusAtQuestion.endsWith(" sec."),
             qPrintable(statusAtQuestion));
    QVERIFY(qm::test::readFile(w.temp / "right" / "soft.txt") != "old");
    QVERIFY(w.window().pane(1)->fileView()->selectName("blur.txt"));
    QVERIFY(w.window().pane(1)->fileView()->selectName("grain.txt"));
    QVERIFY(w.window().statusText()->text().isEmpty());
  }

  void dropOnACategoryChangesIt() {
    PluginWindow w(View::Plugin);
    QVERIFY(w.category("Blur") && w.category("Noise"));
    w.category("Blur")->setSelected(true);
    QCOMPARE(w.plugins->filterList()->count(), 2);
    w.plugins->filterList()->selectAll();
    auto* categories = w.plugins->categoryList();
    dragAndDrop(w.plugins->filterList(), categories,
                categories->visualItemRect(w.category("Noise")).center());

    QCOMPARE(categoryOf(w.temp / "left" / "blur.afs"), std::string("Noise"));
    QCOMPARE(categoryOf(w.temp / "left" / "soft.afs"), std::string("Noise"));
    QCOMPARE(w.plugins->selectedCategories(), std::vector<std::string>{"Noise"});
    QCOMPARE(w.plugins->filterList()->count(), 3);
  }

  void dropOnTheOtherPaneMovesTheFiles() {
    PluginWindow w(View::Plugin);
    w.category("Blur")->setSelected(true);
    w.plugins->filterList()->selectAll();
    QString offered;
    acceptSelectFolder(&offered);
    QAbstractItemView* target = w.window().pane(1)->fileView()->activeView();
    dragAndDrop(w.plugins->filterList(), target, QPoint(5, 5));

    QCOMPARE(fs::path(offered.toStdString()), w.temp / "right" / "");
    QVERIFY(fs::exists(w.temp / "right" / "blur.afs") && fs::exists(w.temp / "right" / "soft.afs"));
    QVERIFY(!fs::exists(w.temp / "left" / "blur.afs"));
    // The source pane loses the entries and scans its folder again.
    w.plugins->waitForScan();
    QVERIFY(w.category("Noise") && !w.category("Blur"));
  }
};

QTEST_MAIN(WindowCommandsTest)
#include "window_commands_test.moc"
