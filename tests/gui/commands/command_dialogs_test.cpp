// The commands' dialogs: Convert, Overwrite, Select Folder, Change Category (and its prompter
// asking again), Plugin List and the plugin information box.

#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include "core/plugins/change_category.h"
#include "gui/batch/convert_dialog.h"
#include "gui/batch/overwrite_dialog.h"
#include "gui/batch/select_folder_dialog.h"
#include "gui/commands/category_prompter.h"
#include "gui/commands/change_category_dialog.h"
#include "gui/commands/plugin_information_box.h"
#include "gui/commands/plugin_list_dialog.h"
#include "gui/gui_fixture.h"
#include "support/scripted_ports.h"

namespace {

namespace fs = std::filesystem;
using namespace qm;

template <class Dialog>
QString helpPageOnF1() {
  Dialog dialog;
  QSignalSpy help(&dialog, &Dialog::helpRequested);
  dialog.show();
  QTest::keyClick(&dialog, Qt::Key_F1);
  return help.value(0).value(0).toString();
}

class FakeFolderHost final : public gui::SelectFolderHost {
 public:
  fs::path active, passive;
  std::vector<fs::path> preferences, shownInPassive, created;

  fs::path activePaneFolder() const override { return active; }
  fs::path passivePaneFolder() const override { return passive; }
  std::vector<fs::path> preferenceFolders() const override { return preferences; }
  void showInPassivePane(const fs::path& folder) override {
    shownInPassive.push_back(folder);
    passive = folder;
  }
  void folderCreated(const fs::path& folder) override { created.push_back(folder); }
};

QString text(const fs::path& folder) {
  return QString::fromStdString(folder.string());
}

// Select Folder over temp/left (active) and temp/right (passive).
struct FolderRig {
  test::TempFolder temp;
  FakeFolderHost host;
  test::ScriptedPrompter prompter;
  gui::SelectFolderDialog dialog{host, prompter};

  FolderRig() {
    host.active = temp / "left";
    host.passive = temp / "right";
    fs::create_directories(host.active);
    fs::create_directories(host.passive);
  }
  QComboBox* combo() { return dialog.findChild<QComboBox*>("Combo1"); }
  void press(const char* button) { dialog.findChild<QPushButton*>(button)->click(); }
};

const QString kCategoryCaption = "Choose or enter a new category";

}  // namespace

class CommandDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void dialogsOpenTheirHelpOnF1() {
    QCOMPARE(helpPageOnF1<gui::ConvertDialog>(), QString("buttonbar_Convert.htm"));
    QCOMPARE(helpPageOnF1<gui::ChangeCategoryDialog>(), QString("buttonbar_ChangeCat.htm"));
  }

  void convertDialogFormatsAndCancel() {
    gui::ConvertDialog dialog;
    auto* settings = dialog.findChild<QPushButton*>("Command3");
    auto* mac = dialog.findChild<QCheckBox*>("Check3");
    auto* format = dialog.findChild<QComboBox*>("Combo1");
    QCOMPARE(format->currentText(), QString("Photoshop FF Plugin"));
    QVERIFY(dialog.choice().target == 0 && settings->isEnabled() && !mac->isEnabled());
    format->setCurrentText("AFS File");
    QVERIFY(dialog.choice().target == 3 && !settings->isEnabled() && mac->isEnabled());
    dialog.setTarget(5);
    QCOMPARE(format->currentText(), QString("Text File"));
    // Cancel chooses nothing but keeps what was ticked.
    test::clickWhenModal("Convert", "Command2", "Check2");
    QVERIFY(!dialog.choose().has_value());
    test::clickWhenModal("Convert", "Command1");
    auto choice = dialog.choose();
    QVERIFY(choice && choice->target == 5 && choice->namesFromTitles);
  }

  // The source line shows only with a source; each button gives its answer.
  void overwriteLinesAndAnswers() {
    gui::OverwriteDialog dialog;
    auto label = [&](const char* name) { return dialog.findChild<QLabel*>(name); };
    dialog.setQuestion({"/out/a.afs  (12 bytes, 2026-01-02)", "/in/a.8bf  (57344 bytes, x) ?"});
    dialog.show();
    QCOMPARE(label("destinationLine")->text(), QString("/out/a.afs  (12 bytes, 2026-01-02)"));
    QCOMPARE(label("sourceLine")->text(), QString("/in/a.8bf  (57344 bytes, x) ?"));
    QVERIFY(label("withLabel")->isVisible());
    dialog.setQuestion({"/out/a.afs  (1 bytes, x) ?", std::nullopt});
    QVERIFY(!label("withLabel")->isVisible() && !label("sourceLine")->isVisible());
    QCOMPARE(label("destinationLine")->text(), QString("/out/a.afs  (1 bytes, x) ?"));
    dialog.hide();
    const char* buttons[] = {"overwriteButton", "ignoreButton", "overwriteAllButton",
                             "ignoreAllButton", "cancelButton"};
    for (int code = 0; code < 5; ++code) {
      test::clickWhenModal("Overwrite?", buttons[code]);
      QCOMPARE(static_cast<int>(dialog.ask({"/out/a  (1 bytes, x) ?", std::nullopt})), code);
      QVERIFY(!dialog.isVisible());
    }
  }

  void selectFolderListsPresetPanesPreferencesAndBrowsed() {
    FolderRig rig;
    rig.host.preferences = {"/plugins", "/more/"};
    rig.dialog.setPresetFolder("/dropped");
    rig.dialog.show();
    QCOMPARE(test::rowTexts(rig.combo()->model()).front(), QString("/dropped/"));
    QCOMPARE(rig.dialog.folderText(), QString("/dropped/"));
    rig.dialog.hide();
    rig.dialog.setPresetFolder({});
    rig.dialog.show();
    QCOMPARE(test::rowTexts(rig.combo()->model()),
             (QStringList{text(rig.host.passive) + "/", text(rig.host.active) + "/", "/plugins/",
                          "/more/"}));
    QString prompt;
    rig.dialog.setBrowser(
        [&](QWidget*, const QString& p) { return prompt = p, QString("/chosen"); });
    rig.press("Command1");
    QCOMPARE(prompt, QString("Please select a folder ..."));
    QCOMPARE(test::rowTexts(rig.combo()->model()).front(), QString("/chosen/"));
    QCOMPARE(rig.dialog.folderText(), QString("/chosen/"));
  }

  void selectFolderCreatesAMissingFolderOnlyAfterYes() {
    FolderRig rig;
    auto fresh = rig.temp / "fresh";
    rig.dialog.show();
    rig.combo()->setEditText(text(fresh));
    rig.prompter.askAnswers = {Button::No, Button::Yes};
    rig.press("Command2");
    QVERIFY(rig.dialog.isVisible() && !fs::exists(fresh) && rig.host.shownInPassive.empty());
    rig.press("Command2");
    QCOMPARE(rig.prompter.messages.size(), std::size_t{2});
    QVERIFY(rig.prompter.messages[1].icon == Icon::Exclamation);
    QVERIFY(fs::is_directory(fresh));
    QCOMPARE(rig.host.created.size(), std::size_t{1});
    QCOMPARE(rig.host.shownInPassive, std::vector<fs::path>{fresh / ""});
    QVERIFY(!rig.dialog.isVisible());
  }

  void selectFolderKeepsThePassivePaneForOneOkOnly() {
    FolderRig rig;
    rig.dialog.setKeepPassivePane(true);
    for (std::size_t shown : {0, 1}) {
      rig.dialog.show();
      rig.combo()->setEditText(text(rig.host.active));
      rig.press("Command2");
      QCOMPARE(rig.host.shownInPassive.size(), shown);
      QVERIFY(!rig.dialog.keepPassivePane());
    }
    test::clickWhenModal("Select Folder", "Command2", "Check2");
    auto choice = rig.dialog.choose({rig.host.active, true});
    QVERIFY(choice && choice->createSubFolders);
    QCOMPARE(text(choice->folder), text(rig.host.active) + "/");
    test::clickWhenModal("Select Folder", "Command3");
    QVERIFY(!rig.dialog.choose({}).has_value());
    QCOMPARE(rig.dialog.folderText(), QString());
  }

  void categoryDialogListsChoicesConfirmsAndSelectsOnFocus() {
    gui::ChangeCategoryDialog dialog;
    test::whenModal(kCategoryCaption, [](QWidget* d) {
      auto* combo = d->findChild<QComboBox*>("Combo1");
      QCOMPARE(combo->count(), 2);
      QVERIFY(combo->currentText().isEmpty());
      emit combo->activated(1);  // picking an entry confirms at once
    });
    QCOMPARE(dialog.ask({"Blur", "Noise"}), std::optional<QString>("Noise"));
    test::whenModal(kCategoryCaption, [](QWidget* d) { test::typeIntoCombo(d, "Warp"); });
    QCOMPARE(dialog.ask({"Blur"}), std::optional<QString>("Warp"));
    test::clickWhenModal(kCategoryCaption, "cancelButton");
    QCOMPARE(dialog.ask({"Blur"}), std::nullopt);

    dialog.show();
    dialog.combo()->setEditText("Stylize");
    dialog.combo()->clearFocus();
    dialog.combo()->setFocus();
    QTRY_COMPARE(dialog.combo()->lineEdit()->selectedText(), QString("Stylize"));
  }

  // The engine asks again after a "[Premiere" answer; the dialog shows again, empty.
  void premiereAnswerShowsTheDialogAgain() {
    plugins::Catalogue catalogue;
    catalogue.appendRow({"/nowhere/a.8bf", "Blur", "A", 5, 0, std::nullopt});
    catalogue.appendRow({"/nowhere/b.8bf", "[Premiere FF]", "B", 0, 0, std::nullopt});
    test::ScriptedPrompter inner;
    gui::ChangeCategoryDialog dialog;
    gui::CategoryPrompter prompter(inner, dialog, {"Blur"});
    QStringList secondShowing;
    test::whenModal(kCategoryCaption, [&](QWidget* d) {
      test::typeIntoCombo(d, "[Premiere Video]");
      test::whenModal(kCategoryCaption, [&](QWidget* again) {
        auto* combo = again->findChild<QComboBox*>("Combo1");
        secondShowing << combo->currentText() << QString::number(combo->count());
        test::typeIntoCombo(again, "Brand New");
      });
    });
    plugins::ChangeCategoryRequest request{plugins::PaneView::Plugin, {1}, std::nullopt};
    auto outcome = plugins::cmd_ChangeCategory(request, catalogue, prompter, {});
    QCOMPARE(secondShowing, QStringList({"", "1"}));
    QCOMPARE(QString::fromStdString(outcome.newCategory), QString("Brand New"));
  }

  void pluginListEnablingRules() {
    gui::PluginListDialog dialog;
    auto* include = dialog.findChild<QGroupBox*>();
    auto* csv = dialog.findChild<QCheckBox*>("csvBox");
    auto* clipboard = dialog.findChild<QCheckBox*>("clipboardBox");
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    auto* start = dialog.findChild<QPushButton*>("startButton");
    QCOMPARE(name->text(), QString("FFL-List.txt"));
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
    plugins::PluginFacts facts;
    facts.label = "Photoshop Filter Plugin";
    facts.filters = {{"Blur", "Wide Wide Wide Filter", 0, 0}, {"Noise", "Mmmm", 0, 0}};
    facts.filterFactory = false;
    QFont font = gui::messageBoxFont();
    QStringList lines = gui::pluginInformationMessage(facts, font).split('\n');
    QCOMPARE(lines.at(0), QString("Blur: Wide Wide Wide Filter"));
    QFontMetrics metrics(font);
    const int widest = metrics.horizontalAdvance(lines.at(0));
    QVERIFY(lines.at(2).count('-') == lines.at(2).size());
    QVERIFY(metrics.horizontalAdvance(lines.at(2)) >= widest);
    QVERIFY(metrics.horizontalAdvance(lines.at(2).mid(1)) < widest);
  }
};

QTEST_MAIN(CommandDialogsTest)
#include "command_dialogs_test.moc"
