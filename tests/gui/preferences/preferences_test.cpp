// The Preferences dialog driven as a user would: buttons, the type editor, OK and Cancel.

#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include "gui/batch/convert_dialog.h"
#include "gui/gui_fixture.h"
#include "gui/main/window_commands.h"
#include "gui/preferences/preferences_dialog.h"
#include "gui/preferences/preferences_host.h"

namespace qm {
namespace {

void click(QWidget* dialog, const char* name) {
  auto* button = dialog->findChild<QPushButton*>(name);
  QVERIFY2(button, name);
  button->click();
}

QStringList items(QWidget* dialog, const char* list) {
  return test::rowTexts(dialog->findChild<QListWidget*>(list)->model());
}

struct Fixture {
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

}  // namespace

class PreferencesTest : public QObject {
  Q_OBJECT
 private slots:
  void cancelRestoresAndOkSavesAnApplicationList() {
    Fixture f;
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

    test::whenModal("Preferences", [](QWidget* d) {
      QCOMPARE(items(d, "List1_2"), QStringList{"/usr/bin/gimp"});  // the edit is gone
      click(d, "Command3_2");
      auto* list = d->findChild<QListWidget*>("List1_2");
      list->item(1)->setSelected(true);
      click(d, "Command11");
      click(d, "Command11");  // never twice
      click(d, "Command1");
    });
    QVERIFY(dialog.openOn(gui::PreferencesPage::Apps));
    QCOMPARE(f.store.get(settings::kSettings, "App1"), std::string("/opt/edit %1"));
    QCOMPARE(f.context.options.apps.size(), std::size_t{2});
  }

  void addAtTheFolderLimitIsRefusedWithoutABrowser() {
    Fixture f;
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
    Fixture f;
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

  void photoshopTemplateOfAnUnknownSizeIsRefused() {
    Fixture f;
    gui::loadOptions(f.context);
    f.fileAnswer = QString::fromStdString(
        test::writeFile(f.programDir / "odd.8bf", std::string(1000, 'x')).string());
    gui::PreferencesDialog dialog(f.context, f.choosers());
    test::MessageCatcher messages;
    test::whenModal("Preferences", [&f](QWidget* d) {
      click(d, "Command2_1");
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
};

}  // namespace qm

QTEST_MAIN(qm::PreferencesTest)
#include "preferences_test.moc"
