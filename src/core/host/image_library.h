#pragma once
// Our imaging library: decoded pictures behind numeric handles, as the program's callers
// use them (open, info, colour promotion, scaled copy, write, last error). Handle 0 means
// "none" or failure.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "core/host/image.h"
#include "core/host/image_codec.h"

namespace qm::host {

using ImageHandle = std::uint32_t;

// Inclusive corners: the whole image is (0, 0, width - 1, height - 1).
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = -1;
  std::int32_t bottom = -1;
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

struct ImageInfo {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
};

enum class ImageStatus { Ok, CannotOpen, BadHandle, BadSize, CannotWrite };

class ImageLibrary {
 public:
  explicit ImageLibrary(ImageCodec& codec) : codec_(codec) {}

  ImageHandle open(const std::filesystem::path& file);
  ImageHandle adopt(Image image);  // takes a picture from elsewhere (clipboard, tests)
  void close(ImageHandle handle);
  std::optional<ImageInfo> info(ImageHandle handle) const;
  // A new copy with at least `bits` bits per pixel (the pixels are already 8-bit RGBA).
  ImageHandle increaseColors(ImageHandle handle, int bits);
  // A new image of width x height from the source rectangle, resampled.
  ImageHandle copy(ImageHandle handle, int width, int height, const Rect& source);
  // Writes by the file's extension through a temporary file in the same folder.
  bool write(ImageHandle handle, const std::filesystem::path& file);

  Image* image(ImageHandle handle);
  const Image* image(ImageHandle handle) const;
  std::size_t openCount() const { return images_.size(); }

  ImageStatus status() const { return status_; }
  std::string statusText() const;

 private:
  ImageHandle store(Image image);
  ImageCodec& codec_;
  std::map<ImageHandle, Image> images_;
  ImageHandle next_ = 1;
  ImageStatus status_ = ImageStatus::Ok;
};

}  // namespace qm::host
