#pragma once
// Pictures through Qt's image plugins: PNG, JPEG, BMP, GIF and, with the image-formats
// plugins installed, TIFF, WebP and TGA.

#include "core/host/image_codec.h"

namespace qm::platform {

class QtImageCodec final : public host::ImageCodec {
 public:
  std::optional<host::Image> read(const std::filesystem::path& file) override;
  bool write(const host::Image& image, const std::filesystem::path& file) override;
  host::Image scale(const host::Image& image, int width, int height) override;
};

}  // namespace qm::platform
