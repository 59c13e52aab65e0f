#include "gui/picture/picture_editor.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QImageReader>
#include <QInputDialog>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTimer>

#include "core/picture/editor_rules.h"
#include "core/picture/zoom.h"
#include "gui/picture/picture_canvas.h"
#include "gui/picture/picture_filters.h"
#include "gui/picture/picture_loading.h"
#include "gui/shell/qt_prompter.h"
#include "platform/image_codec.h"

namespace qm::gui {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTitle = "Picture Editor";

QString qtPath(const fs::path& p) {
  return QString::fromStdString(p.string());
}

}  // namespace

PictureEditor::PictureEditor(fs::path programDir, QWidget* parent)
    : QMainWindow(parent),
      programDir_(std::move(programDir)),
      ownPrompter_(std::make_unique<QtPrompter>(this)),
      prompter_(ownPrompter_.get()) {
  setObjectName("PicView");
  setAttribute(Qt::WA_DeleteOnClose, false);
  scroll_ = new QScrollArea(this);
  scroll_->setAlignment(Qt::AlignCenter);
  scroll_->setBackgroundRole(QPalette::Dark);
  canvas_ = new PictureCanvas(scroll_);
  scroll_->setWidget(canvas_);
  setCentralWidget(scroll_);
  buildMenus();
  hooks_.chooseOpenFile = [this] {
    return QFileDialog::getOpenFileName(this, "Open", QString(), readablePictureFilter());
  };
  hooks_.chooseSaveFile = [this](const QString& preset, QString& type) {
    return QFileDialog::getSaveFileName(this, "Save As", preset, writablePictureFilter(), &type);
  };
  hooks_.askZoomFactor = [this]() -> std::optional<QString> {
    bool ok = false;
    QString text = QInputDialog::getText(this, picture::kZoomTitle, picture::kZoomPrompt,
                                         QLineEdit::Normal, QString::number(zoom_), &ok);
    if (!ok) return std::nullopt;
    return text;
  };
  hooks_.choosePrinter = [this](QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    return dialog.exec() == QDialog::Accepted;
  };
  updateTitle();
  updateActions();
  resize(480, 360);
}

PictureEditor::~PictureEditor() = default;

void PictureEditor::setPrompter(Prompter* prompter) {
  prompter_ = prompter ? prompter : ownPrompter_.get();
}

void PictureEditor::buildMenus() {
  struct Item {
    const char* caption;
    const char* name;
    std::function<void()> run;
  };
  auto add = [this](QMenu* menu, const Item& item) {
    QAction* a = menu->addAction(item.caption);
    a->setObjectName(item.name);
    connect(a, &QAction::triggered, this, item.run);
    return a;
  };
  QMenu* file = menuBar()->addMenu("&File");
  add(file, {"Open...", "mnuOpen", [this] { open(); }})->setShortcut(QKeySequence::Open);
  add(file, {"Revert", "mnuRevert", [this] { revert(); }});
  file->addSeparator();
  add(file, {"Save", "mnuSave", [this] { save(); }})->setShortcut(QKeySequence::Save);
  add(file, {"Save As...", "mnuSaveAs", [this] { saveAs(); }});
  add(file, {"Use as Preview Image", "mnuUseAsPreviewImage", [this] { useAsPreviewImage(); }});
  file->addSeparator();
  add(file, {"Select Source...", "mnuFileSelectSource", [this] { selectSource(); }});
  QMenu* printMenu = file->addMenu("Print");
  printMenu->setObjectName("mnuFilePrintMenu");
  add(printMenu,
      {"Actual Size...", "mnuFilePrintActual", [this] { print(picture::PrintMode::ActualSize); }});
  add(printMenu,
      {"Fit to Page...", "mnuFilePrintFit", [this] { print(picture::PrintMode::FitToPage); }});
  file->addSeparator();
  add(file, {"Exit", "mnuExit", [this] { close(); }});

  QMenu* edit = menuBar()->addMenu("&Edit");
  add(edit, {"Copy", "mnuCopy", [this] { copy(); }})->setShortcut(QKeySequence::Copy);
  add(edit, {"Paste", "mnuPaste", [this] { paste(); }})->setShortcut(QKeySequence::Paste);

  QMenu* zoom = menuBar()->addMenu("&Zoom");
  zoom->setObjectName("mnuZoomTop");
  add(zoom, {"Fit to Screen", "mnuZoomFit", [this] { fitToScreen(); }});
  add(zoom, {"Enter Factor...", "mnuZoomEnter", [this] { enterZoomFactor(); }});
  zoom->addSeparator();
  auto* fixed = new QActionGroup(zoom);
  fixed->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (int factor : picture::kFixedZooms) {
    QAction* a = add(zoom, {"", "mnuZoom", [this, factor] { setZoom(factor); }});
    a->setText(QString("%1%").arg(factor));
    a->setCheckable(true);
    a->setData(factor);
    fixed->addAction(a);
  }

  QMenu* colors = menuBar()->addMenu("&Colors");
  for (const auto& entry : picture::colorDepthEntries()) {
    const int bits = entry.bitsPerPixel;
    QAction* a = add(colors, {"", "mnuColorFX", [this, bits] { raiseColorDepth(bits); }});
    a->setText(QString::fromStdString(entry.caption));
    a->setData(bits);
  }

  QMenu* help = menuBar()->addMenu("&Help");
  add(help, {"Help", "mnuHelp2",
             [this] {
               if (hooks_.showHelp) hooks_.showHelp("pictureeditor.htm");
             }})
      ->setShortcut(QKeySequence(Qt::Key_F1));
  for (QMenu* menu : {file, edit, zoom, colors})
    connect(menu, &QMenu::aboutToShow, this, &PictureEditor::updateActions);
}

QAction* PictureEditor::action(const QString& name) const {
  return findChild<QAction*>(name);
}

void PictureEditor::updateActions() {
  const bool picture = !image_.isNull();
  for (const char* name : {"mnuSave", "mnuSaveAs", "mnuUseAsPreviewImage", "mnuFilePrintActual",
                           "mnuFilePrintFit", "mnuCopy", "mnuZoomFit", "mnuZoomEnter"})
    action(name)->setEnabled(picture);
  action("mnuRevert")->setEnabled(picture && !path_.empty());
  for (QAction* a : findChildren<QAction*>("mnuZoom")) {
    a->setEnabled(picture);
    a->setChecked(picture && a->data().toInt() == zoom_);
  }
  for (QAction* a : findChildren<QAction*>("mnuColorFX"))
    a->setEnabled(picture && picture::colorDepthEnabled(a->data().toInt(), bits_));
}

void PictureEditor::setPicture(const QImage& image, int bits, const fs::path& path,
                               const QString& name) {
  image_ = image;
  bits_ = bits;
  path_ = path;
  name_ = name;
  origin_.clear();
  changed_ = false;
  redraw();
  growToPicture();
}

void PictureEditor::redraw() {
  canvas_->show(image_, zoom_);
  updateTitle();
  updateActions();
}

void PictureEditor::updateTitle() {
  if (image_.isNull()) {
    setWindowTitle(kTitle);
    return;
  }
  picture::ShownPicture shown;
  shown.fileName = path_.empty() ? name_.toStdString() : path_.filename().string();
  shown.width = image_.width();
  shown.height = image_.height();
  shown.zoom = zoom_;
  shown.bitsPerPixel = bits_;
  setWindowTitle(QString::fromStdString(picture::pictureEditorTitle(shown)));
}

// The window takes the picture's size, up to the screen's.
void PictureEditor::growToPicture() {
  if (image_.isNull()) return;
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  // The menu bar and the scroll area's frame around the picture; the layout may not have
  // run yet, so they are taken from the widgets' own sizes.
  const int border = 2 * scroll_->frameWidth() + 2;
  const QSize wanted = canvas_->size() + QSize(border, border + menuBar()->sizeHint().height());
  // The window manager's frame, guessed until the window is shown.
  const QSize decoration = isVisible() ? frameGeometry().size() - size() : QSize(8, 32);
  resize(std::clamp(wanted.width(), 320, std::max(320, area.width() - decoration.width())),
         std::clamp(wanted.height(), 240, std::max(240, area.height() - decoration.height())));
  keepOnScreen();
}

// Moved back inside the screen, frame included, when it reaches past an edge.
void PictureEditor::keepOnScreen() {
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen || !isVisible()) return;
  const QRect area = screen->availableGeometry();
  const QRect outer = frameGeometry();
  const int x =
      std::clamp(outer.x(), area.left(), std::max(area.left(), area.right() - outer.width()));
  const int y =
      std::clamp(outer.y(), area.top(), std::max(area.top(), area.bottom() - outer.height()));
  if (x != outer.x() || y != outer.y()) move(x, y);
}

void PictureEditor::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The window manager places a new window first.
  QTimer::singleShot(0, this, &PictureEditor::keepOnScreen);
}

void PictureEditor::showImage(const QImage& image, const QString& name, const fs::path& origin) {
  if (image.isNull()) return;
  setPicture(image, platform::depthInFile(image), {}, name);
  origin_ = origin;
}

void PictureEditor::showFiltered(const QImage& image) {
  if (image.isNull()) return;
  image_ = image;
  changed_ = true;
  redraw();
}

bool PictureEditor::openFile(const fs::path& file) {
  // A photograph of many megapixels takes seconds: read on a worker, with progress.
  LoadedPicture loaded = loadPicture(this, file, "Opening the picture");
  if (loaded.image.isNull()) {
    if (!loaded.stopped) prompter_->warn("Couldn't open " + file.string(), kTitle);
    return false;
  }
  setPicture(loaded.image, loaded.bitsPerPixel, file, {});
  return true;
}

void PictureEditor::open() {
  const QString file = hooks_.chooseOpenFile ? hooks_.chooseOpenFile() : QString();
  if (!file.isEmpty()) openFile(file.toStdString());
}

void PictureEditor::revert() {
  if (image_.isNull() || path_.empty()) return;
  if (prompter_->ask("Revert the image back to its saved state?", "Revert", Buttons::OkCancel,
                     Icon::Question) != Button::Ok)
    return;
  openFile(path_);
}

QString PictureEditor::writePicture(const QImage& image, const fs::path& file) const {
  QImage out = image;
  if (bits_ == 24 && out.hasAlphaChannel()) out = out.convertToFormat(QImage::Format_RGB888);
  const std::string type = picture::startingPictureType(file.string(), {"jpg", "jpeg"});
  const bool jpeg = type == "jpg" || type == "jpeg";
  const int quality = jpeg && hooks_.jpegQuality ? std::clamp(hooks_.jpegQuality(), 1, 100) : -1;
  return QString::fromStdString(platform::writePicture(out, file, quality));
}

bool PictureEditor::saveTo(const fs::path& file) {
  if (image_.isNull()) return false;
  const QString reason = writePicture(image_, file);
  if (!reason.isEmpty()) {
    prompter_->error(QString("The picture could not be saved as %1:\n%2")
                         .arg(qtPath(file), reason)
                         .toStdString(),
                     kTitle);
    return false;
  }
  path_ = file;
  changed_ = false;
  updateTitle();
  updateActions();
  return true;
}

bool PictureEditor::save() {
  if (image_.isNull()) return false;
  if (picture::saveNeedsChooser(path_.string())) return saveAs();
  // Writing an unchanged picture again would only lose quality (JPEG) or time.
  if (!changed_) return true;
  return saveTo(path_);
}

bool PictureEditor::saveAs() {
  if (image_.isNull() || !hooks_.chooseSaveFile) return false;
  const fs::path own = path_.empty() ? origin_ : path_;
  QString preset = own.empty() ? name_ : qtPath(own);
  if (preset.isEmpty()) preset = "Untitled.png";
  const auto writable = writablePictureTypes();
  QString type = pictureTypeFilter(picture::startingPictureType(own.string(), writable));
  const QString file = hooks_.chooseSaveFile(preset, type);
  if (file.isEmpty()) return false;
  std::string chosen = pictureTypeOfFilter(type);
  if (chosen.empty()) chosen = "png";
  return saveTo(picture::savedPictureName(file.toStdString(), chosen, writable));
}

void PictureEditor::useAsPreviewImage() {
  if (image_.isNull()) return;
  const fs::path file = programDir_ / "PictureEditor.bmp";
  if (!platform::writePicture(image_.convertToFormat(QImage::Format_RGB888), file).empty()) {
    prompter_->warn("Sorry, a problem occured.", kTitle);
    return;
  }
  if (hooks_.previewImageChosen) hooks_.previewImageChosen(file);
}

void PictureEditor::selectSource() {
  // No scanner interface exists on this platform.
  prompter_->inform("There's no scanning device available.", kTitle);
}

void PictureEditor::copy() {
  if (!image_.isNull()) QGuiApplication::clipboard()->setImage(image_);
}

void PictureEditor::paste() {
  const QImage pasted = QGuiApplication::clipboard()->image();
  if (pasted.isNull()) return;
  setPicture(pasted, platform::depthInFile(pasted), {}, {});
  changed_ = true;
}

void PictureEditor::setZoom(int percent) {
  if (percent < picture::kMinZoom || percent > picture::kMaxZoom || image_.isNull()) return;
  zoom_ = percent;
  redraw();
  growToPicture();
}

void PictureEditor::enterZoomFactor() {
  if (image_.isNull() || !hooks_.askZoomFactor) return;
  const auto typed = hooks_.askZoomFactor();
  if (!typed) return;
  if (auto factor = picture::parseZoomFactor(typed->toStdString())) setZoom(*factor);
}

void PictureEditor::fitToScreen() {
  if (image_.isNull()) return;
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const int border = 2 * scroll_->frameWidth() + 8;
  const QSize room = screen->availableGeometry().size() -
                     QSize(border, border + menuBar()->sizeHint().height() + 32);
  setZoom(
      picture::fitToScreenZoom({image_.width(), image_.height()}, {room.width(), room.height()}));
}

void PictureEditor::raiseColorDepth(int bitsPerPixel) {
  if (image_.isNull() || !picture::colorDepthEnabled(bitsPerPixel, bits_)) return;
  // Raising the depth keeps every colour; only the way the picture is held changes.
  image_ =
      image_.convertToFormat(bitsPerPixel <= 8 ? QImage::Format_Indexed8 : QImage::Format_RGB888);
  bits_ = bitsPerPixel;
  changed_ = true;
  redraw();
}

void PictureEditor::print(picture::PrintMode mode) {
  if (image_.isNull()) return;
  QPrinter printer(QPrinter::HighResolution);
  if (hooks_.choosePrinter && hooks_.choosePrinter(printer)) printTo(printer, mode);
}

bool PictureEditor::printTo(QPrinter& printer, picture::PrintMode mode) {
  if (image_.isNull()) return false;
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const int screenDpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
  const auto place =
      picture::printPlacement({image_.width(), image_.height()}, mode,
                              {page.width(), page.height()}, printer.resolution(), screenDpi);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRect(place.x, place.y, place.width, place.height), image_);
  return painter.end();
}

void PictureEditor::closeEvent(QCloseEvent* event) {
  if (changed_ && prompter_->ask("Do you want to save the image?", kTitle, Buttons::YesNo,
                                 Icon::Question) == Button::Yes)
    save();
  changed_ = false;
  event->accept();
}

}  // namespace qm::gui
