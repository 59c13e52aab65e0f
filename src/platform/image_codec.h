#pragma once
// Pictures through Qt's image plugins: PNG, JPEG, BMP, GIF and, with the image-formats
// plugins installed, TIFF, WebP and TGA.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/host/image_codec.h"

namespace qm::platform {

// Decoded pictures may take this much memory; Qt's own default (128 MB) refuses an ordinary
// 8000×8000 photograph.
inline constexpr int kPictureMemoryLimitMB = 1024;

class QtImageCodec final : public host::ImageCodec {
 public:
  std::optional<host::Image> read(const std::filesystem::path& file) override;
  bool write(const host::Image& image, const std::filesystem::path& file) override;
  host::Image scale(const host::Image& image, int width, int height) override;
  // The file's bytes in the format file's extension names; nullopt for an unknown format.
  std::optional<std::vector<std::uint8_t>> encode(const host::Image& image,
                                                  const std::filesystem::path& file);
};

// "the picture is W×H, larger than N MB allows" when file is a picture too large to decode
// within the memory limit; nullopt otherwise.
std::optional<std::string> pictureSizeProblem(const std::filesystem::path& file);

}  // namespace qm::platform
