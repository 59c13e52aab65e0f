// The command runner over a temporary folder and a fake pair of panes (what each command
// writes, says and asks the panes to show), the commands' own dialogs, and commands started
// from the main window: a conversion into a folder, and filter entries dropped on a category
// and on the other pane.

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "command_fixture.h"
#include "core/common/forwarding_prompter.h"
#include "core/ff/sources.h"
#include "core/plugins/change_category.h"
#include "gui/batch/convert_dialog.h"
#include "gui/commands/category_prompter.h"
#include "gui/commands/change_category_dialog.h"
#include "gui/commands/command_runner.h"
#include "gui/commands/plugin_information_box.h"
#include "gui/commands/plugin_list_dialog.h"
#include "gui/main/file_view.h"
#include "gui/main/plugin_lists.h"
#include "gui/main/plugin_view.h"
#include "gui/main/window_fixture.h"
#include "support/ff_plugin_bytes.h"
#include "support/ff_sources.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using qm::gui::View;
using qm::shell::PaneView;

// A runner with its panes on temp/left and temp/right.
struct Rig {
  qm::test::TempFolder temp;
  qm::test::FakeHost host;
  qm::test::ScriptedPrompter prompter;
  qm::gui::QtProgress progress;
  qm::test::RecordingTrash trash;
  qm::plugins::PlugTypeTable table;
  qm::ff::FFOptions ff;
  qm::settings::Options options;
  qm::gui::CommandRunner runner{host, {table, ff, options}, {prompter, progress, trash}, nullptr};

  Rig() {
    for (const char* name : {"left", "right", "program"}) fs::create_directories(temp / name);
    host.panes[0].folder = temp / "left";
    host.panes[1].folder = temp / "right";
    ff.programDir = temp / "program";
  }
  fs::path left(std::string_view name) const { return temp / "left" / name; }
  void chooseFolder(const fs::path& folder) { prompter.folderChoice = qm::FolderChoice{folder}; }
  // The left pane in the Plugin View with a's row, a Filter Factory plugin in "Blur".
  qm::test::FakePane& pluginPane() {
    qm::test::FFPluginFields fields;
    fields.category = "Blur";
    fields.title = "A";
    auto a = qm::test::writeFile(left("a.8bf"), qm::test::ffPluginBytes(57344, fields));
    auto& pane = host.panes[0];
    pane.view = PaneView::Plugin;
    pane.catalogue.appendRow({a, "Blur", "A", 0, 0, std::nullopt});
    return pane;
  }
};

// Picks the output format and presses "Convert" once the dialog shows.
void convertTo(const QString& format, bool clipboard = false) {
  qm::test::whenModal("Convert", [=](QWidget* d) {
    auto* combo = d->findChild<QComboBox*>("Combo1");
    combo->setCurrentIndex(combo->findText(format));
    d->findChild<QCheckBox*>("Check1")->setChecked(clipboard);
    d->findChild<QPushButton*>("Command1")->click();
  });
}

// While the destination is asked, the user tries another command and presses Escape.
class ImpatientUser final : public qm::ForwardingPrompter {
 public:
  ImpatientUser(Prompter& inner, qm::gui::QtProgress& progress)
      : ForwardingPrompter(inner), progress_(progress) {}
  qm::gui::CommandRunner* runner = nullptr;
  std::optional<qm::FolderChoice> chooseFolder(const qm::FolderRequest& request) override {
    runner->copyFiles();
    progress_.cancel();
    return inner().chooseFolder(request);
  }

 private:
  qm::gui::QtProgress& progress_;
};

const QString kCategoryCaption = "Choose or enter a new category";

void typeAndConfirm(QWidget* dialog, const QString& text) {
  auto* combo = dialog->findChild<QComboBox*>("Combo1");
  combo->setEditText(text);
  QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
}

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

// Drags the selected entries of from onto the point at of target's viewport; whether the
// target took the drag.
bool dragAndDrop(QListWidget* from, QAbstractItemView* target, QPoint at) {
  std::unique_ptr<QMimeData> data(
      from->model()->mimeData(from->selectionModel()->selectedIndexes()));
  QWidget* viewport = target->viewport();
  QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &enter);
  QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  if (!move.isAccepted()) return false;
  QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &drop);
  return true;
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

class CommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void runsOneAtATimeAndEscapeStops() {
    Rig rig;
    rig.host.panes[0].files = {
        qm::test::writeFile(rig.left("blur.afs"), qm::test::afsSource("Blur It"))};
    rig.chooseFolder(rig.temp / "out");
    ImpatientUser prompter(rig.prompter, rig.progress);
    qm::gui::CommandRunner runner(rig.host, {rig.table, rig.ff, rig.options},
                                  {prompter, rig.progress, rig.trash}, nullptr);
    prompter.runner = &runner;
    convertTo("AFS File");
    runner.convert();
    QVERIFY(!fs::exists(rig.temp / "out" / "blur.afs"));
    QCOMPARE(rig.prompter.folderRequests.size(), std::size_t{1});
    QVERIFY(!runner.busy());
  }

  // The clipboard source works even from the FFL View, and the option is cleared afterwards.
  void convertsTheClipboardSource() {
    Rig rig;
    rig.host.panes[0].view = PaneView::Ffl;
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(qm::test::txtSource("From Clipboard", "clip.txt")));
    rig.chooseFolder(rig.temp / "out");
    convertTo("AFS File", true);
    rig.runner.convert();

    QVERIFY(fs::exists(rig.temp / "out" / "clip.afs"));
    QVERIFY(!rig.runner.convertDialog().choice().useClipboard);
  }

  // The bytes and messages are the core's; here, what each command tells the panes.
  void commandsTellThePaneWhatChanged() {
    Rig rig;
    auto& pane = rig.pluginPane();
    pane.rows = {1};
    rig.runner.enableDisable();
    QCOMPARE(pane.entryStates, (std::map<fs::path, bool>{{rig.left("a._bf"), false}}));
    QCOMPARE(pane.catalogue.row(1).path, rig.left("a._bf"));
    QCOMPARE(pane.photoshopChecks, 1);
    QCOMPARE(pane.statusRefreshes, 1);

    rig.runner.changeCategoryByDrop(0, "Noise", {1});
    QCOMPARE(pane.shownCategories, std::vector<std::optional<std::string>>{"Noise"});
    QCOMPARE(pane.photoshopChecks, 2);

    const std::uint64_t position = 11;  // after "FFL1.0\r\n1\r\n"
    pane.view = PaneView::Ffl;
    pane.library = qm::test::writeFile(rig.left("lib.ffl"),
                                       qm::test::fflLibrary({qm::test::fflEntry("W.8bf", "W")}));
    pane.positions = {position};
    rig.prompter.askAnswers = {qm::Button::Yes};
    rig.runner.deleteFiles();
    QCOMPARE(pane.removedFfl, std::vector<std::uint64_t>{position});
  }

  void categoryDialogListsChoicesAndConfirms() {
    qm::gui::ChangeCategoryDialog dialog;
    QCOMPARE(dialog.windowTitle(), kCategoryCaption);

    qm::test::whenModal(kCategoryCaption, [](QWidget* d) {
      auto* combo = d->findChild<QComboBox*>("Combo1");
      QCOMPARE(combo->count(), 2);
      QVERIFY(combo->currentText().isEmpty());
      emit combo->activated(1);  // picking an entry confirms at once
    });
    QCOMPARE(dialog.ask({"Blur", "Noise"}), std::optional<QString>("Noise"));

    qm::test::whenModal(kCategoryCaption, [](QWidget* d) { typeAndConfirm(d, "Warp"); });
    QCOMPARE(dialog.ask({"Blur"}), std::optional<QString>("Warp"));

    qm::test::whenModal(kCategoryCaption,
                        [](QWidget* d) { d->findChild<QPushButton*>("cancelButton")->click(); });
    QCOMPARE(dialog.ask({"Blur"}), std::nullopt);
  }

  void categoryDialogHelpAndFocus() {
    qm::gui::ChangeCategoryDialog dialog;
    QSignalSpy help(&dialog, &qm::gui::ChangeCategoryDialog::helpRequested);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_F1);
    QCOMPARE(help.size(), 1);
    QCOMPARE(help.at(0).at(0).toString(), QString("buttonbar_ChangeCat.htm"));

    dialog.combo()->setEditText("Stylize");
    dialog.combo()->clearFocus();
    dialog.combo()->setFocus();
    QTRY_COMPARE(dialog.combo()->lineEdit()->selectedText(), QString("Stylize"));
  }

  // The engine asks again after a "[Premiere" answer; the dialog shows again, empty.
  void premiereAnswerShowsTheDialogAgain() {
    qm::plugins::Catalogue catalogue;
    catalogue.appendRow({"/nowhere/a.8bf", "Blur", "A", 5, 0, std::nullopt});
    catalogue.appendRow({"/nowhere/b.8bf", "[Premiere FF]", "B", 0, 0, std::nullopt});
    qm::test::ScriptedPrompter inner;
    qm::gui::ChangeCategoryDialog dialog;
    qm::gui::CategoryPrompter prompter(inner, dialog, {"Blur"});
    QStringList secondShowing;
    qm::test::whenModal(kCategoryCaption, [&](QWidget* d) {
      typeAndConfirm(d, "[Premiere Video]");
      qm::test::whenModal(kCategoryCaption, [&](QWidget* again) {
        auto* combo = again->findChild<QComboBox*>("Combo1");
        secondShowing << combo->currentText() << QString::number(combo->count());
        typeAndConfirm(again, "Brand New");
      });
    });
    qm::plugins::ChangeCategoryRequest request{qm::plugins::PaneView::Plugin, {1}, std::nullopt};
    auto outcome = qm::plugins::cmd_ChangeCategory(request, catalogue, prompter, {});

    QCOMPARE(secondShowing, QStringList({"", "1"}));
    QCOMPARE(QString::fromStdString(outcome.newCategory), QString("Brand New"));
  }

  void pluginListEnablingRules() {
    qm::gui::PluginListDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("Plugin List"));
    auto* include = dialog.findChild<QGroupBox*>();
    auto* csv = dialog.findChild<QCheckBox*>("csvBox");
    auto* clipboard = dialog.findChild<QCheckBox*>("clipboardBox");
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    auto* start = dialog.findChild<QPushButton*>("startButton");
    QCOMPARE(name->text(), QString("FFL-List.txt"));
    QCOMPARE(clipboard->toolTip(), QString("Exports the plugin list to the clipboard"));
    QVERIFY(include->isEnabled() && name->isEnabled() && start->isEnabled());

    csv->setChecked(true);
    QVERIFY(!include->isEnabled());
    name->clear();
    QVERIFY(!start->isEnabled());
    clipboard->setChecked(true);
    QVERIFY(start->isEnabled() && !name->isEnabled());
    clipboard->setChecked(false);
    csv->setChecked(false);
    QVERIFY(include->isEnabled() && !start->isEnabled());
  }

  void informationRuleIsAsWideAsTheFilterLines() {
    qm::plugins::PluginFacts facts;
    facts.label = "Photoshop Filter Plugin";
    facts.filters = {{"Blur", "Wide Wide Wide Filter", 0, 0}, {"Noise", "Mmmm", 0, 0}};
    facts.filterFactory = false;
    QFont font = qm::gui::messageBoxFont();
    QStringList lines = qm::gui::pluginInformationMessage(facts, font).split('\n');
    QCOMPARE(lines.at(0), QString("Blur: Wide Wide Wide Filter"));
    QFontMetrics metrics(font);
    const int widest = metrics.horizontalAdvance(lines.at(0));
    QVERIFY(lines.at(2).count('-') == lines.at(2).size());
    QVERIFY(metrics.horizontalAdvance(lines.at(2)) >= widest);
    QVERIFY(metrics.horizontalAdvance(lines.at(2).mid(1)) < widest);
  }

  // Three sources into the right pane's folder; the last one's text file exists already, so
  // the run stops at the Overwrite question with its count in the status line.
  void convertFromTheWindow() {
    PluginWindow w(View::File);
    qm::test::writeFile(w.temp / "right" / "soft.txt", "old");
    w.window().pane(1)->refresh();
    w.window().pane(0)->fileView()->selectAll();
    convertTo("Text File");
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
    QVERIFY(dragAndDrop(w.plugins->filterList(), categories,
                        categories->visualItemRect(w.category("Noise")).center()));

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
    QVERIFY(dragAndDrop(w.plugins->filterList(), target, QPoint(5, 5)));

    QCOMPARE(fs::path(offered.toStdString()), w.temp / "right" / "");
    QVERIFY(fs::exists(w.temp / "right" / "blur.afs") && fs::exists(w.temp / "right" / "soft.afs"));
    QVERIFY(!fs::exists(w.temp / "left" / "blur.afs"));
    // The source pane loses the entries and scans its folder again.
    w.plugins->waitForScan();
    QVERIFY(w.category("Noise") && !w.category("Blur"));
  }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
