#pragma once
// The port through which the engine decodes, encodes and resamples pictures. The desktop
// program and quillmark-cli implement it with Qt's image plugins; tests with a fake.

#include <filesystem>
#include <optional>

#include "core/host/image.h"

namespace qm::host {

class ImageCodec {
 public:
  virtual ~ImageCodec() = default;
  // Any format the codec knows, recognised by content. Empty when unreadable.
  virtual std::optional<Image> read(const std::filesystem::path& file) = 0;
  // The format follows the file's extension. False when it is unknown or the write failed;
  // the caller writes to a temporary name and renames, so a failure leaves no half file.
  virtual bool write(const Image& image, const std::filesystem::path& file) = 0;
  // The same with a quality from 1 to 100 for lossy formats; a codec without such a setting
  // writes as write() does.
  virtual bool writeWithQuality(const Image& image, const std::filesystem::path& file, int) {
    return write(image, file);
  }
  // A smooth resampling to exactly width x height.
  virtual Image scale(const Image& image, int width, int height) = 0;
};

}  // namespace qm::host
