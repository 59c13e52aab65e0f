// The main window's menu commands.

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeDatabase>

#include "core/ff/sources.h"
#include "core/plugins/open_by_type.h"
#include "core/shell/help_links.h"
#include "gui/batch/convert_dialog.h"
#include "gui/commands/change_category_dialog.h"
#include "gui/commands/plugin_list_dialog.h"
#include "gui/download/download_window.h"
#include "gui/main/app_context.h"
#include "gui/main/duplicates_window.h"
#include "gui/main/ffl_view.h"
#include "gui/main/file_view.h"
#include "gui/main/folder_list.h"
#include "gui/main/main_window.h"
#include "gui/main/open_with_dialog.h"
#include "gui/main/outside_commands.h"
#include "gui/main/plugin_view.h"
#include "gui/main/properties_dialog.h"
#include "gui/main/tip_window.h"
#include "gui/main/unzip_commands.h"
#include "gui/main/window_commands.h"
#include "gui/picture/picture_editor.h"

namespace qm::gui {
namespace {

std::string productTitle(const QWidget& window) {
  return window.windowTitle().toStdString();
}

}  // namespace

void MainWindow::connectMenus() {
  auto on = [this](const char* name, auto slot) {
    connect(menus_.action(name), &QAction::triggered, this, slot);
  };
  on("mnuExiting", [this] { close(); });
  on("mnuRefresh", [this] { refresh(); });
  on("mnuSelectAll", [this] { selectAll(); });
  on("mnuToggleselect", [this] { toggleSelect(); });
  on("mnuFileView", [this] { showView(View::File); });
  on("mnuFilterview", [this] { showView(View::Plugin); });
  on("mnuFflview", [this] { showView(View::Ffl); });
  on("mnuShowDuplicates", [this] {
    auto* window = new DuplicatesWindow(
        context_, active()->folder(),
        [this](const std::filesystem::path& folder) { active()->setFolder(folder); }, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
  });
  on("mnuFileInformation", [this] { showProperties(); });
  on("mnuHelp", [this] { desktop_.ShowMainHelp(); });
  on("mnuHelpTutorials", [this] { desktop_.ShowHelp("tuts\\tutorials.htm"); });
  on("mnuEmailAuthor", [this] {
    desktop_.SendEmail(shell::kSupportAddress, shell::commentSubject(productTitle(*this)), "");
  });
  on("mnuEmailTechSupport", [this] {
    desktop_.SendEmail(shell::kSupportAddress, shell::supportSubject(productTitle(*this)), "");
  });
  on("mnuAbout", [this] { showAbout(); });
  on("mnuTip", [this] {
    TipWindow tips(context_.programDir, context_.store, QRandomGenerator::global()->bounded(1000),
                   this);
    tips.exec();
  });
  outside_ = new OutsideCommands(*this, context_);
  outside_->connectMenus();
  on("mnuFilterDownload", [this] { showDownloadWindow(); });
}

void MainWindow::showDownloadWindow() {
  if (!download_) {
    download_ = new DownloadWindow(context_.programDir, desktop_, this);
    download_->setAttribute(Qt::WA_DeleteOnClose);
    download_->move(geometry().center() - download_->rect().center());
  }
  download_->show();
  download_->raise();
  download_->activateWindow();
}

void MainWindow::connectCommands() {
  CommandRunner& runner = windowCommands_->runner;
  const std::pair<const char*, void (CommandRunner::*)()> entries[] = {
      {"mnuConvert", &CommandRunner::convert},
      {"mnuRename", &CommandRunner::renameFiles},
      {"mnuCopy", &CommandRunner::copyFiles},
      {"mnuMove", &CommandRunner::moveFiles},
      {"mnuDelete", &CommandRunner::deleteFiles},
      {"mnuKill", &CommandRunner::killFiles},
      {"mnuRenameFolder", &CommandRunner::renameFolder},
      {"mnuMoveFolder", &CommandRunner::moveFolder},
      {"mnuKillFolder", &CommandRunner::killFolders},
      {"mnuCreateFolder", &CommandRunner::makeFolder},
      {"mnuEnable", &CommandRunner::enableDisable},
      {"mnuChangeCat", &CommandRunner::changeCategory},
      {"mnuPlugInfo", &CommandRunner::pluginInformation},
      {"mnuListtoFile", &CommandRunner::pluginList},
      {"mnuCreateLibrary", &CommandRunner::createLibrary},
      {"mnuAdd", &CommandRunner::addToLibrary},
      {"mnuCreateBMPs", &CommandRunner::thumbnails}};
  for (auto [name, command] : entries) {
    QAction* action = menus_.action(name);
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, [this, command] {
      if (!busy()) (commandRunner().*command)();
    });
  }
  // The buttons run their command whatever the menu showed for the last selection; the
  // command itself says when the selection does not fit.
  const std::pair<const char*, void (CommandRunner::*)()> buttons[] = {
      {"convertButton", &CommandRunner::convert},
      {"enableButton", &CommandRunner::enableDisable},
      {"changeCatButton", &CommandRunner::changeCategory},
      {"createFflButton", &CommandRunner::createLibrary}};
  for (auto [button, command] : buttons)
    connect(findChild<QPushButton*>(button), &QPushButton::clicked, this, [this, command] {
      if (!busy()) (commandRunner().*command)();
    });
  QMenu* commandsMenu = menus_.menu("mnuCommands");
  connect(commandsMenu, &QMenu::aboutToShow, this, &MainWindow::updateCommandAvailability);
  // The greyed entries are only what the menu shows; shortcuts work on once it closes.
  connect(commandsMenu, &QMenu::aboutToHide, this, [this, entries] {
    for (auto [name, command] : entries) menus_.action(name)->setEnabled(true);
  });
  runner.setStatusSink([this](const QString& text) { statusText_->setText(text); });
  runner.setWindowsPlugins([this]() -> WindowsPlugins& { return windowsPlugins(); });
  commands_.changeCategory = [this](int pane, const std::string& category,
                                    const std::vector<std::size_t>& rows) {
    if (!busy()) commandRunner().changeCategoryByDrop(pane, category, rows);
  };
}

// The runner's dialogs are made when a command first runs, not with the window.
CommandRunner& MainWindow::commandRunner() {
  CommandRunner& runner = windowCommands_->runner;
  if (!dialogHelpConnected_) {
    dialogHelpConnected_ = true;
    auto showHelp = [this](const QString& page) { desktop_.ShowHelp(page.toStdString()); };
    connect(&runner.convertDialog(), &ConvertDialog::helpRequested, this, showHelp);
    connect(&runner.changeCategoryDialog(), &ChangeCategoryDialog::helpRequested, this, showHelp);
    connect(&runner.pluginListDialog(), &PluginListDialog::helpRequested, this, showHelp);
  }
  return runner;
}

void MainWindow::updateCommandAvailability() {
  Pane* p = active();
  std::vector<std::string> names;
  if (p->view() == View::File) {
    for (const auto& path : p->selectedPaths()) names.push_back(path.filename().string());
  } else if (p->view() == View::Plugin) {
    auto& catalogue = p->pluginView()->catalogue();
    for (std::size_t row : p->pluginView()->selectedRows())
      names.push_back(catalogue.row(row).path.filename().string());
  }
  if (names.empty()) return;  // with no selection nothing changes
  auto view = static_cast<plugins::PaneView>(static_cast<int>(p->view()));
  auto flags = plugins::commandAvailability(names, context_.typeTable, false, view);
  const std::pair<bool, std::vector<const char*>> groups[] = {
      {flags.a, {"mnuConvert", "mnuCreateLibrary", "mnuAdd", "mnuListtoFile", "mnuCreateBMPs"}},
      {flags.b, {"mnuEnable", "mnuPlugInfo"}},
      {flags.c, {"mnuChangeCat"}},
      {flags.d, {"mnuInvoke", "mnuPluginAbout"}}};
  for (const auto& [on, names] : groups)
    for (const char* name : names)
      if (hasCommand(*menus_.action(name))) menus_.action(name)->setEnabled(on);
}

bool MainWindow::busy() const {
  if (windowCommands_ && windowCommands_->runner.busy()) return true;
  if (outside_ && outside_->zipRunning()) return true;
  if (unzip_ && unzip_->running()) return true;
  for (Pane* p : panes_)
    if (p->pluginView()->busy()) return true;
  return false;
}

void MainWindow::refresh() {
  Pane* p = active();
  switch (p->view()) {
    case View::File:
      p->reloadFromDisk();
      break;
    case View::Plugin:
      if (!p->pluginView()->busy()) {
        bool shift = QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
        p->pluginView()->rescan(p->folder(), progress_, shift);
      }
      break;
    case View::Ffl: {
      auto library = p->fflView()->library();
      p->fflView()->forget();
      if (!library.empty()) p->fflView()->showLibrary(library);
      break;
    }
  }
}

void MainWindow::selectAll() {
  Pane* p = active();
  if (p->view() == View::Ffl) p->fflView()->selectAll();
  if (p->view() == View::Plugin) p->pluginView()->selectAll();
  if (p->view() == View::File) p->fileView()->selectAll();
}

void MainWindow::toggleSelect() {
  Pane* p = active();
  if (p->view() == View::Ffl) p->fflView()->toggleSelection();
  if (p->view() == View::Plugin) p->pluginView()->toggleSelection();
  if (p->view() == View::File) p->fileView()->toggleSelection();
}

void MainWindow::showProperties() {
  Pane* p = active();
  std::filesystem::path target;
  if (p->view() == View::Plugin) {
    auto rows = p->pluginView()->selectedRows();
    if (!rows.empty()) target = p->pluginView()->catalogue().row(rows.front()).path;
  } else {
    QString name = p->fileView()->firstSelectedName();
    if (!name.isEmpty()) target = p->folder() / name.toStdString();
  }
  // With no file the selected folder is shown.
  if (target.empty()) target = p->folderList()->highlighted();
  PropertiesDialog dialog(target, context_.typeTable, context_.ffOptions, this);
  dialog.exec();
}

void MainWindow::openFile(const std::filesystem::path& file) {
  const QString name = QString::fromStdString(file.filename().string());
  auto action = plugins::decideOpen(file.filename().string(), context_.typeTable);
  if (action == plugins::OpenAction::TextSource) {
    ff::FFRecord record;
    bool source = ff::ReadTXT(file, record, context_.ffOptions);
    action = source ? plugins::OpenAction::FilterFactoryEditor : plugins::OpenAction::Shell;
  }
  switch (action) {
    case plugins::OpenAction::PluginInformation:
      if (!busy()) commandRunner().pluginInformationFor(file);
      return;
    case plugins::OpenAction::ConvertDialog:
      // The same as pressing Convert with the library selected.
      if (!busy()) commandRunner().convert();
      return;
    case plugins::OpenAction::Shell:
      openWithDesktop(file);
      return;
    case plugins::OpenAction::PictureEditor:
      if (pictureEditor()->openFile(file)) {
        pictureEditor()->show();
        pictureEditor()->raise();
      }
      return;
    case plugins::OpenAction::FilterFactoryEditor:
    case plugins::OpenAction::TextSource:
      // A file that only looks like a filter by its name shows what it is instead.
      if (!openInFFEditor(file) && !busy()) commandRunner().pluginInformationFor(file);
      return;
  }
}

void MainWindow::openWithDesktop(const std::filesystem::path& file) {
  QString path = QString::fromStdString(file.string());
  QString type = QMimeDatabase().mimeTypeForFile(path).name();
  std::optional<platform::DesktopApp> app;
  if (auto remembered = openWith_.find(type); remembered != openWith_.end()) {
    app = remembered->second;
  } else {
    if (desktop_.openFile(file)) return;
    auto all = platform::installedApplications();
    OpenWithDialog chooser(QFileInfo(path).fileName(), platform::applicationsOpening(type, all),
                           all, this);
    // A real opener stands in for the tests' one; only the desktop's own can be missing.
    if (!context_.urlOpener && !platform::desktopOpenerInstalled())
      chooser.note()->setText(QString::fromUtf8(platform::kNoDesktopOpener.data()) +
                              QString(" Open %1 with:").arg(QFileInfo(path).fileName()));
    if (chooser.exec() != QDialog::Accepted || !chooser.chosen()) return;
    app = chooser.chosen();
    openWith_[type] = *app;
  }
  if (auto reason = platform::launchApplication(*app, path))
    prompter_.warn(QString("%1 couldn't be started:\n%2").arg(app->name, *reason).toStdString(),
                   "Quillmark");
}

void MainWindow::showAbout() {
  QMessageBox::about(this, "About Quillmark",
                     QString("<b>%1</b><p>Organises image-editor plugins and reads, converts "
                             "and creates Filter Factory filters.</p>")
                         .arg(windowTitle().toHtmlEscaped()));
}

void MainWindow::openLibraryDialog(int index) {
  Pane* p = pane(index);
  QString file = QFileDialog::getOpenFileName(this, "Open Filter Factory Library",
                                              QString::fromStdString(p->folder().string()),
                                              "Filter Factory Libraries (*.ffl);;All Files (*)");
  if (file.isEmpty()) return;
  if (!p->fflView()->showLibrary(file.toStdString()))
    prompter_.warn(p->fflView()->statusLabel()->text().toStdString(), "Quillmark");
}

}  // namespace qm::gui
