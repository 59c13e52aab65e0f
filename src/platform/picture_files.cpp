#include "platform/picture_files.h"

#include "platform/image_codec.h"

namespace qm::platform {

std::optional<host::Image> QtPictureFiles::read(const std::filesystem::path& file) {
  return QtImageCodec().read(file);
}

std::string QtPictureFiles::whyUnreadable(const std::filesystem::path& file) {
  return pictureSizeProblem(file).value_or("cannot read the picture");
}

std::optional<std::vector<std::uint8_t>> QtPictureFiles::encode(
    const host::Image& image, const std::filesystem::path& output,
    const apply::EncodeRequest& request) {
  EncodeOptions options;
  options.pngLevel = request.pngLevel;
  options.cancelled = request.cancelled;
  return QtImageCodec().encode(image, output, options);
}

}  // namespace qm::platform
