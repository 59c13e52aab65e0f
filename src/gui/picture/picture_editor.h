#pragma once
// The Picture Editor (PicView): opens, shows zoomed, copies and pastes, reverts, saves and
// prints one picture, and hands it over as the program's preview picture.

#include <QImage>
#include <QMainWindow>
#include <QScrollArea>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "core/common/ports.h"
#include "core/picture/print_layout.h"

class QPrinter;

namespace qm::gui {

class PictureCanvas;
class QtPrompter;

// What the window asks of the rest of the program and of the user; tests replace the choosers.
struct PictureEditorHooks {
  std::function<QString()> chooseOpenFile;  // empty answer: cancelled
  // Preset path in, chosen path out; type: the filter entry to start on, then the chosen one.
  std::function<QString(const QString& preset, QString& type)> chooseSaveFile;
  std::function<std::optional<QString>()> askZoomFactor;
  std::function<bool(QPrinter&)> choosePrinter;  // the print dialog
  // "Use as Preview Image" wrote the file: it becomes the preview picture.
  std::function<void(const std::filesystem::path&)> previewImageChosen;
  std::function<void(const QString& page)> showHelp;
  std::function<int()> jpegQuality;  // the Preferences' JPG quality, 1 to 100
};

class PictureEditor : public QMainWindow {
  Q_OBJECT
 public:
  PictureEditor(std::filesystem::path programDir, QWidget* parent = nullptr);
  ~PictureEditor() override;

  PictureEditorHooks& hooks() { return hooks_; }
  // The message port; the window's own dialogs unless replaced (tests).
  void setPrompter(Prompter* prompter);

  // A picture made elsewhere (a filter's result): no file behind it, shown under name. Save As
  // starts on origin (the file it was made from) when given.
  void showImage(const QImage& image, const QString& name,
                 const std::filesystem::path& origin = {});
  // A filter's result over the current picture: its file stays, so Revert brings it back.
  void showFiltered(const QImage& image);
  // Open: false (and a message) when the file cannot be decoded; the old picture stays.
  bool openFile(const std::filesystem::path& file);
  void open();
  void revert();
  // Save: to the picture's file in its format when it changed, or through Save As (no file,
  // GIF). False when it should have written and did not.
  bool save();
  bool saveAs();
  bool saveTo(const std::filesystem::path& file);
  void useAsPreviewImage();
  void selectSource();
  void copy();
  void paste();
  void setZoom(int percent);
  void enterZoomFactor();
  void fitToScreen();
  void raiseColorDepth(int bitsPerPixel);
  void print(picture::PrintMode mode);
  // Draws the picture on printer's first page; false when the printer cannot be painted on.
  bool printTo(QPrinter& printer, picture::PrintMode mode);

  const QImage& image() const { return image_; }
  const std::filesystem::path& path() const { return path_; }
  int zoom() const { return zoom_; }
  int bitsPerPixel() const { return bits_; }
  bool changed() const { return changed_; }
  QAction* action(const QString& name) const;
  // Enables the entries by what the current picture allows (each menu does it when it opens).
  void updateActions();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void buildMenus();
  void setPicture(const QImage& image, int bits, const std::filesystem::path& path,
                  const QString& name);
  void redraw();
  void updateTitle();
  void growToPicture();
  void keepOnScreen();
  // The encoded bytes for file's format, written all or nothing; the reason on failure.
  QString writePicture(const QImage& image, const std::filesystem::path& file) const;

  std::filesystem::path programDir_;
  PictureEditorHooks hooks_;
  std::unique_ptr<QtPrompter> ownPrompter_;
  Prompter* prompter_;
  QScrollArea* scroll_;
  PictureCanvas* canvas_;
  QImage image_;
  int bits_ = 24;
  std::filesystem::path path_;
  QString name_;                  // shown in the title when there is no file
  std::filesystem::path origin_;  // where Save As starts for a picture with no file
  int zoom_ = 100;
  bool changed_ = false;
};

}  // namespace qm::gui
