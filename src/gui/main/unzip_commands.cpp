#include "gui/main/unzip_commands.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "core/batch/overwrite_check.h"
#include "core/common/text_lines.h"
#include "core/ff/plugin_file_io.h"
#include "core/outside/zip_commands.h"
#include "core/outside/zip_extract.h"
#include "gui/commands/pumping_progress.h"
#include "gui/main/app_context.h"
#include "gui/main/file_view.h"
#include "gui/main/main_window.h"
#include "gui/main/pane.h"
#include "platform/outside_process.h"

namespace qm::gui {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTitle = "Unzip";
constexpr std::uint64_t kLargestListed = std::uint64_t{4} << 30;

QString text(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

// A name beside archive that no file has yet: NAME-repaired.zip, NAME-repaired-2.zip, ...
fs::path freeNameBeside(const fs::path& archive, const std::string& word) {
  const std::string stem = archive.stem().string() + "-" + word;
  fs::path candidate = archive.parent_path() / (stem + ".zip");
  for (int n = 2; fs::exists(fs::symlink_status(candidate)); ++n)
    candidate = archive.parent_path() / (stem + "-" + std::to_string(n) + ".zip");
  return candidate;
}

void showMembers(QWidget* parent, const fs::path& archive,
                 const std::vector<outside::PlannedMember>& plan) {
  auto* window = new QDialog(parent);
  window->setObjectName("viewZip");
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(QString("View Zip - %1").arg(text(archive.filename().string())));
  auto* list = new QTreeWidget(window);
  list->setObjectName("zipMembers");
  list->setHeaderLabels({"Name", "Size", "Packed", "Date"});
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  std::uint64_t total = 0;
  const QLocale locale;
  for (const auto& p : plan) {
    const auto& m = p.member;
    total += m.size;
    auto* row = new QTreeWidgetItem(
        list, {text(m.name), locale.toString(qulonglong(m.size)),
               locale.toString(qulonglong(m.compressedSize)), text(outside::zipMemberDate(m))});
    row->setTextAlignment(1, Qt::AlignRight);
    row->setTextAlignment(2, Qt::AlignRight);
    row->setToolTip(0, text(m.name));
    if (!p.refusal.empty()) {
      // Unzip would leave it out: say why where the user looks.
      row->setForeground(0, QBrush(Qt::red));
      row->setToolTip(0, QString("Not unpacked: %1").arg(text(p.refusal)));
    }
  }
  list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int c = 1; c < 4; ++c)
    list->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
  auto* summary = new QLabel(QString("%1 members, %2 bytes unpacked")
                                 .arg(plan.size())
                                 .arg(locale.toString(qulonglong(total))),
                             window);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
  QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
  auto* layout = new QVBoxLayout(window);
  layout->addWidget(list, 1);
  layout->addWidget(summary);
  layout->addWidget(buttons);
  window->resize(640, 400);
  window->show();
}

}  // namespace

UnzipCommands::UnzipCommands(MainWindow& window, AppContext& context)
    : QObject(&window), window_(window), context_(context) {}

void UnzipCommands::connectMenus() {
  const MainMenus& menus = window_.menus();
  auto on = [this, &menus](const char* name, auto slot) {
    QAction* action = menus.action(name);
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, slot);
  };
  on("mnuViewZip", [this] { viewZip(); });
  on("mnuZipUnzip", [this] { unzip(false); });
  on("mnuUnzipit", [this] { unzip(false); });
  on("mnuUnzipInstall", [this] { unzip(true); });
  on("mnuRepairZip", [this] { repair(false); });
  on("mnuRescueZip", [this] { repair(true); });
}

std::vector<fs::path> UnzipCommands::selectedArchives() {
  std::vector<fs::path> archives;
  for (const auto& path : window_.active()->selectedPaths())
    if (outside::isZipArchiveName(path.filename().string())) archives.push_back(path);
  if (archives.empty()) window_.prompter().warn("Please select one or more zip archives.", kTitle);
  return archives;
}

void UnzipCommands::viewZip() {
  const auto archives = selectedArchives();
  for (const auto& archive : archives) {
    auto bytes = ff::readFileBytes(archive, kLargestListed, "too large to list");
    if (!bytes) {
      window_.prompter().warn(archive.string() + ": " + bytes.error(), "View Zip");
      continue;
    }
    auto members = outside::readZipDirectory(ByteView(*bytes));
    if (!members) {
      window_.prompter().warn(archive.string() + ": " + members.error(), "View Zip");
      continue;
    }
    showMembers(&window_, archive, outside::planExtraction(*members));
  }
}

void UnzipCommands::unzip(bool showResult) {
  if (window_.busy()) return;
  const auto archives = selectedArchives();
  if (archives.empty()) return;
  const int passive = 1 - window_.activePane();
  const fs::path target = window_.pane(passive)->folder();
  running_ = true;
  PumpingProgress progress(window_.progress());
  window_.progressBar()->setValue(0);
  window_.progressBar()->setVisible(true);
  batch::OverwriteCheck overwrite(window_.prompter());
  overwrite({}, {});
  std::vector<fs::path> written;
  std::vector<std::string> problems;
  std::size_t kept = 0;
  bool stopped = false;
  for (const auto& archive : archives) {
    auto report = outside::extractZip(archive, target, overwrite, progress);
    written.insert(written.end(), report.written.begin(), report.written.end());
    kept += report.skipped.size();
    for (auto& line : outside::problemLines(report.refused))
      problems.push_back(archive.filename().string() + ": " + line);
    if ((stopped = report.cancelled)) break;
  }
  overwrite({}, {});
  window_.progressBar()->setVisible(false);
  running_ = false;
  std::string summary = std::to_string(written.size()) + " written, " + std::to_string(kept) +
                        " kept, " + std::to_string(problems.size()) + " refused" +
                        (stopped ? "; stopped." : ".");
  window_.statusText()->setText(text(summary));
  if (!problems.empty())
    window_.prompter().warn(summary + "\n\n" + joinedText(problems, "\n"), kTitle);
  for (int i = 0; i < 2; ++i) window_.pane(i)->reloadFromDisk();
  if (showResult) showUnpacked(written);
}

// The passive pane shows the folder of the first unpacked plugin with every unpacked plugin
// of that folder selected, so the next command (Copy, Move) installs them.
void UnzipCommands::showUnpacked(const std::vector<fs::path>& written) {
  std::vector<fs::path> plugins;
  for (const auto& file : written)
    if (context_.typeTable.match(file.filename().string())) plugins.push_back(file);
  if (plugins.empty()) plugins = written;
  if (plugins.empty()) return;
  Pane* pane = window_.pane(1 - window_.activePane());
  const fs::path folder = plugins.front().parent_path();
  pane->setFolder(folder);
  pane->reloadFromDisk();
  QStringList names;
  for (const auto& file : plugins)
    if (file.parent_path() == folder) names << text(file.filename().string());
  pane->fileView()->reselect(names, names.front());
  window_.setActivePane(1 - window_.activePane());
}

void UnzipCommands::repair(bool rescue) {
  if (window_.busy()) return;
  const auto archives = selectedArchives();
  if (archives.empty()) return;
  const char* path = std::getenv("PATH");
  auto zip = outside::findZipProgram(path ? path : "", context_.programDir);
  if (!zip) {
    window_.prompter().warn(outside::kZipNotFound, kTitle);
    return;
  }
  std::vector<std::string> results;
  running_ = true;
  PumpingProgress progress(window_.progress());
  for (const auto& archive : archives) {
    const fs::path mended = freeNameBeside(archive, rescue ? "rescued" : "repaired");
    outside::CommandLine command{
        *zip,
        {rescue ? "-FF" : "-F", archive.string(), "--out", mended.string()},
        archive.parent_path()};
    window_.statusText()->setText(
        QString("%1 %2...")
            .arg(rescue ? "Rescuing" : "Repairing", text(archive.filename().string())));
    // zip gets no input, so a question of -FF takes its default answer.
    auto outcome = platform::runAndWait(command, progress);
    if (!outcome.started) {
      results.emplace_back(outside::kZipNotFound);
      break;
    }
    if (outcome.cancelled) {
      std::error_code ec;
      fs::remove(mended, ec);
      results.push_back(archive.filename().string() + ": stopped.");
      break;
    }
    results.push_back(outcome.exitCode == 0
                          ? archive.filename().string() + ": written as " +
                                mended.filename().string()
                          : archive.filename().string() + ": zip stopped with error " +
                                std::to_string(outcome.exitCode) + ".\n" + outcome.output);
  }
  running_ = false;
  window_.statusText()->clear();
  window_.prompter().inform(joinedText(results, "\n"), rescue ? "Rescue Zip" : "Repair Zip");
  for (int i = 0; i < 2; ++i) window_.pane(i)->reloadFromDisk();
}

}  // namespace qm::gui
