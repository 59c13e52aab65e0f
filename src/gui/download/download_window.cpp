#include "gui/download/download_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

#include "core/ff/plugin_file_io.h"
#include "platform/desktop_services.h"

namespace qm::gui {
namespace {

using outside::UrlEntry;
using outside::UrlListKind;

constexpr const char* kTitle = "FX Download";

// The list files are UTF-8 text, as the desktop's editors write them.
QString shown(const std::string& bytes) {
  return QString::fromStdString(bytes);
}

std::string stored(const QString& text) {
  return text.toStdString();
}

}  // namespace

DownloadWindow::DownloadWindow(std::filesystem::path programDir,
                               const platform::DesktopServices& desktop, QWidget* parent)
    : QMainWindow(parent),
      programDir_(std::move(programDir)),
      desktop_(desktop),
      prompter_(this),
      tabs_(new QTabBar(this)),
      list_(new QListWidget(this)),
      url_(new QLabel(this)) {
  setObjectName("frmDownload");
  setWindowTitle(kTitle);
  tabs_->setObjectName("TabStrip1");
  tabs_->addTab("Plugins");
  tabs_->addTab("PSP Tubes");
  tabs_->setExpanding(false);
  list_->setObjectName("List1");
  list_->installEventFilter(this);
  url_->setObjectName("urlLabel");
  url_->setTextInteractionFlags(Qt::NoTextInteraction);
  url_->setMinimumHeight(url_->fontMetrics().height() + 8);
  url_->setFrameShape(QFrame::StyledPanel);
  url_->setCursor(Qt::SizeAllCursor);
  url_->setToolTip("Drag here to move the window");
  url_->installEventFilter(this);
  // A long address or name never widens the window: texts are elided, in full as tooltips.
  url_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  list_->setTextElideMode(Qt::ElideMiddle);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(0);
  layout->addWidget(tabs_);
  layout->addWidget(list_, 1);
  layout->addSpacing(6);
  layout->addWidget(url_);
  setCentralWidget(central);
  buildMenus();
  resize(440, 420);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    setMaximumSize(screen->availableGeometry().size());

  connect(list_, &QListWidget::currentRowChanged, this, [this] { showUrl(); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { connectSelected(); });
  connect(tabs_, &QTabBar::currentChanged, this, &DownloadWindow::tabChanged);
  load(UrlListKind::Plugins);
}

void DownloadWindow::buildMenus() {
  auto entry = [this](QMenu* menu, const QString& caption, const char* name, auto slot) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  QMenu* file = menuBar()->addMenu("&File");
  entry(file, "Connect", "mnuConnect", [this] { connectSelected(); });
  entry(file, "Save", "mnuSave", [this] { save(); })->setShortcut(QKeySequence::Save);
  entry(file, "Share", "mnuShareList", [this] { share(); });
  file->addSeparator();
  entry(file, "Exit", "mnuExit", [this] { close(); });
  QMenu* edit = menuBar()->addMenu("&Edit");
  entry(edit, "Copy URL", "mnuCopyURL", [this] { copyUrl(); });
  edit->addSeparator();
  entry(edit, "Add...", "mnuAdd", [this] { add(); });
  entry(edit, "Edit Name...", "mnuName0", [this] { this->edit(false); });
  entry(edit, "Edit URL...", "mnuName1", [this] { this->edit(true); });
  entry(edit, "Move Up/Down", "mnuMove", [this] { prompter_.inform(outside::kMoveHint, kTitle); });
  edit->addSeparator();
  entry(edit, "Delete", "mnuDelete", [this] { deleteSelected(); });
  QMenu* help = menuBar()->addMenu("&Help");
  entry(help, "Help", "mnuHelp2", [this] {
    desktop_.ShowHelp("menu_View.htm");
  })->setShortcut(QKeySequence(Qt::Key_F1));
}

std::filesystem::path DownloadWindow::listFile() const {
  return programDir_ / outside::urlListFileName(kind_);
}

void DownloadWindow::load(UrlListKind kind) {
  kind_ = kind;
  list_->clear();
  auto read = outside::readUrlList(listFile());
  entries_ = std::move(read.entries);
  incomplete_ = read.problem.has_value();
  for (const UrlEntry& e : entries_) list_->addItem(itemFor(shown(e.name)));
  changed_ = false;
  if (!entries_.empty()) list_->setCurrentRow(0);
  showUrl();
  list_->setFocus();
  if (read.problem) prompter_.warn(*read.problem, kTitle);
}

QListWidgetItem* DownloadWindow::itemFor(const QString& name) {
  auto* item = new QListWidgetItem(name);
  item->setToolTip(name);
  return item;
}

bool DownloadWindow::save() {
  if (incomplete_) {
    prompter_.warn(outside::kNotSaved, kTitle);
    return false;
  }
  if (prompter_.ask(outside::saveQuestion(kind_), kTitle, Buttons::OkCancel, Icon::Question) !=
      Button::Ok)
    return false;
  // Written aside and put in place at once: a failed write keeps the old list.
  const std::string text = outside::formatUrlList(entries_);
  if (!ff::replaceFile(listFile(), std::vector<std::uint8_t>(text.begin(), text.end())).empty()) {
    prompter_.warn("Couldn't write " + listFile().string(), kTitle);
    return false;
  }
  changed_ = false;
  return true;
}

void DownloadWindow::tabChanged(int tab) {
  if (changed_) save();
  load(tab == 1 ? UrlListKind::Tubes : UrlListKind::Plugins);
}

void DownloadWindow::closeEvent(QCloseEvent* event) {
  if (changed_) save();
  event->accept();
}

void DownloadWindow::showUrl() {
  int row = selected();
  bool valid = row >= 0 && static_cast<std::size_t>(row) < entries_.size();
  fullUrl_ = valid ? shown(entries_[static_cast<std::size_t>(row)].url) : QString();
  elideUrl();
}

void DownloadWindow::elideUrl() {
  const int room = url_->contentsRect().width() - 2 * url_->margin() - 4;
  const QString text =
      room > 0 ? url_->fontMetrics().elidedText(fullUrl_, Qt::ElideMiddle, room) : fullUrl_;
  url_->setText(text);
  url_->setToolTip(text == fullUrl_ ? QString("Drag here to move the window") : fullUrl_);
}

void DownloadWindow::connectSelected() {
  int row = selected();
  if (row < 0 || static_cast<std::size_t>(row) >= entries_.size()) return;
  const std::string& url = entries_[static_cast<std::size_t>(row)].url;
  if (!url.empty()) desktop_.ShowURL(url);
}

void DownloadWindow::share() {
  prompter_.inform(outside::shareText(kind_, programDir_.string()), kTitle);
}

void DownloadWindow::copyUrl() {
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->clear();
  int row = selected();
  if (row >= 0 && static_cast<std::size_t>(row) < entries_.size())
    clipboard->setText(shown(entries_[static_cast<std::size_t>(row)].url));
}

std::optional<QString> DownloadWindow::askText(const QString& title, const QString& prompt,
                                               const QString& preset) {
  auto text = prompter_.askText(title.toStdString(), prompt.toStdString(), preset.toStdString());
  if (!text || text->empty()) return std::nullopt;
  return QString::fromStdString(*text);
}

std::optional<QString> DownloadWindow::askValid(
    const QString& title, const QString& prompt, const QString& preset,
    std::optional<std::string> (*refusal)(std::string_view)) {
  QString typed = preset;
  for (;;) {
    auto answer = askText(title, prompt, typed);
    if (!answer) return std::nullopt;
    auto why = refusal(stored(*answer));
    if (!why) return answer;
    prompter_.warn(*why, kTitle);
    typed = *answer;
  }
}

void DownloadWindow::add() {
  auto name = askValid(QString::fromUtf8(outside::kAddNameTitle),
                       QString::fromUtf8(outside::kAddNamePrompt), {}, outside::urlNameRefusal);
  if (!name) return;
  auto url = askValid(QString::fromUtf8(outside::kAddUrlTitle),
                      QString::fromUtf8(outside::kAddUrlPrompt), {}, outside::urlRefusal);
  if (!url) return;
  entries_.push_back({stored(*name), stored(*url)});
  list_->addItem(itemFor(*name));
  list_->setCurrentRow(list_->count() - 1);
  changed_ = true;
}

void DownloadWindow::edit(bool url) {
  int row = selected();
  if (row < 0 || static_cast<std::size_t>(row) >= entries_.size()) return;
  UrlEntry& e = entries_[static_cast<std::size_t>(row)];
  std::string& field = url ? e.url : e.name;
  auto answer =
      askValid(QString::fromUtf8(outside::kEditTitle), QString::fromUtf8(outside::kEditPrompt),
               shown(field), url ? outside::urlRefusal : outside::urlNameRefusal);
  if (!answer) return;
  field = stored(*answer);
  if (!url) {
    list_->item(row)->setText(*answer);
    list_->item(row)->setToolTip(*answer);
  }
  showUrl();
  changed_ = true;
}

void DownloadWindow::deleteSelected() {
  int row = selected();
  if (row < 0 || static_cast<std::size_t>(row) >= entries_.size()) return;
  entries_.erase(entries_.begin() + row);
  delete list_->takeItem(row);
  if (list_->count() > 0) list_->setCurrentRow(std::min(row, list_->count() - 1));
  showUrl();
  changed_ = true;
}

void DownloadWindow::moveSelected(int step) {
  int row = selected();
  int other = row + step;
  if (row < 0 || other < 0 || other >= list_->count()) return;
  std::swap(entries_[static_cast<std::size_t>(row)], entries_[static_cast<std::size_t>(other)]);
  QString text = list_->item(row)->text();
  list_->item(row)->setText(list_->item(other)->text());
  list_->item(row)->setToolTip(list_->item(other)->text());
  list_->item(other)->setText(text);
  list_->item(other)->setToolTip(text);
  list_->setCurrentRow(other);
  changed_ = true;
}

bool DownloadWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
      deleteSelected();
      return true;
    }
    if (key->modifiers() == Qt::AltModifier &&
        (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
      moveSelected(key->key() == Qt::Key_Up ? -1 : 1);
      return true;
    }
  }
  if (watched == url_ && event->type() == QEvent::Resize) elideUrl();
  if (watched == url_ && event->type() == QEvent::MouseButtonPress) {
    dragOffset_ = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - pos();
  } else if (watched == url_ && event->type() == QEvent::MouseMove) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->buttons() & Qt::LeftButton) move(mouse->globalPosition().toPoint() - dragOffset_);
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace qm::gui
