#include "gui/main/outside_commands.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "core/outside/command_line.h"
#include "core/outside/internet_shortcut.h"
#include "core/outside/photoshop_folder.h"
#include "core/outside/temp_cleaning.h"
#include "core/outside/zip_commands.h"
#include "core/shell/delete_tree.h"
#include "core/shell/help_links.h"
#include "core/shell/messages.h"
#include "gui/commands/pumping_progress.h"
#include "gui/main/app_context.h"
#include "gui/main/file_view.h"
#include "gui/main/main_window.h"
#include "gui/main/plugin_view.h"
#include "gui/preferences/preferences_host.h"
#include "platform/outside_process.h"

namespace qm::gui {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTitle = "Quillmark";
constexpr int kZipPattern = 5;  // "Zip Files (*.zip)"

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::optional<fs::path> zipProgram(const AppContext& context) {
  return outside::findZipProgram(environment("PATH"), context.programDir);
}

// What zip said, in a read-only window the user closes when done reading.
void showZipReport(QWidget* parent, const QString& title, const std::string& output) {
  auto* window = new QDialog(parent);
  window->setObjectName("zipReport");
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(title);
  auto* text = new QPlainTextEdit(QString::fromLocal8Bit(output), window);
  text->setReadOnly(true);
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
  QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
  auto* layout = new QVBoxLayout(window);
  layout->addWidget(text, 1);
  layout->addWidget(buttons);
  window->resize(640, 360);
  window->show();
}

// The zip run with the window's progress bar, which moves when the bytes to pack are known;
// Escape stops it.
platform::ProcessOutcome runZip(MainWindow& window, outside::CommandLine command,
                                const QString& status, unsigned long long totalBytes,
                                unsigned long long totalFiles, bool& running) {
  running = true;
  PumpingProgress progress(window.progress());
  window.statusText()->setText(status);
  window.progressBar()->setValue(0);
  window.progressBar()->setVisible(true);
  outside::ZipProgressMeter meter(totalBytes, totalFiles);
  if (totalBytes > 0) {
    auto options = meter.options();
    command.arguments.insert(command.arguments.begin(), options.begin(), options.end());
  }
  auto outcome = platform::runAndWait(
      command, progress, [&](std::string_view output) { progress.percent(meter.take(output)); });
  window.progressBar()->setVisible(false);
  window.statusText()->setText(outcome.cancelled ? "Stopped." : "");
  running = false;
  return outcome;
}

// Bytes and files to pack; a folder counts with everything below it.
std::pair<unsigned long long, unsigned long long> totalSize(const std::vector<fs::path>& files) {
  unsigned long long bytes = 0, count = 0;
  auto add = [&](const fs::path& file) {
    std::error_code ec;
    auto size = fs::file_size(file, ec);
    if (!ec) bytes += size;
    ++count;
  };
  for (const fs::path& file : files) {
    std::error_code ec;
    if (!fs::is_directory(file, ec)) {
      add(file);
      continue;
    }
    for (fs::recursive_directory_iterator it(file, ec), end; !ec && it != end; it.increment(ec))
      if (it->is_regular_file(ec)) add(it->path());
  }
  return {bytes, count};
}

// What Add to Zip packs: the selected files and sub folders of the File View, or the file of
// each selected Plugin View filter once.
std::vector<fs::path> zipSelection(Pane& pane) {
  std::vector<fs::path> files;
  if (pane.view() == View::Plugin) {
    PluginView* plugins = pane.pluginView();
    for (std::size_t row : plugins->selectedRows()) {
      if (row == 0 || row > plugins->catalogue().rowCount()) continue;
      const fs::path& path = plugins->catalogue().row(row).path;
      if (std::find(files.begin(), files.end(), path) == files.end()) files.push_back(path);
    }
    return files;
  }
  files = pane.selectedPaths();
  for (const QString& folder : pane.fileView()->selectedFolderNames())
    files.push_back(pane.folder() / folder.toStdString());
  return files;
}

std::string failureText(const platform::ProcessOutcome& outcome) {
  std::string text = "zip stopped with error " + std::to_string(outcome.exitCode) + ".";
  if (!outcome.output.empty()) text += "\n\n" + outcome.output;
  return text;
}

}  // namespace

OutsideCommands::OutsideCommands(MainWindow& window, AppContext& context)
    : QObject(&window), window_(window), context_(context) {}

void OutsideCommands::connectMenus() {
  const MainMenus& menus = window_.menus();
  auto on = [this, &menus](const char* name, auto slot) {
    connect(menus.action(name), &QAction::triggered, this, slot);
  };
  on("mnuAddtoZip", [this] { addToZip(); });
  on("mnuTestZip", [this] { testZip(); });
  on("mnuClearTmp", [this] { gainHarddiscSpace(); });
  on("mnuPhotoshopPluginsFolder", [this] { goToPhotoshopPluginsFolder(); });
  on("mnuAddURL0", [this] { addHomePageBookmark(); });
  on("mnuAddURL1", [this] { addHomePageShortcutOnDesktop(); });

  connect(menus.menu("mnuAppsMenu"), &QMenu::triggered, this, [this](QAction* a) {
    if (a->objectName() == "mnuApps") runApplication(a->data().toInt());
  });
  connect(menus.menu("mnuDirs"), &QMenu::triggered, this, [this](QAction* a) {
    if (a->objectName() == "mnuDirectorys") goToListedFolder(a->text());
  });
}

void OutsideCommands::addToZip() {
  if (window_.busy()) return;
  Pane* pane = window_.active();
  std::vector<fs::path> files = zipSelection(*pane);
  std::vector<std::string> names;
  for (const fs::path& file : files)
    names.push_back(file.lexically_relative(pane->folder()).string());
  if (names.empty()) {
    window_.prompter().warn(shell::kSelectFiles, shell::kAttentionTitle);
    return;
  }
  QString current = pane->fileView()->currentName();
  auto name = window_.prompter().askText(
      outside::kZipNameCaption, outside::presetZipName(pane->fileView()->nativeName(current)));
  if (!name || name->empty()) return;
  auto zip = zipProgram(context_);
  if (!zip) {
    window_.prompter().warn(outside::kZipNotFound, kTitle);
    return;
  }
  auto command = outside::addToZipCommand(*zip, pane->folder(), *name, names);
  auto [bytes, count] = totalSize(files);
  auto outcome =
      runZip(window_, command, QString("Adding to %1...").arg(QString::fromStdString(*name)), bytes,
             count, zipRunning_);
  if (!outcome.started)
    window_.prompter().warn(outside::kZipNotFound, kTitle);
  else if (!outcome.cancelled && outcome.exitCode != 0)
    window_.prompter().warn(failureText(outcome), kTitle);
  pane->setPatternChoice({kZipPattern, std::nullopt});
  for (int i = 0; i < 2; ++i) window_.pane(i)->reloadFromDisk();
}

void OutsideCommands::testZip() {
  if (window_.busy()) return;
  Pane* pane = window_.active();
  std::string current = pane->fileView()->nativeName(pane->fileView()->currentName());
  if (!outside::isZipArchiveName(current)) return;
  auto zip = zipProgram(context_);
  if (!zip) {
    window_.prompter().warn(outside::kZipNotFound, kTitle);
    return;
  }
  fs::path archive = pane->folder() / current;
  QString name = QString::fromStdString(archive.filename().string());
  auto outcome = runZip(window_, outside::testZipCommand(*zip, archive),
                        QString("Testing %1...").arg(name), 0, 0, zipRunning_);
  if (!outcome.started) {
    window_.prompter().warn(outside::kZipNotFound, kTitle);
    return;
  }
  if (outcome.cancelled) return;
  showZipReport(&window_, QString("Test Zip - %1").arg(name), outcome.output);
}

void OutsideCommands::gainHarddiscSpace() {
  if (window_.busy()) return;
  fs::path temporary = QDir::tempPath().toStdString();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  outside::CleaningResult result = outside::cleanTemporaryFolder(temporary, outside::diskFacts());
  QApplication::restoreOverrideCursor();
  // A plain box: the gain is news, neither good nor bad; what stayed is said in it.
  window_.prompter().ask(outside::cleaningText(result), kTitle, Buttons::Ok, Icon::None);
}

void OutsideCommands::runApplication(int index) {
  const auto& apps = context_.options.apps;
  if (index < 0 || static_cast<std::size_t>(index) >= apps.size()) return;
  const std::string& entry = apps[static_cast<std::size_t>(index)];
  Pane* pane = window_.active();
  std::string selected;
  QString current = pane->fileView()->currentName();
  if (!current.isEmpty() && current != " ..")
    selected = (pane->folder() / pane->fileView()->nativeName(current)).string();
  else if (auto files = pane->selectedPaths(); !files.empty())
    selected = files.front().string();
  auto words = outside::applicationCommand(entry, selected);
  if (!words || !platform::startDetached(*words, pane->folder()))
    window_.prompter().warn(outside::cannotStartText(entry), kTitle);
}

void OutsideCommands::goToListedFolder(const QString& caption) {
  if (caption.isEmpty()) {
    openPreferences(window_, PreferencesPage::Folders);
    return;
  }
  QString folder = caption.endsWith('/') ? caption : caption + '/';
  if (!QFileInfo(folder).isDir()) {
    window_.prompter().inform((folder + "  doesn't exist anymore.").toStdString(), kTitle);
    std::erase(context_.options.folders, caption.toStdString());
    rebuildListMenus(window_, context_.options);
    return;
  }
  window_.active()->setFolder(QDir(folder).absolutePath().toStdString());
  QDir::setCurrent(folder);
}

void OutsideCommands::goToPhotoshopPluginsFolder() {
  auto folder = outside::photoshopPluginsFolder("", environment("WINEPREFIX"),
                                                QDir::homePath().toStdString());
  if (!folder) return;
  window_.active()->setFolder(*folder);
  QDir::setCurrent(QString::fromStdString(folder->string()));
}

void OutsideCommands::addHomePageBookmark() {
  fs::path bookmarks =
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
  bookmarks = bookmarks / "gtk-3.0" / "bookmarks";
  auto result = outside::addBookmark(bookmarks, shell::kHomePage, shell::kHomePageTitle);
  if (result == outside::BookmarkResult::Failed)
    window_.prompter().warn("Couldn't write " + bookmarks.string(), kTitle);
  else
    window_.statusText()->setText("The home page is in the file chooser's bookmarks.");
}

void OutsideCommands::addHomePageShortcutOnDesktop() {
  // The XDG desktop folder (user-dirs.dirs), made when the desktop never made it.
  fs::path desktop =
      QStandardPaths::writableLocation(QStandardPaths::DesktopLocation).toStdString();
  std::string reason =
      outside::writeInternetShortcut(desktop, shell::kHomePageTitle, shell::kHomePage);
  if (!reason.empty())
    window_.prompter().warn("Couldn't write a shortcut into " + desktop.string() + ": " + reason,
                            kTitle);
  else
    window_.statusText()->setText("The home page shortcut is on the desktop.");
}

}  // namespace qm::gui
