// A copy from the engine answered through the real dialogs: Select Folder for the
// destination, Overwrite for the existing file.

#include "gui/batch/batch_prompter.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest>

#include "core/shell/file_commands.h"
#include "gui/modal.h"
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

    const QString out = QString::fromStdString((temp / "out").string());
    qm::test::whenModal("Select Folder", [out](QWidget* d) {
      d->findChild<QComboBox*>("Combo1")->setEditText(out);
      d->findChild<QPushButton*>("Command2")->click();
    });
    qm::test::whenModal("Overwrite?",
                        [](QWidget* d) { d->findChild<QPushButton*>("overwriteButton")->click(); });
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
