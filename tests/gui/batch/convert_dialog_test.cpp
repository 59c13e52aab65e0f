#include "gui/batch/convert_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMirror =
    "Category: Samples\r\nTitle: Mirror\r\nFilename: mirror.8bf\r\n\r\n"
    "R:src(X-x-1,y,z)\r\n\r\nG:g\r\n\r\nB:b\r\n\r\nA:a\r\n";

}  // namespace

class ConvertDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void formatChoiceSwitchesOutputSettingsAndMacAdaption() {
    qm::gui::ConvertDialog dialog;
    auto* settings = dialog.findChild<QPushButton*>("Command3");
    auto* mac = dialog.findChild<QCheckBox*>("Check3");
    auto* format = dialog.findChild<QComboBox*>("Combo1");
    QCOMPARE(dialog.windowTitle(), QString("Convert"));
    QCOMPARE(format->currentText(), QString("Photoshop FF Plugin"));
    QCOMPARE(dialog.choice().target, 0);
    QVERIFY(settings->isEnabled());
    QVERIFY(!mac->isEnabled());

    format->setCurrentText("AFS File");
    QCOMPARE(dialog.choice().target, 3);
    QVERIFY(!settings->isEnabled());
    QVERIFY(mac->isEnabled());

    dialog.setTarget(5);
    QCOMPARE(format->currentText(), QString("Text File"));
    dialog.setTarget(0);
    QVERIFY(settings->isEnabled());
    QVERIFY(!mac->isEnabled());
  }

  void helpButtonAndF1AskForTheConvertPage() {
    qm::gui::ConvertDialog dialog;
    QSignalSpy help(&dialog, &qm::gui::ConvertDialog::helpRequested);
    dialog.show();
    dialog.findChild<QPushButton*>("Command4")->click();
    QTest::keyClick(&dialog, Qt::Key_F1);
    QCOMPARE(help.count(), 2);
    QCOMPARE(help.at(1).at(0).toString(), QString("buttonbar_Convert.htm"));
  }

  void nothingSelectedOutsideFflViewIsRefused() {
    qm::test::ScriptedPrompter prompter;
    QVERIFY(!qm::gui::mayStartConvert(prompter, false, false));
    QCOMPARE(prompter.messages.size(), std::size_t{1});
    QCOMPARE(prompter.messages[0].text, std::string("Please select one or more files."));
    QCOMPARE(prompter.messages[0].title, std::string("Attention"));
    QVERIFY(qm::gui::mayStartConvert(prompter, false, true));
    QVERIFY(qm::gui::mayStartConvert(prompter, true, false));
    QCOMPARE(prompter.messages.size(), std::size_t{1});
  }

  void cancelChoosesNothingAndKeepsTheChoices() {
    qm::gui::ConvertDialog dialog;
    dialog.setTarget(4);
    QTimer::singleShot(0, [] {
      auto* modal = QApplication::activeModalWidget();
      modal->findChild<QCheckBox*>("Check2")->setChecked(true);
      modal->findChild<QPushButton*>("Command2")->click();
    });
    QVERIFY(!dialog.choose().has_value());
    QVERIFY(!dialog.isVisible());

    QTimer::singleShot(
        0, [] { QApplication::activeModalWidget()->findChild<QPushButton*>("Command1")->click(); });
    auto choice = dialog.choose();
    QVERIFY(choice.has_value());
    QCOMPARE(choice->target, 4);
    QVERIFY(choice->namesFromTitles);
  }

  void runWritesTheSelectionIntoTheChosenFolder() {
    qm::test::TempFolder temp;
    auto source = qm::test::writeFile(temp / "in" / "mirror.txt", kMirror);
    fs::create_directories(temp / "out");
    qm::test::ScriptedPrompter prompter;
    prompter.folderChoice = qm::FolderChoice{temp / "out", false};
    qm::SilentProgress progress;
    qm::ff::FFOptions options;
    options.programDir = temp.path();

    qm::gui::ConvertChoice choice;
    choice.target = qm::ff::kTargetAfs;
    auto report =
        qm::gui::runConvert(choice, {source}, false, std::nullopt, options, prompter, progress);
    QCOMPARE(report.written.size(), std::size_t{1});
    QVERIFY(fs::exists(temp / "out" / "mirror.afs"));

    // FFL View without the clipboard converts nothing.
    fs::remove(temp / "out" / "mirror.afs");
    report = qm::gui::runConvert(choice, {source}, true, std::nullopt, options, prompter, progress);
    QVERIFY(report.written.empty());
    QVERIFY(fs::is_empty(temp / "out"));
  }
};

QTEST_MAIN(ConvertDialogTest)
#include "convert_dialog_test.moc"
