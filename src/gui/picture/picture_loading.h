#pragma once
// Reading a picture file off the window's thread: a photograph of many megapixels takes
// seconds to decode, so it is read on a worker while the window shows how far it got and
// Cancel or Escape stops it.

#include <QImage>
#include <QSize>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>

class QWidget;

namespace qm::gui {

struct LoadedPicture {
  QImage image;          // null when the file could not be read (or reading was stopped)
  int bitsPerPixel = 0;  // the depth the picture had in its file
  QString error;         // why not, for the user; empty when stopped
  bool stopped = false;
};

struct PictureLoadOptions {
  // Larger pictures come back scaled into this size (aspect kept); empty: full size.
  QSize largest;
  std::function<void(int percent)> progress;  // from the worker thread
  std::function<bool()> stop;                 // from the worker thread
};

// Decodes file on the calling thread. Progress follows the bytes the decoder has consumed.
LoadedPicture decodePicture(const std::filesystem::path& file, const PictureLoadOptions& options);

// Decodes file on a worker thread; while it runs the window stays live and, after a moment,
// a progress dialog with Cancel (and Escape) appears over parent. Returns once it is done.
LoadedPicture loadPicture(QWidget* parent, const std::filesystem::path& file, const QString& what,
                          QSize largest = {});

// "The picture FILE cannot be the preview picture: REASON."
std::string previewPictureRefusal(const std::filesystem::path& file, const QString& reason);

}  // namespace qm::gui
