#include "core/host/image_library.h"

#include <algorithm>
#include <system_error>

#include "core/common/same_file.h"

namespace qm::host {

namespace fs = std::filesystem;

ImageHandle ImageLibrary::store(Image image) {
  if (next_ == 0) ++next_;  // 0 stays "none" even after wrapping
  const ImageHandle h = next_++;
  images_[h] = std::move(image);
  status_ = ImageStatus::Ok;
  return h;
}

ImageHandle ImageLibrary::open(const fs::path& file) {
  auto img = codec_.read(file);
  if (!img || !img->valid()) {
    status_ = ImageStatus::CannotOpen;
    return 0;
  }
  return store(std::move(*img));
}

ImageHandle ImageLibrary::adopt(Image image) {
  if (!image.valid()) {
    status_ = ImageStatus::BadSize;
    return 0;
  }
  return store(std::move(image));
}

void ImageLibrary::close(ImageHandle handle) {
  images_.erase(handle);
}

Image* ImageLibrary::image(ImageHandle handle) {
  auto it = images_.find(handle);
  return it == images_.end() ? nullptr : &it->second;
}
const Image* ImageLibrary::image(ImageHandle handle) const {
  auto it = images_.find(handle);
  return it == images_.end() ? nullptr : &it->second;
}

std::optional<ImageInfo> ImageLibrary::info(ImageHandle handle) const {
  const Image* img = image(handle);
  if (!img) return std::nullopt;
  return ImageInfo{img->width, img->height, img->bitsPerPixel};
}

ImageHandle ImageLibrary::increaseColors(ImageHandle handle, int bits) {
  const Image* img = image(handle);
  if (!img) {
    status_ = ImageStatus::BadHandle;
    return 0;
  }
  Image promoted = *img;
  if (promoted.bitsPerPixel < bits) promoted.bitsPerPixel = bits;
  return store(std::move(promoted));
}

ImageHandle ImageLibrary::copy(ImageHandle handle, int width, int height, const Rect& source) {
  const Image* img = image(handle);
  if (!img) {
    status_ = ImageStatus::BadHandle;
    return 0;
  }
  if (width <= 0 || height <= 0 || source.left < 0 || source.top < 0 ||
      source.right >= img->width || source.bottom >= img->height || source.width() <= 0 ||
      source.height() <= 0) {
    status_ = ImageStatus::BadSize;
    return 0;
  }
  Image part = Image::blank(source.width(), source.height(), img->hasAlpha);
  part.bitsPerPixel = img->bitsPerPixel;
  for (int y = 0; y < part.height; ++y)
    std::copy_n(img->pixel(source.left, source.top + y), static_cast<std::size_t>(part.width) * 4,
                part.pixel(0, y));
  if (part.width == width && part.height == height) return store(std::move(part));
  Image scaled = codec_.scale(part, width, height);
  scaled.bitsPerPixel = img->bitsPerPixel;
  if (!scaled.valid()) {
    status_ = ImageStatus::BadSize;
    return 0;
  }
  return store(std::move(scaled));
}

bool ImageLibrary::write(ImageHandle handle, const fs::path& file) {
  const Image* img = image(handle);
  if (!img) {
    status_ = ImageStatus::BadHandle;
    return false;
  }
  // A link stays a link: the file it names is replaced. The temporary keeps the extension so
  // the codec picks the same format.
  const fs::path target = fileBehindLinks(file);
  fs::path temp = target;
  temp.replace_filename(".~" + target.filename().string() + ".part" + target.extension().string());
  std::error_code ec;
  if (!codec_.write(*img, temp)) {
    fs::remove(temp, ec);
    status_ = ImageStatus::CannotWrite;
    return false;
  }
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    status_ = ImageStatus::CannotWrite;
    return false;
  }
  status_ = ImageStatus::Ok;
  return true;
}

std::string ImageLibrary::statusText() const {
  switch (status_) {
    case ImageStatus::Ok:
      return "No error.";
    case ImageStatus::CannotOpen:
      return "The picture cannot be opened: unknown or damaged file.";
    case ImageStatus::BadHandle:
      return "No such picture is open.";
    case ImageStatus::BadSize:
      return "The picture size is not valid.";
    case ImageStatus::CannotWrite:
      return "The picture cannot be written.";
  }
  return {};
}

}  // namespace qm::host
