// The batch dialogs: Overwrite's lines and answers, Convert's choices, and Select Folder's
// list, creation question and passive-pane rule.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "gui/batch/convert_dialog.h"
#include "gui/batch/overwrite_dialog.h"
#include "gui/batch/select_folder_dialog.h"
#include "gui/modal.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace qm;

class FakeHost final : public gui::SelectFolderHost {
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

// Clicks the named button of the next modal dialog, after ticking the named check box.
void onNextModal(QString button, QString tick = {}) {
  test::whenModal({}, [=](QWidget* modal) {
    if (!tick.isEmpty()) modal->findChild<QCheckBox*>(tick)->setChecked(true);
    modal->findChild<QPushButton*>(button)->click();
  });
}

QLabel* label(QDialog& dialog, const char* name) {
  return dialog.findChild<QLabel*>(name);
}

}  // namespace

class BatchDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    temp_ = std::make_unique<test::TempFolder>();
    host_ = FakeHost{};
    host_.active = temp_->path() / "left";
    host_.passive = temp_->path() / "right";
    fs::create_directories(host_.active);
    fs::create_directories(host_.passive);
    prompter_ = std::make_unique<test::ScriptedPrompter>();
    dialog_ = std::make_unique<gui::SelectFolderDialog>(host_, *prompter_);
  }
  void cleanup() {
    dialog_.reset();
    temp_.reset();
  }

  void overwriteShowsTheSourceLineOnlyWithASource() {
    gui::OverwriteDialog dialog;
    dialog.setQuestion({"/out/a.afs  (12 bytes, 2026-01-02)", "/in/a.8bf  (57344 bytes, x) ?"});
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QString("Overwrite?"));
    QCOMPARE(label(dialog, "destinationLine")->text(),
             QString("/out/a.afs  (12 bytes, 2026-01-02)"));
    QCOMPARE(label(dialog, "sourceLine")->text(), QString("/in/a.8bf  (57344 bytes, x) ?"));
    QCOMPARE(label(dialog, "withLabel")->text(), QString("With:"));
    QVERIFY(label(dialog, "withLabel")->isVisible());
    dialog.setQuestion({"/out/a.afs  (1 bytes, x) ?", std::nullopt});
    QVERIFY(!label(dialog, "withLabel")->isVisible() && !label(dialog, "sourceLine")->isVisible());
    QCOMPARE(label(dialog, "destinationLine")->text(), QString("/out/a.afs  (1 bytes, x) ?"));
  }

  void overwriteButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("code");
    // clang-format off
    QTest::newRow("overwrite") << "overwriteButton" << "Overwrite" << 0;
    QTest::newRow("ignore") << "ignoreButton" << "Ignore" << 1;
    QTest::newRow("overwrite all") << "overwriteAllButton" << "Overwrite All" << 2;
    QTest::newRow("ignore all") << "ignoreAllButton" << "Ignore All" << 3;
    QTest::newRow("cancel") << "cancelButton" << "Cancel" << 4;
    // clang-format on
  }
  void overwriteButtons() {
    QFETCH(QString, button);
    QFETCH(QString, caption);
    QFETCH(int, code);
    gui::OverwriteDialog dialog;
    QCOMPARE(dialog.findChild<QPushButton*>(button)->text(), caption);
    onNextModal(button);
    QCOMPARE(static_cast<int>(dialog.ask({"/out/a  (1 bytes, x) ?", std::nullopt})), code);
    QVERIFY(!dialog.isVisible());
  }

  void convertFormatSwitchesSettingsAndMacAdaption() {
    gui::ConvertDialog dialog;
    auto* settings = dialog.findChild<QPushButton*>("Command3");
    auto* mac = dialog.findChild<QCheckBox*>("Check3");
    auto* format = dialog.findChild<QComboBox*>("Combo1");
    QCOMPARE(dialog.windowTitle(), QString("Convert"));
    QCOMPARE(format->currentText(), QString("Photoshop FF Plugin"));
    QVERIFY(dialog.choice().target == 0 && settings->isEnabled() && !mac->isEnabled());
    format->setCurrentText("AFS File");
    QVERIFY(dialog.choice().target == 3 && !settings->isEnabled() && mac->isEnabled());
    dialog.setTarget(5);
    QCOMPARE(format->currentText(), QString("Text File"));
    dialog.setTarget(0);
    QVERIFY(settings->isEnabled() && !mac->isEnabled());
  }

  void convertHelpAndCancel() {
    gui::ConvertDialog dialog;
    QSignalSpy help(&dialog, &gui::ConvertDialog::helpRequested);
    dialog.show();
    dialog.findChild<QPushButton*>("Command4")->click();
    QTest::keyClick(&dialog, Qt::Key_F1);
    QCOMPARE(help.count(), 2);
    QCOMPARE(help.at(1).at(0).toString(), QString("buttonbar_Convert.htm"));
    // Cancel chooses nothing but keeps what was ticked.
    gui::ConvertDialog choosing;
    choosing.setTarget(4);
    onNextModal("Command2", "Check2");
    QVERIFY(!choosing.choose().has_value());
    onNextModal("Command1");
    auto choice = choosing.choose();
    QVERIFY(choice && choice->target == 4 && choice->namesFromTitles);
  }

  // The FFL View without the clipboard has no source to convert.
  void convertInTheFflViewNeedsTheClipboard() {
    auto source = test::writeFile(*temp_ / "in" / "m.txt",
                                  "Category: S\r\nTitle: M\r\nFilename: m.8bf\r\n\r\n"
                                  "R:r\r\n\r\nG:g\r\n\r\nB:b\r\n\r\nA:a\r\n");
    prompter_->folderChoice = FolderChoice{*temp_ / "right", false};
    SilentProgress progress;
    ff::FFOptions options;
    options.programDir = temp_->path();
    gui::ConvertChoice choice;
    choice.target = ff::kTargetAfs;
    for (bool fflView : {true, false}) {
      auto report =
          gui::runConvert(choice, {source}, fflView, std::nullopt, options, *prompter_, progress);
      QCOMPARE(report.written.size(), std::size_t{fflView ? 0u : 1u});
      QCOMPARE(fs::exists(*temp_ / "right" / "m.afs"), !fflView);
    }
  }

  void folderListHasPresetPanesAndPreferences() {
    host_.preferences = {"/plugins", "/more/"};
    dialog_->setPresetFolder("/dropped");
    dialog_->show();
    QCOMPARE(entries().front(), QString("/dropped/"));
    QCOMPARE(dialog_->folderText(), QString("/dropped/"));
    dialog_->hide();
    dialog_->setPresetFolder({});
    dialog_->show();
    QCOMPARE(entries(), (QStringList{text(host_.passive) + "/", text(host_.active) + "/",
                                     "/plugins/", "/more/"}));
    // A browsed folder goes on top.
    QString prompt;
    dialog_->setBrowser([&](QWidget*, const QString& p) {
      prompt = p;
      return QString("/chosen");
    });
    button("Command1")->click();
    QCOMPARE(prompt, QString("Please select a folder ..."));
    QCOMPARE(entries().front(), QString("/chosen/"));
    QCOMPARE(dialog_->folderText(), QString("/chosen/"));
  }

  void missingFolderIsCreatedOnlyAfterYes() {
    auto fresh = temp_->path() / "fresh";
    dialog_->show();
    combo()->setEditText(text(fresh));
    prompter_->askAnswers = {Button::No, Button::Yes};
    button("Command2")->click();
    QVERIFY(dialog_->isVisible() && !fs::exists(fresh) && host_.shownInPassive.empty());
    button("Command2")->click();
    QCOMPARE(prompter_->messages.size(), std::size_t{2});
    QVERIFY(prompter_->messages[1].icon == Icon::Exclamation);
    QVERIFY(fs::is_directory(fresh));
    QCOMPARE(host_.created.size(), std::size_t{1});
    QCOMPARE(host_.shownInPassive.size(), std::size_t{1});
    QCOMPARE(text(host_.shownInPassive[0]), text(fresh) + "/");
    QVERIFY(!dialog_->isVisible());
  }

  void keepPassivePaneHoldsForOneOkOnly() {
    dialog_->setKeepPassivePane(true);
    for (std::size_t shown : {0, 1}) {
      dialog_->show();
      combo()->setEditText(text(host_.active));
      button("Command2")->click();
      QCOMPARE(host_.shownInPassive.size(), shown);
      QVERIFY(!dialog_->keepPassivePane());
    }
  }

  void chooseGivesTheFolderAndTheSubFolderOption() {
    onNextModal("Command2", "Check2");
    auto choice = dialog_->choose({host_.active, true});
    QVERIFY(choice && choice->createSubFolders);
    QCOMPARE(text(choice->folder), text(host_.active) + "/");
    QVERIFY(host_.shownInPassive.empty());
    onNextModal("Command3");
    QVERIFY(!dialog_->choose({}).has_value());
    QCOMPARE(dialog_->folderText(), QString());
  }

 private:
  QComboBox* combo() { return dialog_->findChild<QComboBox*>("Combo1"); }
  QPushButton* button(const char* name) { return dialog_->findChild<QPushButton*>(name); }
  QStringList entries() {
    QStringList items;
    for (int i = 0; i < combo()->count(); ++i) items << combo()->itemText(i);
    return items;
  }

  std::unique_ptr<test::TempFolder> temp_;
  FakeHost host_;
  std::unique_ptr<test::ScriptedPrompter> prompter_;
  std::unique_ptr<gui::SelectFolderDialog> dialog_;
};

QTEST_MAIN(BatchDialogsTest)
#include "batch_dialogs_test.moc"
