#include "gui/picture/picture_filters.h"

#include <QImageReader>
#include <QImageWriter>
#include <QStringList>

namespace qm::gui {

QString readablePictureFilter() {
  QStringList patterns;
  for (const QByteArray& format : QImageReader::supportedImageFormats())
    patterns << "*." + QString::fromLatin1(format);
  return "Pictures (" + patterns.join(' ') + ");;All Files (*)";
}

QString writablePictureFilter() {
  QStringList filters;
  for (const QByteArray& format : QImageWriter::supportedImageFormats())
    filters << QString::fromLatin1(format).toUpper() + " (*." + QString::fromLatin1(format) + ")";
  return filters.join(";;");
}

}  // namespace qm::gui
