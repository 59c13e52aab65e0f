#pragma once
// The picture as the host process sees it: a file in shared memory (/dev/shm where there is
// one) with a small header and the pixels; both sides map it. Removed when the object goes.

#include <filesystem>
#include <optional>

#include "core/host/image.h"

namespace qm::plughost {

class PixelFile {
 public:
  // Writes the picture (greyscale, RGB or RGBA, see channelsFor); nullopt when the file
  // cannot be written or the picture is larger than a filter can take.
  static std::optional<PixelFile> create(const host::Image& image);
  PixelFile(PixelFile&& other) noexcept;
  PixelFile& operator=(PixelFile&&) = delete;
  ~PixelFile();

  const std::filesystem::path& path() const { return path_; }
  int channels() const { return channels_; }
  // Sets the word the plugin's abort test reads.
  void requestAbort() const;
  // The host's result into image (same size); false when the file no longer holds it.
  bool readResult(host::Image& image) const;

 private:
  PixelFile(std::filesystem::path path, int channels)
      : path_(std::move(path)), channels_(channels) {}
  std::filesystem::path path_;
  int channels_ = 3;
};

// 4 for a picture with alpha, 1 for an 8-bit picture whose pixels are all grey, else 3.
int channelsFor(const host::Image& image);

}  // namespace qm::plughost
