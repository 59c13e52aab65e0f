// The program's dialogs and the FX Download window, driven as a user would.

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

#include "core/plugins/change_category.h"
#include "gui/batch/convert_dialog.h"
#include "gui/batch/overwrite_dialog.h"
#include "gui/batch/select_folder_dialog.h"
#include "gui/commands/category_prompter.h"
#include "gui/commands/change_category_dialog.h"
#include "gui/commands/plugin_information_box.h"
#include "gui/commands/plugin_list_dialog.h"
#include "gui/download/download_window.h"
#include "gui/gui_fixture.h"
#include "gui/main/window_commands.h"
#include "gui/preferences/preferences_dialog.h"
#include "gui/preferences/preferences_host.h"
#include "platform/desktop_services.h"
#include "support/ff_sources.h"
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
  QStringList entries() { return test::rowTexts(combo()->model()); }
  void press(const char* button) { dialog.findChild<QPushButton*>(button)->click(); }
};

const QString kCategoryCaption = "Choose or enter a new category";

void click(QWidget* dialog, const char* name) {
  dialog->findChild<QPushButton*>(name)->click();
}

QStringList items(QWidget* dialog, const char* list) {
  return test::rowTexts(dialog->findChild<QListWidget*>(list)->model());
}

// Preferences over a temporary program folder; the file and folder choosers answer here.
struct PreferencesRig {
  test::TempFolder programDir;
  settings::MemoryStore store;
  gui::AppContext context{programDir.path(), store, {}, {}, {}, {}};
  int foldersAsked = 0;
  QStringList filesAsked;
  QString fileAnswer;

  gui::PreferencesChoosers choosers() {
    gui::PreferencesChoosers c;
    c.folder = [this](QWidget*, const QString&) { return ++foldersAsked, QString("/srv/new"); };
    c.file = [this](QWidget*, const QString& title, const QString&, const QString&) {
      filesAsked << title;
      return fileAnswer;
    };
    c.run = [](const QStringList&) { return true; };
    return c;
  }
};

// Answers the next message box with button and records its text.
void answerBox(QMessageBox::StandardButton button, QString* text) {
  test::whenModal("FX Download", [=](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    QVERIFY(box);
    *text = box->text();
    box->button(button)->click();
  });
}

QStringList listed(const gui::DownloadWindow& window) {
  return test::rowTexts(window.list()->model());
}

// FX Download over a temporary program folder; the URLs it hands the desktop are kept.
struct DownloadRig {
  test::TempFolder dir;
  QStringList opened;
  platform::DesktopServices desktop{dir.path(),
                                    [this](const QString& url) {
                                      opened << url;
                                      return true;
                                    },
                                    [](std::string_view) {}};
};

}  // namespace

class DialogsTest : public QObject {
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
    // In the FFL View only chosen library entries convert, never the selected files.
    test::TempFolder temp;
    test::ScriptedPrompter prompter;
    prompter.folderChoice = FolderChoice{temp / "out", false};
    SilentProgress progress;
    auto source = test::writeFile(temp / "m.afs", test::afsSource("M"));
    for (bool fflView : {true, false}) {
      dialog.convert({source}, fflView, {}, std::nullopt, {}, prompter, progress);
      QCOMPARE(fs::exists(temp / "out" / "M.txt"), !fflView);  // named by its title
    }
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
    QCOMPARE(rig.entries().front(), QString("/dropped/"));
    QCOMPARE(rig.dialog.folderText(), QString("/dropped/"));
    rig.dialog.hide();
    rig.dialog.setPresetFolder({});
    rig.dialog.show();
    QCOMPARE(rig.entries(), (QStringList{text(rig.host.passive) + "/", text(rig.host.active) + "/",
                                         "/plugins/", "/more/"}));
    QString prompt, start;
    rig.dialog.setBrowser([&](QWidget*, const QString& p, const QString& s) {
      return prompt = p, start = s, QString("/chosen");
    });
    rig.press("Command1");
    QCOMPARE(prompt, QString("Please select a folder ..."));
    QCOMPARE(start, text(rig.host.passive) + "/");  // the folder the box showed
    QCOMPARE(rig.entries().front(), QString("/chosen/"));
    QCOMPARE(rig.dialog.folderText(), QString("/chosen/"));
  }

  // A missing folder is made only after Yes, and shown in the passive pane.
  void selectFolderCreatesAMissingFolderAndShowsIt() {
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
    // Keeping the passive pane holds for one OK only.
    rig.host.shownInPassive.clear();
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
    plugins::ChangeCategoryRequest request{plugins::PaneView::Plugin, {1}, std::nullopt, {}};
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

  void cancelRestoresAndOkSavesAnApplicationList() {
    PreferencesRig f;
    f.store.set(settings::kSettings, "App0", "/usr/bin/gimp");
    gui::loadOptions(f.context);
    f.fileAnswer = "/opt/edit";
    gui::PreferencesDialog dialog(f.context, f.choosers());

    test::whenModal("Preferences", [](QWidget* d) {
      QCOMPARE(static_cast<gui::PreferencesDialog*>(d)->tabs()->currentIndex(), 5);
      click(d, "Command3_2");
      QCOMPARE(items(d, "List1_2"), (QStringList{"/usr/bin/gimp", "/opt/edit"}));
      click(d, "Command8");
    });
    QVERIFY(!dialog.openOn(gui::PreferencesPage::Apps));
    QCOMPARE(f.filesAsked, QStringList{"Select Executable"});
    QCOMPARE(f.context.options.apps, (std::vector<std::string>{"/usr/bin/gimp"}));
    QVERIFY(!f.store.contains(settings::kSettings, "App1"));

    // A path with a blank comes back quoted, and F2 edits a line in place.
    test::whenModal("Preferences", [&f](QWidget* d) {
      QCOMPARE(items(d, "List1_2"), QStringList{"/usr/bin/gimp"});  // the edit is gone
      click(d, "Command3_2");
      auto* list = d->findChild<QListWidget*>("List1_2");
      list->item(1)->setSelected(true);
      click(d, "Command11");
      click(d, "Command11");  // never twice
      f.fileAnswer = "/opt/my edit/run";
      click(d, "Command3_2");
      QCOMPARE(items(d, "List1_2").last(), QString("'/opt/my edit/run'"));
      list->setCurrentRow(2);
      QTest::keyClick(list, Qt::Key_F2);
      auto* editor = list->findChild<QLineEdit*>();
      QVERIFY(editor);
      editor->setText("'/opt/my edit/run' --new %1");
      QTest::keyClick(editor, Qt::Key_Return);
      click(d, "Command1");
    });
    QVERIFY(dialog.openOn(gui::PreferencesPage::Apps));
    QCOMPARE(f.store.get(settings::kSettings, "App1"), std::string("/opt/edit %1"));
    QCOMPARE(QString::fromStdString(f.context.options.apps.back()),
             QString("'/opt/my edit/run' --new %1"));
    QCOMPARE(f.context.options.apps.size(), std::size_t{3});
  }

  // Only the ticked types are claimed; Remove Associations takes the user's files away again.
  void associationsClaimTheTickedTypesAndGoAgain() {
    PreferencesRig f;
    test::TempFolder data;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data.path().string()));
    gui::loadOptions(f.context);
    QStringList runs;
    auto choosers = f.choosers();
    choosers.run = [&runs](const QStringList& args) { return runs << args.join(' '), true; };
    gui::PreferencesDialog dialog(f.context, choosers);
    test::MessageCatcher messages;
    const fs::path desktopFile = data / "applications" / "quillmark.desktop";
    std::string desktop;
    test::whenModal("Preferences", [&](QWidget* d) {
      d->findChildren<QCheckBox*>("Check18").at(0)->setChecked(true);  // .8bf
      click(d, "Command13");
      desktop = test::readFile(desktopFile);
      click(d, "removeAssociations");
      click(d, "Command8");
    });
    dialog.openOn(gui::PreferencesPage::General);
    qunsetenv("XDG_DATA_HOME");
    QVERIFY2(desktop.find("\nMimeType=application/x-photoshop-filter;\n") != std::string::npos,
             desktop.c_str());
    QVERIFY(runs.contains("xdg-mime default quillmark.desktop application/x-photoshop-filter"));
    QVERIFY(!runs.join('\n').contains("premiere"));
    QVERIFY(!fs::exists(desktopFile) && !fs::exists(data / "mime" / "packages" / "quillmark.xml"));
    QCOMPARE(messages.texts,
             (QStringList{"The associations were set.", "The associations were removed."}));
  }

  void addAtTheFolderLimitIsRefusedWithoutABrowser() {
    PreferencesRig f;
    f.store.set(settings::kSettings, "FolderItemLimit", "2");
    test::writeFile(f.programDir / "FolderList.log", "/a/\r\n/b/\r\n");
    gui::loadOptions(f.context);
    gui::PreferencesDialog dialog(f.context, f.choosers());
    test::MessageCatcher messages;
    test::whenModal("Preferences", [](QWidget* d) {
      click(d, "Command3_0");
      auto* limit = d->findChild<QLineEdit*>("Text1");
      limit->clear();
      QTest::keyClicks(limit, "3");
      click(d, "Command3_0");
      click(d, "Command1");
    });
    QVERIFY(dialog.openOn(gui::PreferencesPage::Folders));
    QCOMPARE(messages.texts, QStringList{"Limit of entries was reached."});
    QCOMPARE(f.foldersAsked, 1);
    QCOMPARE(test::readFile(f.programDir / "FolderList.log"),
             std::string("/a/\r\n/b/\r\n/srv/new/\r\n"));
    QCOMPARE(f.store.get(settings::kSettings, "FolderItemLimit"), std::string("3"));
  }

  void typeEditorRefusesAnEmptyLabelThenAddsTheCleanedEntry() {
    PreferencesRig f;
    gui::loadOptions(f.context);
    gui::PreferencesDialog dialog(f.context, f.choosers());
    test::MessageCatcher messages;
    test::whenModal("Preferences", [](QWidget* d) {
      test::whenModal("Add Plugin Type", [](QWidget* editor) {
        editor->findChild<QLineEdit*>("Text1_1")->setText("*.FOO");
        click(editor, "Command1_0");  // no label yet: refused, the editor stays
        editor->findChild<QLineEdit*>("Text1_0")->setText("Foo");
        editor->findChild<QRadioButton*>("Option1_1")->setChecked(true);
        click(editor, "Command1_0");
      });
      click(d, "Command3_3");
      auto* list = d->findChild<QListWidget*>("List1_3");
      QCOMPARE(list->currentItem()->text(), QString("Foo (foo|1)"));
      QCOMPARE(list->currentItem()->checkState(), Qt::Checked);
      test::whenModal("Add Plugin Type", [](QWidget* editor) {
        editor->findChild<QLineEdit*>("Text1_0")->setText("Bar");
        click(editor, "Command1_1");  // Cancel adds nothing
      });
      click(d, "Command3_3");
      click(d, "Command1");
    });
    QVERIFY(dialog.openOn(gui::PreferencesPage::PluginTypes));
    QCOMPARE(messages.texts, QStringList{"Please enter the Plugin Name!"});
    QVERIFY(f.context.typeTable.match("thing.foo").has_value());
    QCOMPARE(f.context.options.pluginTypes.size(), plugins::defaultTypeList().size() + 1);
    QVERIFY(test::readFile(f.programDir / "PlugTypes.ini").find("Foo (foo|1)\r\nTrue\r\n") !=
            std::string::npos);
  }

  // What the type list cannot hold is refused where it is typed, naming the character or the
  // type that has the extension; a Windows-1252 name and extension are kept as typed.
  void typeEditorRefusesWhatTheTypeListCannotHold() {
    PreferencesRig f;
    gui::loadOptions(f.context);
    gui::PreferencesDialog dialog(f.context, f.choosers());
    test::MessageCatcher messages;
    test::whenModal("Preferences", [](QWidget* d) {
      test::whenModal("Add Plugin Type", [](QWidget* editor) {
        const std::pair<const char*, const char*> typed[] = {
            {"Comma, Test", "cmt"}, {"Paren (x) Test", "pxt"}, {"Pipe|Test", "pit"},
            {"Quote\"", "qut"},     {"Dash", "a-b"},           {"Cyrillic", "\u0410\u0422\u041D"},
            {"Star", "*."},         {"Mine", "ATN"},           {"Caf\u00E9", "\u00C9XT"}};
        for (const auto& [label, extension] : typed) {
          editor->findChild<QLineEdit*>("Text1_0")->setText(QString::fromUtf8(label));
          editor->findChild<QLineEdit*>("Text1_1")->setText(QString::fromUtf8(extension));
          click(editor, "Command1_0");
        }
      });
      click(d, "Command3_3");
      QCOMPARE(d->findChild<QListWidget*>("List1_3")->currentItem()->text(),
               QString::fromUtf8("Caf\u00E9 (\u00E9xt|0)"));
      click(d, "Command1");
    });
    QVERIFY(dialog.openOn(gui::PreferencesPage::PluginTypes));
    QCOMPARE(messages.texts,
             (QStringList{
                 "The Plugin Name cannot contain \",\".", "The Plugin Name cannot contain \"(\".",
                 "The Plugin Name cannot contain \"|\".", "The Plugin Name cannot contain \"\"\".",
                 "The File Extension can only hold letters and digits, not \"-\".",
                 QString::fromUtf8("The File Extension cannot contain \"\u0410\" (the type "
                                   "list holds Windows-1252 text only)."),
                 "Please enter the File Extension e.g. 8bf ",
                 "The File Extension \"atn\" already belongs to \"Photoshop Action\"."}));
    QVERIFY(test::readFile(f.programDir / "PlugTypes.ini").find("Caf\xE9 (\xE9xt|0)\r\nTrue\r\n") !=
            std::string::npos);
    QVERIFY(f.context.typeTable.match("x.\xC3\x89XT").has_value());
    QCOMPARE(plugins::loadPlugTypes(f.programDir.path()), f.context.options.pluginTypes);
  }

  // Choices the old program forgot at the end of a run are stored by OK and shown again.
  void choicesOfOneRunComeBackAfterARestart() {
    PreferencesRig f;
    gui::loadOptions(f.context);
    {
      gui::PreferencesDialog dialog(f.context, f.choosers());
      test::whenModal("Preferences", [](QWidget* d) {
        d->findChildren<QCheckBox*>("Check18").value(2)->setChecked(true);  // .ffl
        d->findChild<QScrollBar*>("HScroll2")->setValue(40);
        d->findChild<QCheckBox*>("Check9")->setChecked(true);  // No Dialog
        click(d, "Command1");
      });
      QVERIFY(dialog.openOn(gui::PreferencesPage::General));
    }
    QCOMPARE(f.store.get(settings::kSettings, "Associate2"), std::string("1"));
    QCOMPARE(f.store.get(settings::kSettings, "JPGQuality"), std::string("40"));
    QCOMPARE(f.store.get(settings::kSettings, "NoDialog"), std::string(" 1"));
    f.context.options = {};
    gui::loadOptions(f.context);  // as at the next start
    gui::PreferencesDialog again(f.context, f.choosers());
    bool ticked = false, other = true;
    int quality = 0;
    test::whenModal("Preferences", [&](QWidget* d) {
      ticked = d->findChildren<QCheckBox*>("Check18").value(2)->isChecked();
      other = d->findChildren<QCheckBox*>("Check18").value(0)->isChecked();
      quality = d->findChild<QScrollBar*>("HScroll2")->value();
      click(d, "Command8");  // Cancel
    });
    again.openOn(gui::PreferencesPage::General);
    QVERIFY(ticked && !other);
    QCOMPARE(quality, 40);
    QVERIFY(f.context.options.noDialog);
  }

  // Browse then Cancel, or a refused file, leaves the template choice as it was.
  void photoshopTemplateOfAnUnknownSizeIsRefused() {
    PreferencesRig f;
    gui::loadOptions(f.context);
    gui::PreferencesDialog dialog(f.context, f.choosers());
    test::MessageCatcher messages;
    test::whenModal("Preferences", [&f](QWidget* d) {
      auto* user = d->findChild<QRadioButton*>("Option4_2");
      click(d, "Command2_1");
      QVERIFY(!user->isChecked());
      f.fileAnswer = QString::fromStdString(
          test::writeFile(f.programDir / "odd.8bf", std::string(1000, 'x')).string());
      click(d, "Command2_1");
      QVERIFY(!user->isChecked());
      f.fileAnswer = QString::fromStdString(
          test::writeFile(f.programDir / "good.8bf", std::string(57344, 'x')).string());
      click(d, "Command2_1");
      click(d, "Command1");
    });
    QVERIFY(dialog.openOn(gui::PreferencesPage::FFTF));
    QCOMPARE(messages.texts, QStringList{"Qumo doesn't know this FF plugin type."});
    QCOMPARE(f.context.options.photoshopTemplate, (f.programDir / "good.8bf").string());
    QCOMPARE(f.context.ffOptions.usedFF, ff::FFTemplate::User);
    QCOMPARE(f.context.ffOptions.userTemplate, f.programDir / "good.8bf");
  }

  void outputSettingsOfTheConvertDialogOpensTheFFTFPage() {
    test::StartedWindow w;
    w.start();
    int page = -1;
    test::whenModal("Preferences", [&page](QWidget* d) {
      page = static_cast<gui::PreferencesDialog*>(d)->tabs()->currentIndex();
      click(d, "Command8");
    });
    auto& convert = w.window->windowCommands().runner.convertDialog();
    convert.findChild<QPushButton*>("Command3")->click();
    QCOMPARE(page, static_cast<int>(gui::PreferencesPage::FFTF));
    w.close();
  }
  // Saving is asked only after a change, on a tab change and on close; Cancel keeps the file.
  void downloadAsksToSaveOnlyAfterAChange() {
    DownloadRig rig;
    test::writeFile(rig.dir / "FilterURLs.txt", "a b ; x;y\r\n\r\nc;http://c\r\n");
    test::writeFile(rig.dir / "TubeURLs.txt", "t;http://t\r\n");
    gui::DownloadWindow window(rig.dir.path(), rig.desktop);
    QCOMPARE(listed(window), (QStringList{"a b", "", "c"}));
    QCOMPARE(window.urlLabel()->text(), QString("x;y"));
    bool asked = false;  // a question would be open when the timer fires
    QTimer::singleShot(0, [&] {
      if (QWidget* modal = QApplication::activeModalWidget()) asked = true, modal->close();
    });
    window.tabs()->setCurrentIndex(1);
    QCoreApplication::processEvents();
    QVERIFY(!asked);
    QCOMPARE(listed(window), QStringList{"t"});
    window.tabs()->setCurrentIndex(0);
    QTest::keyClick(window.list(), Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(listed(window), (QStringList{"", "a b", "c"}));
    QCOMPARE(window.list()->currentRow(), 1);
    QString question;
    answerBox(QMessageBox::Ok, &question);
    window.tabs()->setCurrentIndex(1);
    QCOMPARE(question, QString("Do you want to save the changes in the Plugins List ?"));
    QCOMPARE(test::readFile(rig.dir / "FilterURLs.txt"),
             std::string("\r\na b;x;y\r\nc;http://c\r\n"));
    QCOMPARE(listed(window), QStringList{"t"});
    QVERIFY(!window.changed());

    QTest::keyClick(window.list(), Qt::Key_Delete);
    QCOMPARE(listed(window), QStringList{});
    answerBox(QMessageBox::Cancel, &question);
    QVERIFY(!window.save());
    QCOMPARE(question, QString("Do you want to save the changes in the PSP Tubes List ?"));
    QVERIFY(window.changed());
    answerBox(QMessageBox::Cancel, &question);
    window.close();
    QCOMPARE(test::readFile(rig.dir / "TubeURLs.txt"), std::string("t;http://t\r\n"));
  }

  void downloadAddEditConnectAndShare() {
    DownloadRig rig;
    gui::DownloadWindow window(rig.dir.path(), rig.desktop);  // no list file: an empty list
    QCOMPARE(window.list()->count(), 0);
    test::answerWhenModal("Add item name", "Filters");
    test::answerWhenModal("Add item URL", "https://f.example.org/");
    window.add();
    test::answerWhenModal("Edit item", "More Filters");
    window.edit(false);
    QCOMPARE(listed(window), QStringList{"More Filters"});
    window.connectSelected();
    QCOMPARE(rig.opened, QStringList{"https://f.example.org/"});
    test::answerWhenModal("Add item name", "");  // an empty name adds nothing
    test::answerWhenModal("Add item URL", "https://never.example.org/");  // were it asked
    window.add();
    QCOMPARE(window.list()->count(), 1);
    QString text;
    answerBox(QMessageBox::Ok, &text);
    window.share();
    QCOMPARE(text, QString("The URLs of this tab sheet are saved under\n\n%1/FilterURLs.txt")
                       .arg(QString::fromStdString(rig.dir.path().string())));
    answerBox(QMessageBox::Ok, &text);
    window.close();
    QCOMPARE(test::readFile(rig.dir / "FilterURLs.txt"),
             std::string("More Filters;https://f.example.org/\r\n"));
  }

  // A name the list cannot hold is asked again; a list read with lines left out is never
  // saved; a long address never widens the window.
  void downloadRefusesWhatTheListCannotHold() {
    DownloadRig rig;
    const std::string list = "a;http://a\r" + std::string(9000, 'x') + "\rb;http://b\n";
    test::writeFile(rig.dir / "FilterURLs.txt", list);
    QString text;
    answerBox(QMessageBox::Ok, &text);
    gui::DownloadWindow window(rig.dir.path(), rig.desktop);
    QCOMPARE(text, QString::fromStdString((rig.dir / "FilterURLs.txt").string() +
                                          ": line 2 is longer than 8 KB and was left out"));
    QCOMPARE(listed(window), (QStringList{"a", "b"}));

    QString refused, offered;
    test::whenModal("Add item name", [&](QWidget* modal) {
      test::whenModal("FX Download", [&](QWidget* box) {
        refused = qobject_cast<QMessageBox*>(box)->text();
        test::answerWhenModal("Add item name", QString::fromUtf8("Tom & Jerry \u00FC"), &offered);
        box->close();
      });
      qobject_cast<QInputDialog*>(modal)->setTextValue(QString::fromUtf8("Tom; Jerry \u00FC"));
      qobject_cast<QInputDialog*>(modal)->accept();
    });
    const QString longUrl = "https://x.example.org/" + QString(2300, 'u');
    test::answerWhenModal("Add item URL", longUrl);
    window.add();
    // Set again by Edit URL: an earlier test may still answer "Add item URL" its own way.
    test::answerWhenModal("Edit item", longUrl);
    window.edit(true);
    QCOMPARE(refused, QString("The name cannot contain \";\"."));
    QCOMPARE(offered, QString::fromUtf8("Tom; Jerry \u00FC"));
    QCOMPARE(listed(window).last(), QString::fromUtf8("Tom & Jerry \u00FC"));

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.width() <= window.screen()->availableGeometry().width());
    QTRY_COMPARE(window.urlLabel()->toolTip(), longUrl);
    QTRY_VERIFY(window.urlLabel()->text().size() < 200);

    answerBox(QMessageBox::Ok, &text);
    QVERIFY(!window.save());
    QCOMPARE(text, QString("The list was not read completely, so it is not saved; edit the file "
                           "itself."));
    answerBox(QMessageBox::Ok, &text);
    window.close();
    QCOMPARE(test::readFile(rig.dir / "FilterURLs.txt"), list);
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
