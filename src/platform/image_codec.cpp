#include "platform/image_codec.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QString>
#include <algorithm>
#include <cstring>

#include "core/ff/plugin_file_io.h"
#include "core/host/tga_reader.h"

namespace qm::platform {
namespace {

QString qtPath(const std::filesystem::path& p) {
  return QString::fromStdString(p.string());
}

// Qt's TGA reader hands out 32-bit pictures with alpha whatever the file holds; the header
// says whether the file has alpha bits and how deep it is.
struct TgaHeader {
  int bitsPerPixel = 0;
  bool alpha = false;
};
std::optional<TgaHeader> tgaHeader(const std::filesystem::path& file) {
  QFile f(qtPath(file));
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray head = f.read(18);
  if (head.size() < 18) return std::nullopt;
  return TgaHeader{static_cast<std::uint8_t>(head[16]),
                   (static_cast<std::uint8_t>(head[17]) & 0x0F) != 0};
}

// The encoder's output in memory. Once the run is cancelled the bytes are thrown away: a failed
// write would stop the PNG encoder sooner, but libpng then prints its own error on stderr.
class CancellableBuffer final : public QBuffer {
 public:
  CancellableBuffer(QByteArray* bytes, const std::function<bool()>& cancelled)
      : QBuffer(bytes), cancelled_(cancelled) {}
  bool wasCancelled() const { return stopped_; }

 protected:
  qint64 writeData(const char* data, qint64 length) override {
    stopped_ = stopped_ || (cancelled_ && cancelled_());
    return stopped_ ? length : QBuffer::writeData(data, length);
  }

 private:
  const std::function<bool()>& cancelled_;
  bool stopped_ = false;
};

}  // namespace

// Converted in place where Qt can (the decoded picture is ours), then taken over in one copy.
// Opaque pictures go to RGBX, whose fourth byte Qt sets to 255, so nothing is left to fix.
host::Image fromQImage(QImage source, int bitsPerPixel, bool alpha) {
  const QImage rgba =
      std::move(source).convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888);
  host::Image img;
  img.width = rgba.width();
  img.height = rgba.height();
  img.hasAlpha = alpha;
  img.bitsPerPixel = bitsPerPixel;
  const std::size_t rowBytes = static_cast<std::size_t>(img.width) * 4;
  if (static_cast<std::size_t>(rgba.bytesPerLine()) == rowBytes) {
    img.rgba.assign(rgba.constBits(), rgba.constBits() + rowBytes * img.height);
    return img;
  }
  img.rgba.resize(rowBytes * img.height);
  for (int y = 0; y < img.height; ++y)
    std::memcpy(img.pixel(0, y), rgba.constScanLine(y), rowBytes);
  return img;
}

// A view of the picture's own bytes, no copy; the picture must outlive it.
QImage viewAsQImage(const host::Image& img) {
  return QImage(img.rgba.data(), img.width, img.height, img.width * 4,
                img.hasAlpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888);
}

QImage toQImage(const host::Image& img) {
  return viewAsQImage(img).copy();
}

QImage toQImage(host::Image&& img) {
  if (!img.valid()) return {};
  auto* pixels = new host::PixelBytes(std::move(img.rgba));
  return QImage(
      pixels->data(), img.width, img.height, img.width * 4, QImage::Format_RGBA8888,
      [](void* owned) { delete static_cast<host::PixelBytes*>(owned); }, pixels);
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

namespace {

constexpr std::uint64_t kMaxPixels = std::uint64_t{kPictureMemoryLimitMB} * 1024 * 1024 / 4;

bool isTgaFile(const std::filesystem::path& file) {
  return QString::fromStdString(file.extension().string()).compare(".tga", Qt::CaseInsensitive) ==
         0;
}

// Qt's own reader knows only uncompressed true colour; run-length encoded, grey and colour-mapped
// pictures, which paint programs write by default, are read here.
Outcome<host::Image, std::string> readTga(const std::filesystem::path& file) {
  auto bytes = ff::readFileBytes(file, kMaxPixels * 4 + 65536, "too large");
  if (!bytes) return Failure{bytes.error()};
  return host::decodeTga(ByteView(bytes->data(), bytes->size()), kMaxPixels);
}

}  // namespace

std::optional<host::Image> QtImageCodec::read(const std::filesystem::path& file) {
  if (isTgaFile(file)) {
    auto tga = readTga(file);
    if (!tga) return std::nullopt;
    return std::move(*tga);
  }
  QImageReader::setAllocationLimit(kPictureMemoryLimitMB);
  QImageReader reader(qtPath(file));
  reader.setAutoTransform(false);
  const QByteArray format = reader.format();
  QImage q = reader.read();
  if (q.isNull()) return std::nullopt;
  if (format == "tga") {
    if (auto tga = tgaHeader(file)) return fromQImage(q, tga->bitsPerPixel, tga->alpha);
  }
  return fromQImage(q, depthInFile(q), q.hasAlphaChannel());
}

std::expected<std::vector<std::uint8_t>, std::string> encodePicture(
    const QImage& image, const std::filesystem::path& file, const EncodeOptions& options) {
  const QByteArray suffix =
      QString::fromStdString(file.extension().string()).mid(1).toLower().toLatin1();
  if (suffix.isEmpty() || !QImageWriter::supportedImageFormats().contains(suffix))
    return std::unexpected("pictures cannot be written as \"" + suffix.toStdString() + "\" files");
  QByteArray encoded;
  CancellableBuffer buffer(&encoded, options.cancelled);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, suffix);
  writer.setQuality(options.quality);
  // Qt's PNG writer takes a ratio of 0 to 100 and uses the level ratio / 11.
  if (suffix == "png" && options.pngLevel >= 0) writer.setCompression(options.pngLevel * 11);
  encoded.reserve(image.sizeInBytes() + 4096);
  if (!writer.write(image)) return std::unexpected(writer.errorString().toStdString());
  if (buffer.wasCancelled()) return std::unexpected(std::string("cancelled"));
  return std::vector<std::uint8_t>(encoded.begin(), encoded.end());
}

std::string writePicture(const QImage& image, const std::filesystem::path& file, int quality) {
  EncodeOptions options;
  options.quality = quality;
  auto bytes = encodePicture(image, file, options);
  // All or nothing, and never over a read-only file.
  return bytes ? ff::replaceFile(file, *bytes) : bytes.error();
}

std::optional<std::vector<std::uint8_t>> QtImageCodec::encode(const host::Image& image,
                                                              const std::filesystem::path& file,
                                                              const EncodeOptions& options) {
  if (!image.valid()) return std::nullopt;
  std::string suffix = file.extension().string();
  std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  QImage q = viewAsQImage(image);
  // JPEG has no alpha: the colours are written as they are stored. The writers that know
  // RGBX write an opaque picture as it is; the others get plain RGB.
  const bool takesRgbx = suffix == ".bmp" || suffix == ".png";
  if ((image.hasAlpha && (suffix == ".jpg" || suffix == ".jpeg")) ||
      (!image.hasAlpha && !takesRgbx))
    q = q.convertToFormat(QImage::Format_RGB888);
  // Qt's own default resolution differs between the desktop program and the command line;
  // one fixed value (96 dpi) makes both write the same bytes.
  constexpr int kDotsPerMeter = 3780;
  q.setDotsPerMeterX(kDotsPerMeter);
  q.setDotsPerMeterY(kDotsPerMeter);
  auto bytes = encodePicture(q, file, options);
  if (!bytes) return std::nullopt;
  return std::move(*bytes);
}

bool QtImageCodec::write(const host::Image& image, const std::filesystem::path& file) {
  auto bytes = encode(image, file);
  return bytes && ff::replaceFile(file, *bytes).empty();
}

std::optional<std::string> pictureSizeProblem(const std::filesystem::path& file) {
  if (isTgaFile(file)) {
    auto tga = readTga(file);
    if (!tga) return tga.error();
    return std::nullopt;
  }
  QImageReader reader(qtPath(file));
  const QSize size = reader.size();
  if (!size.isValid()) return std::nullopt;
  // Four bytes a pixel, as the decoder allocates for a colour picture.
  const double megabytes = 4.0 * size.width() * size.height() / (1024.0 * 1024.0);
  if (megabytes <= kPictureMemoryLimitMB) return std::nullopt;
  return "the picture is " + std::to_string(size.width()) + "×" + std::to_string(size.height()) +
         ", larger than " + std::to_string(kPictureMemoryLimitMB) + " MB allows";
}

bool QtImageCodec::writeWithQuality(const host::Image& image, const std::filesystem::path& file,
                                    int quality) {
  EncodeOptions options;
  options.quality = std::clamp(quality, 1, 100);
  auto bytes = encode(image, file, options);
  return bytes && ff::replaceFile(file, *bytes).empty();
}

host::Image QtImageCodec::scale(const host::Image& image, int width, int height) {
  if (!image.valid() || width <= 0 || height <= 0) return {};
  const QImage scaled =
      viewAsQImage(image).scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return fromQImage(scaled, image.bitsPerPixel, image.hasAlpha);
}

}  // namespace qm::platform
