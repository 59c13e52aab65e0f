#include "gui/batch/select_folder_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class FakeHost final : public qm::gui::SelectFolderHost {
 public:
  fs::path active;
  fs::path passive;
  std::vector<fs::path> preferences;
  std::vector<fs::path> shownInPassive;
  std::vector<fs::path> created;

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

}  // namespace

class SelectFolderDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    temp_ = std::make_unique<qm::test::TempFolder>();
    host_ = FakeHost{};
    host_.active = temp_->path() / "left";
    host_.passive = temp_->path() / "right";
    fs::create_directories(host_.active);
    fs::create_directories(host_.passive);
    prompter_ = std::make_unique<qm::test::ScriptedPrompter>();
    dialog_ = std::make_unique<qm::gui::SelectFolderDialog>(host_, *prompter_);
  }
  void cleanup() {
    dialog_.reset();
    temp_.reset();
  }

  void listHasPresetPanesAndPreferencesEachTimeItShows() {
    host_.preferences = {"/plugins", "/more/"};
    dialog_->setPresetFolder("/dropped");
    dialog_->show();
    QCOMPARE(entries().front(), QString("/dropped/"));
    QCOMPARE(dialog_->folderText(), QString("/dropped/"));

    dialog_->hide();
    dialog_->setPresetFolder({});
    host_.active = temp_->path() / "left";
    dialog_->show();
    QCOMPARE(entries(), (QStringList{text(host_.passive) + "/", text(host_.active) + "/",
                                     "/plugins/", "/more/"}));
  }

  void browsedFolderGoesOnTop() {
    QString prompt;
    dialog_->setBrowser([&](QWidget*, const QString& p) {
      prompt = p;
      return QString("/chosen");
    });
    dialog_->show();
    button("Command1")->click();
    QCOMPARE(prompt, QString("Please select a folder ..."));
    QCOMPARE(entries().front(), QString("/chosen/"));
    QCOMPARE(dialog_->folderText(), QString("/chosen/"));
  }

  void okCreatesAMissingFolderAndShowsItInThePassivePane() {
    auto fresh = temp_->path() / "fresh";
    dialog_->show();
    combo()->setEditText(text(fresh));
    prompter_->askAnswers = {qm::Button::Yes};
    button("Command2")->click();

    QCOMPARE(prompter_->messages.size(), std::size_t{1});
    QVERIFY(prompter_->messages[0].icon == qm::Icon::Exclamation);
    QVERIFY(fs::is_directory(fresh));
    QCOMPARE(host_.created.size(), std::size_t{1});
    QCOMPARE(host_.shownInPassive.size(), std::size_t{1});
    QCOMPARE(text(host_.shownInPassive[0]), text(fresh) + "/");
    QCOMPARE(dialog_->folderText(), text(fresh) + "/");
    QVERIFY(!dialog_->isVisible());
  }

  void noToTheCreationQuestionKeepsTheDialogOpen() {
    auto fresh = temp_->path() / "fresh";
    dialog_->show();
    combo()->setEditText(text(fresh));
    prompter_->askAnswers = {qm::Button::No};
    button("Command2")->click();
    QVERIFY(dialog_->isVisible());
    QVERIFY(!fs::exists(fresh));
    QVERIFY(host_.shownInPassive.empty());
  }

  void keepPassivePaneHoldsForOneOkOnly() {
    auto other = temp_->path() / "left";
    dialog_->setKeepPassivePane(true);
    dialog_->show();
    combo()->setEditText(text(other));
    button("Command2")->click();
    QVERIFY(host_.shownInPassive.empty());
    QVERIFY(!dialog_->keepPassivePane());

    dialog_->show();
    combo()->setEditText(text(other));
    button("Command2")->click();
    QCOMPARE(host_.shownInPassive.size(), std::size_t{1});
  }

  void chooseReturnsTheFolderAndTheSubFolderOption() {
    QTimer::singleShot(0, [] {
      auto* modal = QApplication::activeModalWidget();
      modal->findChild<QCheckBox*>("Check2")->setChecked(true);
      modal->findChild<QPushButton*>("Command2")->click();
    });
    auto choice = dialog_->choose({temp_->path() / "left", true});
    QVERIFY(choice.has_value());
    QCOMPARE(text(choice->folder), text(temp_->path() / "left") + "/");
    QVERIFY(choice->createSubFolders);
    QVERIFY(host_.shownInPassive.empty());

    QTimer::singleShot(
        0, [] { QApplication::activeModalWidget()->findChild<QPushButton*>("Command3")->click(); });
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

  std::unique_ptr<qm::test::TempFolder> temp_;
  FakeHost host_;
  std::unique_ptr<qm::test::ScriptedPrompter> prompter_;
  std::unique_ptr<qm::gui::SelectFolderDialog> dialog_;
};

QTEST_MAIN(SelectFolderDialogTest)
#include "select_folder_dialog_test.moc"
