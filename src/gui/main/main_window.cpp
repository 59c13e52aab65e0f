#include "gui/main/main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/settings/startup.h"
#include "gui/main/app_context.h"
#include "gui/main/ffl_view.h"
#include "gui/main/file_view.h"
#include "gui/main/folder_list.h"
#include "gui/main/plugin_view.h"
#include "gui/main/screen_fit.h"
#include "gui/main/window_commands.h"
#include "gui/shell/help_viewer.h"

namespace qm::gui {
namespace {

QPushButton* commandButton(const QString& caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  return button;
}

}  // namespace

MainWindow::MainWindow(AppContext& context, QWidget* parent)
    : QMainWindow(parent),
      context_(context),
      menus_(buildMenus(*menuBar())),
      prompter_(this),
      desktop_(context.programDir,
               context.urlOpener
                   ? context.urlOpener
                   : platform::desktopUrlOpener(
                         [this](std::string_view text) { prompter_.warn(text, "Quillmark"); },
                         [this](const QString& page) { showHelpPage(page, this); }),
               [this](std::string_view text) { prompter_.warn(text, "Quillmark"); }) {
  setObjectName("Form1");
  setWindowIcon(icons_.button(ButtonPicture::Logo));
  fileViewModeMenu_ = buildFileViewModeMenu(this);
  buildCentral();
  connectMenus();
  connect(fileViewModeMenu_, &QMenu::triggered, this,
          [this](QAction* a) { setFileViewMode(a->data().toInt()); });
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  // Only while the main window is active: dialogs keep Escape for closing themselves.
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, [this] { progress_.cancel(); });
  connect(&progress_, &QtProgress::percentChanged, progressBar_, &QProgressBar::setValue);
  // Keys a file manager's user expects; the menus show them beside their entries.
  menus_.action("mnuRefresh")->setShortcut(QKeySequence(Qt::Key_F5));
  menus_.action("mnuRename")->setShortcut(QKeySequence(Qt::Key_F2));
  menus_.action("mnuDelete")->setShortcut(QKeySequence(Qt::Key_Delete));
  auto* typePath = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
  connect(typePath, &QShortcut::activated, this, [this] { active()->editPath(); });
  windowCommands_ = std::make_unique<WindowCommands>(*this, context_);
  connectCommands();
  connectFilterCommands();
  connectPictureCommands();
  connectEditorMenus();
  setActivePane(0);
  resize(1100, 720);
}

MainWindow::~MainWindow() {
  closing_ = true;
  for (Pane* p : panes_)
    if (PluginView* plugins = p->pluginViewIfMade()) plugins->waitForScan();
}

void MainWindow::buildCentral() {
  auto* central = new QWidget(this);
  auto* splitter = new QSplitter(Qt::Horizontal, central);
  splitter->setObjectName("paneSplitter");
  QStringList drives = driveRoots();
  for (int i = 0; i < 2; ++i) {
    panes_[static_cast<std::size_t>(i)] = new Pane(i, context_, icons_, splitter);
    pane(i)->setDrives(drives);
    splitter->addWidget(pane(i));
    connectPane(pane(i));
  }
  splitter->setChildrenCollapsible(false);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(4, 4, 4, 2);
  layout->setSpacing(4);
  layout->addWidget(buildPreviewPanel(splitter), 1);
  layout->addWidget(buildButtonRow());
  setCentralWidget(central);

  statusText_ = new QLabel(this);
  statusText_->setObjectName("statusText");
  progressBar_ = new QProgressBar(this);
  progressBar_->setObjectName("progressBar");
  progressBar_->setRange(0, 100);
  progressBar_->setMaximumWidth(220);
  progressBar_->setVisible(false);
  statusBar()->addWidget(statusText_, 1);
  statusBar()->addPermanentWidget(progressBar_);
}

QWidget* MainWindow::buildButtonRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* logo = new QToolButton(row);
  logo->setObjectName("Image1");
  logo->setIcon(icons_.button(ButtonPicture::Logo));
  logo->setIconSize(QSize(24, 24));
  logo->setAutoRaise(true);
  logo->setToolTip("Click me for an application list");
  connect(logo, &QToolButton::clicked, this, &MainWindow::showAbout);
  layout->addWidget(logo);
  layout->addWidget(buildPreviewButton(row));
  layout->addStretch(1);
  layout->addWidget(commandButton("&Convert", "convertButton", row));
  layout->addWidget(commandButton("En/&Disable", "enableButton", row));
  layout->addWidget(commandButton("C&hange Cat", "changeCatButton", row));
  QPushButton* ffl = commandButton("Create FF&L", "createFflButton", row);
  ffl->setToolTip("Archive several FF plugins in a single FFL file");
  layout->addWidget(ffl);
  layout->addStretch(1);
  halfMode_ = new QPushButton("<<", row);
  halfMode_->setObjectName("Command2");
  halfMode_->setToolTip("Collapse or expand the main window");
  halfMode_->setFixedWidth(40);
  layout->addWidget(halfMode_);
  return row;
}

void MainWindow::connectPane(Pane* p) {
  connect(p, &Pane::activated, this, &MainWindow::setActivePane);
  connect(p, &Pane::viewModeMenuWanted, this, &MainWindow::popUpViewModeMenu);
  connect(p, &Pane::synchronizeWanted, this, [this] { synchronizePanes(); });
  connect(p, &Pane::desktopWanted, this, &MainWindow::showDesktopFolder);
  connect(p, &Pane::fileActivated, this,
          [this](int, const std::filesystem::path& path) { openFile(path); });
  connect(p, &Pane::propertiesWanted, this, [this] { showProperties(); });
  connect(p, &Pane::foldersMenuWanted, this,
          [this](const QPoint& at) { menus_.menu("mnuDirs")->popup(at); });
  connect(p, &Pane::viewChanged, this, &MainWindow::viewChanged);
  connect(p, &Pane::moveFilesWanted, this, [this](int source, int target) {
    if (!busy()) commandRunner().moveFilesByDrop(source, pane(target)->folder());
  });
  connect(p, &Pane::folderChanged, this, [this, p] {
    if (p->view() == View::Plugin) viewChanged(p->index(), View::Plugin);
  });
  connect(p, &Pane::pluginViewMade, this, &MainWindow::connectPluginView);
  connect(p, &Pane::filesMenuWanted, this,
          [this](const QPoint& at) { menus_.menu("mnuCommands")->popup(at); });
  connect(p, &Pane::renameFolderWanted, this, [this] {
    if (!busy()) commandRunner().renameFolder();
  });
  connect(p, &Pane::fflViewMade, this, [this](int index) {
    connect(pane(index)->fflView(), &FflView::openWanted, this,
            [this, index] { openLibraryDialog(index); });
    connect(pane(index)->fflView(), &FflView::entryActivated, this,
            [this, index] { openFflEntryInFFEditor(index); });
  });
}

void MainWindow::connectPluginView(int index) {
  PluginView* plugins = pane(index)->pluginView();
  connect(plugins, &PluginView::scanStarted, this, [this, index] { scanStarted(index); });
  connect(plugins, &PluginView::scanFinished, this,
          [this, index](bool found) { scanFinished(index, found); });
  connect(plugins, &PluginView::changeCategoryWanted, this,
          [this, index](const std::string& category, const std::vector<std::size_t>& rows) {
            if (commands_.changeCategory) commands_.changeCategory(index, category, rows);
          });
  connect(plugins, &PluginView::propertiesWanted, this, [this] { showProperties(); });
}

void MainWindow::setActivePane(int index) {
  active_ = index;
  for (Pane* p : panes_) p->setActiveLook(p->index() == index);
}

void MainWindow::popUpViewModeMenu(int index) {
  setActivePane(index);
  int mode = static_cast<int>(active()->fileViewMode());
  for (QAction* a : fileViewModeMenu_->actions()) a->setChecked(a->data().toInt() == mode);
  QToolButton* button = active()->viewModeButton();
  fileViewModeMenu_->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void MainWindow::setFileViewMode(int mode) {
  if (!settings::isFileViewMode(mode)) return;
  active()->setFileViewMode(static_cast<settings::FileViewMode>(mode));
}

void MainWindow::synchronizePanes() {
  passive()->setFolder(active()->folder());
  QDir::setCurrent(QString::fromStdString(active()->folder().string()));
}

void MainWindow::showDesktopFolder(int index) {
  QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  if (!QDir(desktop).exists()) desktop = QDir::homePath();
  pane(index)->setFolder(desktop.toStdString());
}

void MainWindow::showView(View view) {
  active()->setView(view);
  viewChanged(active_, view);
}

// Not a reason to make the pane active: the active pane changes only when the user focuses
// or clicks one, never because a command refreshed the other.
void MainWindow::viewChanged(int index, View view) {
  if (closing_) return;
  Pane* p = pane(index);
  if (view == View::File) {
    p->refresh();
  } else if (view == View::Plugin) {
    for (Pane* other : panes_)
      if (other->pluginViewIfMade() && other->pluginViewIfMade()->busy())
        return;  // one scan at a time
    bool shift = QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
    p->pluginView()->enter(p->folder(), progress_, shift);
  } else {
    QString name = p->fileView()->currentName();
    if (!name.toLower().endsWith(".ffl")) {
      for (const QString& selected : p->fileView()->selectedFiles())
        if (selected.toLower().endsWith(".ffl")) name = selected;
    }
    if (name.toLower().endsWith(".ffl"))
      p->fflView()->showLibrary(p->folder() / name.toStdString());
  }
}

void MainWindow::scanStarted(int index) {
  pane(index)->folderList()->setEnabled(false);
  progressBar_->setValue(0);
  progressBar_->setVisible(true);
}

void MainWindow::scanFinished(int index, bool) {
  pane(index)->folderList()->setEnabled(true);
  progressBar_->setValue(100);
  progressBar_->setVisible(false);
  statusText_->clear();
  if (closing_) return;
  // The folder changed while the scan ran: the catalogue is for a folder no longer shown.
  Pane* p = pane(index);
  if (p->view() == View::Plugin && p->pluginView()->catalogue().folder() != p->folder()) {
    viewChanged(index, View::Plugin);
  }
}

void MainWindow::restorePanes(const settings::WindowState& state) {
  for (int i = 0; i < 2; ++i) {
    const auto& s = state.panes[static_cast<std::size_t>(i)];
    Pane* p = pane(i);
    p->fileView()->setSort(s.sortKey, s.sortAscending);
    p->setPatternChoice(s.pattern);
    if (s.fileViewMode) p->setFileViewMode(*s.fileViewMode);
    if (auto folder = settings::restorableFolder(s.folder)) p->setFolder(*folder);
  }
  setHalfMode(state.halfMode);
}

void MainWindow::restoreGeometry(const settings::WindowState& state) {
  if (state.maximized) {
    setWindowState(Qt::WindowMaximized);
    return;
  }
  fitIntoScreen(*this, state, context_.screenArea);
}

settings::WindowState MainWindow::currentState() const {
  settings::WindowState s;
  for (int i = 0; i < 2; ++i) {
    auto& ps = s.panes[static_cast<std::size_t>(i)];
    Pane* p = pane(i);
    ps.sortKey = p->fileView()->sortColumn();
    ps.sortAscending = p->fileView()->sortAscending();
    ps.pattern = p->patternChoice();
    ps.fileViewMode = p->fileViewMode();
    ps.folder = p->folder().string();
  }
  s.maximized = isMaximized();
  s.minimized = isMinimized();
  s.width = width();
  s.height = height();
  s.x = pos().x();
  s.y = pos().y();
  s.halfMode = halfMode_->text() == ">>";
  for (QAction* a : menus_.menu("mnuDirs")->actions())
    if (a->objectName() == "mnuDirectorys" && !a->text().isEmpty())
      s.folderMenu.push_back(a->text().toStdString());
  return s;
}

void MainWindow::rebuildListMenus(const QStringList& folders) {
  QStringList apps, pictures;
  for (const auto& app : context_.options.apps) apps << QString::fromStdString(app);
  for (const auto& pic : context_.options.pictures) pictures << QString::fromStdString(pic);
  fillListEntries(*menus_.menu("mnuAppsMenu"), "mnuApps", apps);
  fillListEntries(*menus_.menu("mnuFile"), "mnuPictures", pictures);
  fillListEntries(*menus_.menu("mnuDirs"), "mnuDirectorys", folders);
  folders_ = folders;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    progress_.cancel();
    for (Pane* p : panes_)
      if (PluginView* plugins = p->pluginViewIfMade()) plugins->waitForScan();
    settings::saveWindowState(context_.store, currentState());
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != this && w->isVisible()) w->close();
  }
  event->accept();
}

}  // namespace qm::gui
