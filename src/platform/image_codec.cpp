#include "platform/image_codec.h"

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QString>
#include <algorithm>
#include <cstring>

namespace qm::platform {
namespace {

QString qtPath(const std::filesystem::path& p) {
  return QString::fromStdString(p.string());
}

int depthInFile(const QImage& img) {
  switch (img.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8:
      return img.depth();
    default:
      return img.hasAlphaChannel() ? 32 : 24;
  }
}

host::Image fromQImage(const QImage& source, int bitsPerPixel, bool alpha) {
  const QImage rgba = source.convertToFormat(QImage::Format_RGBA8888);
  host::Image img = host::Image::blank(rgba.width(), rgba.height(), alpha);
  img.bitsPerPixel = bitsPerPixel;
  const std::size_t rowBytes = static_cast<std::size_t>(img.width) * 4;
  for (int y = 0; y < img.height; ++y)
    std::memcpy(img.pixel(0, y), rgba.constScanLine(y), rowBytes);
  if (!alpha)
    for (std::size_t i = 3; i < img.rgba.size(); i += 4) img.rgba[i] = 255;
  return img;
}

QImage toQImage(const host::Image& img) {
  QImage q(img.width, img.height, QImage::Format_RGBA8888);
  const std::size_t rowBytes = static_cast<std::size_t>(img.width) * 4;
  for (int y = 0; y < img.height; ++y) std::memcpy(q.scanLine(y), img.pixel(0, y), rowBytes);
  return img.hasAlpha ? q : q.convertToFormat(QImage::Format_RGB888);
}

}  // namespace

std::optional<host::Image> QtImageCodec::read(const std::filesystem::path& file) {
  QImageReader reader(qtPath(file));
  reader.setAutoTransform(false);
  QImage q = reader.read();
  if (q.isNull()) return std::nullopt;
  return fromQImage(q, depthInFile(q), q.hasAlphaChannel());
}

bool QtImageCodec::write(const host::Image& image, const std::filesystem::path& file) {
  if (!image.valid()) return false;
  std::string suffix = file.extension().string();
  if (!suffix.empty()) suffix.erase(0, 1);
  std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (suffix.empty()) return false;
  QImageWriter writer(qtPath(file), QByteArray::fromStdString(suffix));
  QImage q = toQImage(image);
  // JPEG has no alpha: the colours are written as they are stored.
  if (image.hasAlpha && (suffix == "jpg" || suffix == "jpeg"))
    q = q.convertToFormat(QImage::Format_RGB888);
  return writer.write(q);
}

host::Image QtImageCodec::scale(const host::Image& image, int width, int height) {
  if (!image.valid() || width <= 0 || height <= 0) return {};
  const QImage scaled =
      toQImage(image).scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return fromQImage(scaled, image.bitsPerPixel, image.hasAlpha);
}

}  // namespace qm::platform
