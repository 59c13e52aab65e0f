// Commands on the selected filter and the window's shape: Copy Filter to Clipboard, Save
// Preview... and the "<<" button that collapses the window to the active pane.

#include <QBuffer>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImageWriter>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "core/common/cp1252.h"
#include "core/ff/load_file.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/sources.h"
#include "gui/commands/command_runner.h"
#include "gui/main/app_context.h"
#include "gui/main/main_window.h"
#include "gui/main/pane.h"
#include "gui/main/preview_panel.h"
#include "gui/main/unzip_commands.h"

namespace qm::gui {
namespace {

constexpr const char* kCopyFilterTitle = "Copy Filter to Clipboard";
constexpr const char* kSavePreviewTitle = "Save Preview";

// The image format a file name asks for; PNG when its ending names none Qt writes.
QByteArray formatFor(const QString& fileName) {
  const QByteArray suffix = QFileInfo(fileName).suffix().toLower().toLatin1();
  if (suffix == "jpg" || suffix == "jpeg") return "JPEG";
  if (suffix == "bmp") return "BMP";
  return "PNG";
}

}  // namespace

void MainWindow::connectFilterCommands() {
  auto on = [this](const char* name, auto slot) {
    QAction* action = menus_.action(name);
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, slot);
  };
  on("mnuFilter2Clip", [this] { copySelectedFilter(); });
  on("mnuSavePreview", [this] { savePreviewPicture(); });
  unzip_ = new UnzipCommands(*this, context_);
  unzip_->connectMenus();
  // The button's own click toggles; start-up and closing keep its state as Halfmode.
  connect(halfMode_, &QPushButton::clicked, this,
          [this] { setHalfMode(halfMode_->text() == "<<"); });
}

void MainWindow::copySelectedFilter() {
  const auto arguments = commandRunner().selectedFilterArguments(activePane());
  if (arguments.empty()) {
    prompter_.warn("Please select a Filter Factory filter.", kCopyFilterTitle);
    return;
  }
  auto loaded = ff::loadNamedFilter(arguments.front(), context_.ffOptions);
  if (!loaded) {
    prompter_.warn(loaded.error(), kCopyFilterTitle);
    return;
  }
  // The editor's copy layout, so "Paste Filter from Clipboard" reads it back.
  const std::string text = ff::textSourceText(*loaded);
  QGuiApplication::clipboard()->setText(QString::fromStdString(cp1252ToUtf8(text)));
  statusText_->setText(QString("Copied %1 to the clipboard.")
                           .arg(QString::fromStdString(cp1252ToUtf8(loaded->title))));
}

void MainWindow::savePreviewPicture() {
  const QPixmap shown = previewPanel_->pictureLabel()->pixmap();
  if (shown.isNull()) {
    prompter_.warn("The preview panel shows no picture to save.", kSavePreviewTitle);
    return;
  }
  const QString chosen = QFileDialog::getSaveFileName(
      this, kSavePreviewTitle, QString::fromStdString(pane(1 - activePane())->folder().string()),
      "PNG (*.png);;JPG (*.jpg);;BMP (*.bmp)");
  if (chosen.isEmpty()) return;
  QBuffer encoded;
  encoded.open(QIODevice::WriteOnly);
  QImageWriter writer(&encoded, formatFor(chosen));
  if (!writer.write(shown.toImage())) {
    prompter_.error((chosen + ": " + writer.errorString()).toStdString(), kSavePreviewTitle);
    return;
  }
  // In one piece and through a link, as every file the program writes.
  const QByteArray& bytes = encoded.data();
  if (auto reason = ff::replaceFile(chosen.toStdString(),
                                    std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
      !reason.empty()) {
    prompter_.error(chosen.toStdString() + ": " + reason, kSavePreviewTitle);
    return;
  }
  for (int i = 0; i < 2; ++i)
    if (pane(i)->folder() == std::filesystem::path(chosen.toStdString()).parent_path())
      pane(i)->refresh();
}

void MainWindow::setHalfMode(bool collapsed) {
  halfMode_->setText(collapsed ? ">>" : "<<");
  for (int i = 0; i < 2; ++i) {
    Pane* p = pane(i);
    const bool hide = collapsed && i != activePane();
    if (p->isHidden() == hide) continue;
    const int width = p->width();
    p->setVisible(!hide);
    // The window gives up the hidden pane's room and takes it back, unless the desktop sizes it.
    if (!isMaximized() && !isFullScreen())
      resize(this->width() + (hide ? -width : width), height());
  }
}

}  // namespace qm::gui
