#pragma once
// Pictures through Qt's image plugins: PNG, JPEG, BMP, GIF and, with the image-formats
// plugins installed, TIFF, WebP and TGA.

#include <cstdint>
#include <expected>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/host/image_codec.h"

class QImage;

namespace qm::platform {

// How a picture is encoded: quality from 1 to 100 for lossy formats (-1: the format's
// default); pngLevel the compression level of a PNG, 0 (none, fastest) to 9 (smallest, slowest),
// -1 for Qt's default; cancelled is polled as the encoded bytes come out and makes the encoding
// fail (once the encoder is through).
struct EncodeOptions {
  int quality = -1;
  int pngLevel = -1;
  std::function<bool()> cancelled;
};

// Decoded pictures may take this much memory; Qt's own default (128 MB) refuses an ordinary
// 8000×8000 photograph.
inline constexpr int kPictureMemoryLimitMB = 1024;

class QtImageCodec final : public host::ImageCodec {
 public:
  std::optional<host::Image> read(const std::filesystem::path& file) override;
  bool write(const host::Image& image, const std::filesystem::path& file) override;
  bool writeWithQuality(const host::Image& image, const std::filesystem::path& file,
                        int quality) override;
  host::Image scale(const host::Image& image, int width, int height) override;
  // The file's bytes in the format file's extension names; nullopt for an unknown format or a
  // cancelled encoding.
  std::optional<std::vector<std::uint8_t>> encode(const host::Image& image,
                                                  const std::filesystem::path& file,
                                                  const EncodeOptions& options = {});
};

// Between Qt's pictures and the engine's. bitsPerPixel is the depth to report for the
// picture; alpha false makes every pixel opaque.
host::Image fromQImage(QImage source, int bitsPerPixel, bool alpha);
// A view of the picture's own bytes, no copy; the picture must outlive it.
QImage viewAsQImage(const host::Image& image);
QImage toQImage(const host::Image& image);
// Takes the picture's pixels over without a copy. A filter's result may leave values in the
// fourth byte, so it is always shown as alpha here.
QImage toQImage(host::Image&& image);

// The file's bytes in the format file's extension names, or the reason there are none.
std::expected<std::vector<std::uint8_t>, std::string> encodePicture(
    const QImage& image, const std::filesystem::path& file, const EncodeOptions& options = {});
// The encoded picture replaces file all or nothing; the reason for a failure, empty on success.
std::string writePicture(const QImage& image, const std::filesystem::path& file, int quality = -1);

// The depth a decoded picture had in its file: 1, 8 for palettes and grey, else 24 or 32.
int depthInFile(const QImage& image);

// "the picture is W×H, larger than N MB allows" when file is a picture too large to decode
// within the memory limit, or why a TGA picture cannot be read ("cannot read this TGA
// variant (type T, B bits a pixel)"); nullopt otherwise.
std::optional<std::string> pictureSizeProblem(const std::filesystem::path& file);

}  // namespace qm::platform
