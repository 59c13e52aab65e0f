#include "gui/main/pane.h"

#include <QDir>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QSplitter>
#include <QStorageInfo>
#include <QVBoxLayout>

#include "core/plugins/drop_rules.h"
#include "core/settings/file_patterns.h"
#include "gui/main/app_context.h"
#include "gui/main/ffl_view.h"
#include "gui/main/file_view.h"
#include "gui/main/folder_caption.h"
#include "gui/main/folder_list.h"
#include "gui/main/icons.h"
#include "gui/main/pane_drag.h"
#include "gui/main/plugin_lists.h"
#include "gui/main/plugin_view.h"
#include "gui/main/search_panel.h"

namespace qm::gui {
namespace {

QToolButton* pictureButton(const QIcon& icon, const QString& tooltip, const char* name,
                           QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setIcon(icon);
  button->setIconSize(QSize(20, 20));
  button->setAutoRaise(true);  // the raised border shows while the mouse is over it
  button->setToolTip(tooltip);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

QString qpath(const std::filesystem::path& p) {
  return QString::fromStdString(p.string());
}

}  // namespace

Pane::Pane(int index, AppContext& context, const FileIcons& icons, QWidget* parent)
    : QFrame(parent),
      index_(index),
      context_(context),
      icons_(icons),
      driveBox_(new QComboBox(this)),
      caption_(new FolderCaption(this)),
      pathEditor_(new QLineEdit(this)),
      folderList_(new FolderList(icons, this)),
      tabs_(new QTabWidget(this)),
      fileView_(new FileView(icons, this)),
      searchPanel_(new SearchPanel(context, this)),
      patternBox_(new QComboBox(this)) {
  setObjectName(index == 0 ? "leftPane" : "rightPane");
  driveBox_->setObjectName("driveBox");
  tabs_->setObjectName("viewTabs");
  tabs_->addTab(fileView_, "File View");
  for (const char* caption : {"Plugin View", "FFL View"}) {
    auto* page = new QWidget(tabs_);
    (new QVBoxLayout(page))->setContentsMargins(0, 0, 0, 0);
    tabs_->addTab(page, caption);
  }
  tabs_->setDocumentMode(true);

  patternBox_->setObjectName("patternBox");
  patternBox_->setEditable(true);
  patternBox_->setInsertPolicy(QComboBox::NoInsert);
  patternBox_->setToolTip(QString::fromUtf8(settings::kPatternBoxTooltip.data()));
  for (const auto& entry : settings::patternEntries())
    patternBox_->addItem(
        QString::fromUtf8(entry.caption.data(), static_cast<qsizetype>(entry.caption.size())));
  patternBox_->setCurrentIndex(0);

  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->addWidget(folderList_);
  // The search box sits above the views; its results take their place while it holds words.
  auto* views = new QWidget(this);
  auto* viewsLayout = new QVBoxLayout(views);
  viewsLayout->setContentsMargins(0, 0, 0, 0);
  viewsLayout->setSpacing(2);
  viewsLayout->addWidget(searchPanel_);
  viewsLayout->addWidget(tabs_, 1);
  splitter->addWidget(views);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 3);
  splitter->setChildrenCollapsible(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(3);
  layout->addWidget(buildTopRow());
  layout->addWidget(caption_);
  pathEditor_->setObjectName("pathEditor");
  pathEditor_->setVisible(false);
  layout->addWidget(pathEditor_);
  layout->addWidget(splitter, 1);
  layout->addWidget(patternBox_);

  connect(driveBox_, &QComboBox::activated, this,
          [this](int i) { setFolder(driveBox_->itemData(i).toString().toStdString()); });
  connect(folderList_, &FolderList::folderChosen, this, [this](const QString& path) {
    // A folder renamed or removed behind the list's back: show what is there now.
    if (QDir(path).exists())
      setFolder(path.toStdString());
    else
      reloadFromDisk();
  });
  connect(folderList_, &FolderList::contextMenuWanted, this, &Pane::foldersMenuWanted);
  connect(this, &Pane::folderChanged, searchPanel_, [this] { searchPanel_->setFolder(folder_); });
  connect(searchPanel_, &SearchPanel::resultsShown, tabs_, &QWidget::setHidden);
  connect(searchPanel_, &SearchPanel::openFolderWanted, this,
          [this](const std::filesystem::path& folder) {
            searchPanel_->clear();
            setFolder(folder);
          });
  auto* find = new QShortcut(QKeySequence::Find, this);
  find->setContext(Qt::WidgetWithChildrenShortcut);
  connect(find, &QShortcut::activated, searchPanel_, &SearchPanel::focusSearch);
  connect(caption_, &FolderCaption::contextMenuWanted, this, &Pane::foldersMenuWanted);
  connect(patternBox_, &QComboBox::activated, this, [this](int i) {
    setPatternChoice({i, std::nullopt});
  });
  connect(patternBox_->lineEdit(), &QLineEdit::returnPressed, this, &Pane::patternEntered);
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
    if (tab == 1) pluginView();
    if (tab == 2) fflView();
    emit viewChanged(index_, static_cast<View>(tab + 1));
  });
  connect(fileView_, &FileView::fileActivated, this, [this](const QString& name) {
    emit fileActivated(index_, folder_ / fileView_->nativeName(name));
  });
  connect(fileView_, &FileView::folderActivated, this, [this](const QString& name) {
    if (name == " ..")
      goToParent();
    else
      setFolder(folder_ / name.toStdString());
  });
  connect(fileView_, &FileView::parentRequested, this, &Pane::goToParent);
  connect(fileView_, &FileView::contextMenuWanted, this, &Pane::filesMenuWanted);
  connect(folderList_, &FolderList::renameWanted, this,
          [this] { emit renameFolderWanted(index_); });
  connect(pathEditor_, &QLineEdit::returnPressed, this, &Pane::pathTyped);
  connect(pathEditor_, &QLineEdit::editingFinished, this, [this] {
    if (!pathEditor_->hasFocus()) closePathEditor();
  });
  connect(fileView_, &FileView::propertiesRequested, this,
          [this] { emit propertiesWanted(index_); });

  reloadTimer_.setSingleShot(true);
  reloadTimer_.setInterval(250);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, &reloadTimer_,
          qOverload<>(&QTimer::start));
  connect(&reloadTimer_, &QTimer::timeout, this, &Pane::reloadFromDisk);

  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
  for (QAbstractItemView* list : std::initializer_list<QAbstractItemView*>{
           folderList_, fileView_->iconView(), fileView_->detailsView(), fileView_->classicList()})
    list->viewport()->setAcceptDrops(true);
}

PluginView* Pane::pluginView() {
  if (!pluginView_) {
    pluginView_ = new PluginView(index_, context_, this);
    pluginView_->filterList()->viewport()->setAcceptDrops(true);
    placeInTab(1, pluginView_);
    emit pluginViewMade(index_);
  }
  return pluginView_;
}

FflView* Pane::fflView() {
  if (!fflView_) {
    fflView_ = new FflView(this);
    placeInTab(2, fflView_);
    emit fflViewMade(index_);
  }
  return fflView_;
}

void Pane::placeInTab(int tab, QWidget* view) {
  QWidget* page = tabs_->widget(tab);
  page->layout()->addWidget(view);
  view->installEventFilter(this);
  for (QWidget* child : view->findChildren<QWidget*>()) child->installEventFilter(this);
  if (page->isVisible()) view->show();
}

QWidget* Pane::buildTopRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  layout->addWidget(driveBox_, 1);
  viewModeButton_ = pictureButton(icons_.button(ButtonPicture::ViewMode), "Choose File View Mode",
                                  "viewModeButton", row);
  syncButton_ = pictureButton(icons_.button(ButtonPicture::Synchronize), "Synchronize both panes",
                              "syncButton", row);
  folderBoxButton_ = pictureButton(icons_.button(ButtonPicture::FolderBox), "Display folder box",
                                   "folderBoxButton", row);
  folderBoxButton_->setCheckable(true);
  folderBoxButton_->setChecked(true);
  desktopButton_ =
      pictureButton(icons_.button(ButtonPicture::Desktop), QString(), "desktopButton", row);
  for (QToolButton* b : {viewModeButton_, syncButton_, folderBoxButton_, desktopButton_})
    layout->addWidget(b);
  connect(viewModeButton_, &QToolButton::clicked, this, [this] {
    emit activated(index_);
    emit viewModeMenuWanted(index_);
  });
  connect(syncButton_, &QToolButton::clicked, this, [this] {
    emit activated(index_);
    emit synchronizeWanted(index_);
  });
  connect(folderBoxButton_, &QToolButton::toggled, this, &Pane::setFolderBoxShown);
  connect(desktopButton_, &QToolButton::clicked, this, [this] {
    emit activated(index_);
    emit desktopWanted(index_);
  });
  return row;
}

QStringList driveRoots() {
  QStringList roots{"/"};
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    QString root = volume.rootPath();
    bool system = root.startsWith("/proc") || root.startsWith("/sys") || root.startsWith("/dev") ||
                  root.startsWith("/run") || root.startsWith("/snap");
    if (volume.isValid() && volume.isReady() && !system && !roots.contains(root)) roots << root;
  }
  roots.sort();
  return roots;
}

void Pane::setDrives(const QStringList& roots) {
  driveBox_->clear();
  for (const QString& root : roots) driveBox_->addItem(QDir::toNativeSeparators(root), root);
  if (!folder_.empty()) selectDrive();
}

// The drive of a folder is the mount point that holds it.
void Pane::selectDrive() {
  QString path = qpath(folder_);
  int best = 0;
  for (int i = 0; i < driveBox_->count(); ++i) {
    QString root = driveBox_->itemData(i).toString();
    QString prefix = root.endsWith('/') ? root : root + '/';
    if ((path == root || path.startsWith(prefix)) &&
        root.size() > driveBox_->itemData(best).toString().size())
      best = i;
  }
  driveBox_->setCurrentIndex(best);
}

void Pane::setFolder(const std::filesystem::path& folder) {
  QDir dir(qpath(folder));
  if (!dir.exists()) return;
  folder_ = dir.absolutePath().toStdString();
  if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
  watcher_.addPath(dir.absolutePath());
  reloadTimer_.stop();
  selectDrive();
  folderList_->showFolder(folder_);
  caption_->setPath(qpath(folder_));
  refresh();
  emit folderChanged(index_);
}

void Pane::reloadFromDisk() {
  if (folder_.empty()) return;
  std::error_code ec;
  auto existing = folder_;
  while (!std::filesystem::is_directory(existing, ec) && existing.has_relative_path())
    existing = existing.parent_path();
  if (existing != folder_) {
    setFolder(existing);
    return;
  }
  QStringList selected = fileView_->selectedFiles();
  QString current = fileView_->currentName();
  folderList_->showFolder(folder_);
  refresh();
  fileView_->reselect(selected, current);
  emit folderChanged(index_);
}

void Pane::editPath() {
  pathEditor_->setText(QDir::toNativeSeparators(qpath(folder_)));
  caption_->setVisible(false);
  pathEditor_->setVisible(true);
  pathEditor_->setFocus();
  pathEditor_->selectAll();
}

void Pane::pathTyped() {
  QString typed = QDir::fromNativeSeparators(pathEditor_->text().trimmed());
  if (typed.startsWith("~")) typed.replace(0, 1, QDir::homePath());
  QDir dir(QDir(qpath(folder_)).absoluteFilePath(typed));
  if (!dir.exists()) {
    // Stays open for a correction; the caption would not show a folder that is not there.
    pathEditor_->selectAll();
    return;
  }
  closePathEditor();
  setFolder(dir.absolutePath().toStdString());
  fileView_->activeView()->setFocus();
}

void Pane::closePathEditor() {
  pathEditor_->setVisible(false);
  caption_->setVisible(true);
}

void Pane::goToParent() {
  QDir dir(qpath(folder_));
  if (dir.cdUp()) setFolder(dir.absolutePath().toStdString());
}

void Pane::setPatternChoice(const settings::PatternChoice& choice) {
  pattern_ = choice;
  if (choice.typed) {
    patternBox_->setCurrentIndex(-1);
    patternBox_->setEditText(QString::fromStdString(*choice.typed));
  } else {
    patternBox_->setCurrentIndex(choice.index);
  }
  refresh();
}

void Pane::patternEntered() {
  QString text = patternBox_->currentText();
  int entry = patternBox_->findText(text);
  if (entry >= 0)
    setPatternChoice({entry, std::nullopt});
  else
    setPatternChoice({0, text.toStdString()});
}

QString Pane::pattern() const {
  return QString::fromStdString(settings::patternFor(pattern_, context_.typeTable.pattern()));
}

void Pane::setFileViewMode(settings::FileViewMode mode) {
  fileView_->setMode(mode);
  caption_->setPath(qpath(folder_));
  if (mode != settings::FileViewMode::Classic) refresh();
  if (isVisible()) fileView_->activeView()->setFocus();
}

settings::FileViewMode Pane::fileViewMode() const {
  return fileView_->mode();
}

View Pane::view() const {
  return static_cast<View>(tabs_->currentIndex() + 1);
}

void Pane::setView(View view) {
  tabs_->setCurrentIndex(static_cast<int>(view) - 1);
}

bool Pane::folderBoxShown() const {
  return folderBoxButton_->isChecked();
}

void Pane::setFolderBoxShown(bool shown) {
  folderBoxButton_->setChecked(shown);
  folderList_->setVisible(shown);
  refresh();
}

void Pane::setActiveLook(bool active) {
  caption_->setBackgroundRole(active ? QPalette::Highlight : QPalette::Window);
  caption_->setForegroundRole(active ? QPalette::HighlightedText : QPalette::WindowText);
  caption_->setAutoFillBackground(active);
}

void Pane::refresh() {
  if (folder_.empty()) return;
  fileView_->fill(folder_, pattern(), !folderBoxShown());
}

std::vector<std::filesystem::path> Pane::selectedPaths() const {
  std::vector<std::filesystem::path> paths;
  for (const std::string& name : fileView_->selectedNativeNames()) paths.push_back(folder_ / name);
  return paths;
}

bool Pane::crossPaneDrop(QObject* watched, QEvent* event) {
  auto* drop = static_cast<QDropEvent*>(event);
  // Filter entries say where they come from in their data; file lists are found by the widget
  // the drag started in.
  std::optional<PaneDragSource> source = dragSource(drop->mimeData());
  for (QObject* o = drop->source(); o && !source; o = o->parent())
    if (auto* pane = qobject_cast<Pane*>(o))
      source = PaneDragSource{
          pane->index(), static_cast<plugins::PaneView>(static_cast<int>(pane->view())), {}};
  if (!source || source->pane == index_) return false;
  std::optional<plugins::DropList> list;
  auto* widget = qobject_cast<QWidget*>(watched);
  auto under = [widget](QWidget* target) {
    return widget == target || widget->parentWidget() == target;
  };
  if (under(folderList_)) list = plugins::DropList::FolderList;
  for (QWidget* view : {static_cast<QWidget*>(fileView_->iconView()),
                        static_cast<QWidget*>(fileView_->detailsView()),
                        static_cast<QWidget*>(fileView_->classicList())})
    if (under(view)) list = plugins::DropList::FileList;
  if (pluginView_ && under(pluginView_->categoryList())) list = plugins::DropList::CategoryList;
  if (pluginView_ && under(pluginView_->filterList())) list = plugins::DropList::FilterList;
  if (!list) return false;
  auto action = plugins::decideDrop(source->pane, source->view, index_, *list);
  if (action != plugins::DropAction::MoveFiles) {
    drop->ignore();
    return true;
  }
  drop->acceptProposedAction();
  if (event->type() == QEvent::Drop) emit moveFilesWanted(source->pane, index_);
  return true;
}

bool Pane::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pathEditor_ && event->type() == QEvent::ShortcutOverride &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    event->accept();
    return true;
  }
  if (watched == pathEditor_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    closePathEditor();
    fileView_->activeView()->setFocus();
    return true;
  }
  switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::MouseButtonPress:
      emit activated(index_);
      break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      if (crossPaneDrop(watched, event)) return true;
      break;
    default:
      break;
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace qm::gui
