// The command runner over a temporary folder and a fake pair of panes: what each command
// writes, what it says, and what it asks the panes to show afterwards.

#include "gui/commands/command_runner.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "command_fixture.h"
#include "core/common/forwarding_prompter.h"
#include "core/ff/sources.h"
#include "gui/batch/convert_dialog.h"
#include "support/ff_plugin_bytes.h"
#include "support/pe_builder.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
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
  fs::path right(std::string_view name) const { return temp / "right" / name; }
  void chooseFolder(const fs::path& folder) { prompter.folderChoice = qm::FolderChoice{folder}; }
};

fs::path writeAfs(const fs::path& folder, const std::string& name, const std::string& title) {
  qm::ff::FFRecord record;
  record.fileName = name;
  record.title = title;
  record.category = "Blur";
  record.formulas = {"r", "g", "b", "a"};
  return qm::ff::Writeafspff(folder, 0, record);
}

fs::path writeFFPlugin(const fs::path& file, const std::string& category,
                       const std::string& title) {
  qm::test::FFPluginFields fields;
  fields.category = category;
  fields.title = title;
  fields.formulas = {"r", "g", "b", "a"};
  return qm::test::writeFile(file, qm::test::ffPluginBytes(57344, fields));
}

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

std::string textOf(const qm::test::ScriptedPrompter& prompter, std::size_t i = 0) {
  return i < prompter.messages.size() ? prompter.messages[i].text : std::string("<none>");
}

}  // namespace

class CommandRunnerTest : public QObject {
  Q_OBJECT

 private slots:
  void convertRefusesAnEmptySelection() {
    Rig rig;
    rig.runner.convert();
    QCOMPARE(rig.prompter.messages.size(), std::size_t{1});
    QCOMPARE(textOf(rig.prompter), std::string("Please select one or more files."));
    QCOMPARE(rig.prompter.messages[0].title, std::string("Attention"));
  }

  void convertWritesSelectionAndShowsProgress() {
    Rig rig;
    rig.host.panes[0].files = {writeAfs(rig.temp / "left", "blur.afs", "Blur It"),
                               qm::test::writeFile(rig.left("photo.jpg"), "not a filter"),
                               writeAfs(rig.temp / "left", "wave.afs", "Wave")};
    rig.chooseFolder(rig.temp / "out");
    QStringList statuses;
    rig.runner.setStatusSink([&](const QString& text) { statuses << text; });
    convertTo("Text File");
    rig.runner.convert();

    QVERIFY(fs::exists(rig.temp / "out" / "blur.txt"));
    QVERIFY(fs::exists(rig.temp / "out" / "wave.txt"));
    QCOMPARE(std::distance(fs::directory_iterator(rig.temp / "out"), fs::directory_iterator()), 2);
    QVERIFY(statuses.size() >= 2);
    const QString during = statuses.at(statuses.size() - 2);
    QVERIFY2(during.contains(" of ") && during.endsWith(" sec."), qPrintable(during));
    QCOMPARE(statuses.last(), QString());
    QVERIFY(rig.host.panes[0].refreshes >= 1 && rig.host.panes[1].refreshes >= 1);
    QVERIFY(!rig.runner.busy());
  }

  void runsOneAtATimeAndEscapeStops() {
    Rig rig;
    rig.host.panes[0].files = {writeAfs(rig.temp / "left", "blur.afs", "Blur It")};
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
    qm::ff::FFRecord record;
    record.fileName = "clip.txt";
    record.title = "From Clipboard";
    record.formulas = {"r", "g", "b", "a"};
    auto source = qm::ff::WriteTXT(rig.temp / "program", record);
    QGuiApplication::clipboard()->setText(QString::fromStdString(qm::test::readFile(source)));
    rig.chooseFolder(rig.temp / "out");
    convertTo("AFS File", true);
    rig.runner.convert();

    QVERIFY(!fs::is_empty(rig.temp / "out"));
    QVERIFY(!rig.runner.convertDialog().choice().useClipboard);
  }

  void suppressedSelectFolderWritesIntoThePassivePane() {
    Rig rig;
    rig.options.passivePaneFolder = true;
    rig.host.panes[0].files = {writeAfs(rig.temp / "left", "blur.afs", "Blur It")};
    convertTo("PFF File");
    rig.runner.convert();
    QVERIFY(fs::exists(rig.right("blur.pff")));
    QVERIFY(rig.prompter.folderRequests.empty());
  }

  // A drop on a folder presets it in Select Folder, which then leaves the passive pane alone.
  void moveByDropPresetsTheTarget() {
    Rig rig;
    auto a = qm::test::writeFile(rig.left("a.8bf"), "a");
    rig.host.panes[0].files = {a};
    auto sub = rig.temp / "right" / "sub";
    fs::create_directories(sub);
    rig.chooseFolder(sub);
    rig.runner.moveFilesByDrop(0, sub);
    QVERIFY(!fs::exists(a) && fs::exists(sub / "a.8bf"));
    QCOMPARE(rig.prompter.folderRequests.back().presetFolder, sub);
    QVERIFY(rig.prompter.folderRequests.back().keepPassivePane);
  }

  void deleteToTheTrashAndInALibrary() {
    Rig rig;
    auto a = qm::test::writeFile(rig.left("a.8bf"), "a");
    rig.host.panes[0].files = {a};
    rig.prompter.askAnswers = {qm::Button::Yes};
    rig.runner.deleteFiles();
    QCOMPARE(rig.trash.trashed, std::vector<fs::path>{a});
    QCOMPARE(rig.host.panes[0].refreshes, 1);

    std::string library = "FFL1.0\r\n1\r\n";
    const std::uint64_t position = library.size();
    for (int line = 0; line < 29; ++line) library += "Wave.8bf\r\n";
    auto file = qm::test::writeFile(rig.left("lib.ffl"), library);
    rig.host.panes[0].view = PaneView::Ffl;
    rig.host.panes[0].library = file;
    rig.host.panes[0].positions = {position};
    rig.prompter.askAnswers = {qm::Button::Yes};
    rig.runner.deleteFiles();
    QCOMPARE(qm::test::readFile(file).substr(position, 10), std::string("//ve.8bf\r\n"));
    QCOMPARE(rig.host.panes[0].removedFfl, std::vector<std::uint64_t>{position});
  }

  void changeCategoryByDrop() {
    Rig rig;
    auto& pane = rig.host.panes[0];
    pane.view = PaneView::Plugin;
    pane.catalogue.appendRow(
        {writeFFPlugin(rig.left("a.8bf"), "Blur", "A"), "Blur", "A", 0, 0, std::nullopt});
    rig.prompter.askAnswers = {qm::Button::Ok};
    rig.runner.changeCategoryByDrop(0, "[Other Plugins]", {1});
    QVERIFY(QString::fromStdString(textOf(rig.prompter)).contains("is only a virtual category!"));
    QVERIFY(pane.shownCategories.empty());

    rig.runner.changeCategoryByDrop(0, "Noise", {1});
    QCOMPARE(qm::test::readFile(rig.left("a.8bf")).substr(31063, 6), std::string("Noise\0", 6));
    QCOMPARE(pane.shownCategories, std::vector<std::optional<std::string>>{"Noise"});
    QCOMPARE(pane.photoshopChecks, 1);
  }

  void changeCategoryOffersOnlyRealCategories() {
    Rig rig;
    auto& pane = rig.host.panes[0];
    pane.view = PaneView::Plugin;
    pane.catalogue.appendRow(
        {writeFFPlugin(rig.left("a.8bf"), "Blur", "A"), "Blur", "A", 0, 0, std::nullopt});
    pane.catalogue.appendRow({rig.left("x.8bf"), "[Unknown]", "x", 0, 0, std::nullopt});
    pane.rows = {1};
    QStringList offered;
    qm::test::whenModal("Choose or enter a new category", [&](QWidget* d) {
      auto* combo = d->findChild<QComboBox*>("Combo1");
      for (int i = 0; i < combo->count(); ++i) offered << combo->itemText(i);
      combo->setEditText("Sharpen");
      d->findChild<QPushButton*>("okButton")->click();
    });
    rig.runner.changeCategory();
    QCOMPARE(offered, QStringList{"Blur"});
    QCOMPARE(qm::test::readFile(rig.left("a.8bf")).substr(31063, 7), std::string("Sharpen"));
    QCOMPARE(pane.shownCategories, std::vector<std::optional<std::string>>{"Sharpen"});
  }

  void enableDisableInThePluginView() {
    Rig rig;
    auto& pane = rig.host.panes[0];
    pane.view = PaneView::Plugin;
    pane.catalogue.appendRow(
        {qm::test::writeFile(rig.left("a.8bf"), "a"), "Blur", "A", 0, 0, std::nullopt});
    pane.rows = {1};
    rig.runner.enableDisable();
    QVERIFY(fs::exists(rig.left("a._bf")));
    QCOMPARE(pane.catalogue.row(1).path, rig.left("a._bf"));
    QCOMPARE(pane.entryStates, (std::map<fs::path, bool>{{rig.left("a._bf"), false}}));
    QCOMPARE(pane.photoshopChecks, 1);
    QCOMPARE(pane.statusRefreshes, 1);
  }

  void pluginInformationMessages() {
    Rig rig;
    rig.host.panes[0].files = {
        qm::test::writeFile(rig.left("wave.8bf"), qm::test::piplPlugin({{"Distort", "Wave"}}))};
    rig.runner.pluginInformation();
    QCOMPARE(rig.prompter.messages.at(0).title, std::string("Plugin Information"));
    QString text = QString::fromStdString(textOf(rig.prompter));
    QVERIFY2(text.startsWith("Distort: Wave\n-") && text.contains("\nType: Photoshop") &&
                 text.contains("\nCategory at &H") &&
                 text.endsWith("\n\nThis file isn't a Filter Factory plugin\nand therefor can't be "
                               "loaded\ninto the Filter Factory Editor."),
             qPrintable(text));
  }

  void pluginListToClipboardAndFile() {
    Rig rig;
    rig.host.panes[0].files = {writeFFPlugin(rig.left("z.8bf"), "Blur", "Zeta"),
                               writeFFPlugin(rig.left("a.8bf"), "Blur", "Alpha")};
    qm::test::whenModal("Plugin List", [](QWidget* d) {
      d->findChild<QCheckBox*>("clipboardBox")->setChecked(true);
      d->findChild<QPushButton*>("startButton")->click();
    });
    rig.runner.pluginList();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("Blur: Alpha\r\nBlur: Zeta\r\n"));

    // A typed path stays a name inside the chosen folder.
    rig.chooseFolder(rig.temp / "right");
    qm::test::whenModal("Plugin List", [](QWidget* d) {
      d->findChild<QCheckBox*>("clipboardBox")->setChecked(false);
      d->findChild<QLineEdit*>("fileNameEdit")->setText("../list.txt");
      d->findChild<QPushButton*>("startButton")->click();
    });
    rig.runner.pluginList();
    QCOMPARE(qm::test::readFile(rig.right("list.txt")),
             std::string("Blur: Alpha\r\nBlur: Zeta\r\n"));
    QVERIFY(!fs::exists(rig.temp / "list.txt"));
    QCOMPARE(rig.host.panes[1].refreshes, 1);
  }
};

QTEST_MAIN(CommandRunnerTest)
#include "command_runner_test.moc"
