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
  for (const std::string& type : writablePictureTypes()) filters << pictureTypeFilter(type);
  return filters.join(";;");
}

std::vector<std::string> writablePictureTypes() {
  std::vector<std::string> types;
  for (const QByteArray& format : QImageWriter::supportedImageFormats())
    types.push_back(format.toLower().toStdString());
  return types;
}

QString pictureTypeFilter(const std::string& type) {
  const QString ext = QString::fromStdString(type);
  return ext.toUpper() + " (*." + ext + ")";
}

std::string pictureTypeOfFilter(const QString& filter) {
  const qsizetype from = filter.indexOf("(*.");
  const qsizetype to = filter.indexOf(')', from);
  if (from < 0 || to < 0) return {};
  return filter.mid(from + 3, to - from - 3).trimmed().toLower().toStdString();
}

}  // namespace qm::gui
