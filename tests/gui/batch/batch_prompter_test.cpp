// A copy from the engine answered through the real dialogs: Select Folder for the
// destination, Overwrite for the existing file.

#include "gui/batch/batch_prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "core/shell/file_commands.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class Host final : public qm::gui::SelectFolderHost {
 public:
  fs::path active, passive;
  fs::path activePaneFolder() const override { return active; }
  fs::path passivePaneFolder() const override { return passive; }
  std::vector<fs::path> preferenceFolders() const override { return {}; }
  void showInPassivePane(const fs::path& folder) override { passive = folder; }
  void folderCreated(const fs::path&) override {}
};

// Presses a button of the modal dialog with the given title once it shows, after setting its
// folder text; polls, because each dialog opens only when the engine gets to its question.
void pressWhenShown(QString title, QString button, QString folderText = {}, int triesLeft = 500) {
  QTimer::singleShot(10, [=] {
    auto* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal->windowTitle() != title) {
      if (triesLeft > 0) pressWhenShown(title, button, folderText, triesLeft - 1);
      return;
    }
    if (!folderText.isEmpty()) modal->findChild<QComboBox*>("Combo1")->setEditText(folderText);
    modal->findChild<QPushButton*>(button)->click();
  });
}

}  // namespace

class BatchPrompterTest : public QObject {
  Q_OBJECT

 private slots:
  void copyAsksThroughTheDialogs() {
    qm::test::TempFolder temp;
    Host host;
    host.active = temp / "left";
    host.passive = temp / "right";
    auto file = qm::test::writeFile(temp / "left" / "a.8bf", "new");
    qm::test::writeFile(temp / "out" / "a.8bf", "old");
    qm::test::ScriptedPrompter inner;
    qm::gui::SelectFolderDialog selectFolder(host, inner);
    qm::gui::OverwriteDialog overwriteDialog;
    qm::gui::BatchPrompter prompter(inner, selectFolder, overwriteDialog);
    qm::SilentProgress progress;
    qm::shell::DiskFs disk;
    qm::batch::OverwriteCheck overwrite(prompter);
    qm::shell::ShellPorts ports{prompter, progress, disk, overwrite};
    qm::shell::ShellRequest request;
    request.active = {host.active, qm::shell::PaneView::File};
    request.passive = {host.passive, qm::shell::PaneView::File};
    request.selectedFiles = {file};

    pressWhenShown("Select Folder", "Command2", QString::fromStdString((temp / "out").string()));
    pressWhenShown("Overwrite?", "overwriteButton");
    auto outcome = qm::shell::cmd_CopyFiles(ports, request);

    QCOMPARE(outcome.done.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(qm::test::readFile(temp / "out" / "a.8bf")), QString("new"));
    QCOMPARE(QString::fromStdString(host.passive.string()),
             QString::fromStdString((temp / "out").string()) + "/");
    QVERIFY(inner.messages.empty());
  }
};

QTEST_MAIN(BatchPrompterTest)
#include "batch_prompter_test.moc"
