#pragma once
// The port through which apply reads picture files and encodes its results. The programs
// implement it with Qt's image plugins; it is called from several threads at once.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/host/image.h"

namespace qm::apply {

struct EncodeRequest {
  int pngLevel = -1;                // 0-9; -1: the codec's default
  std::function<bool()> cancelled;  // polled while the bytes come out; true fails the encoding
};

class PictureFiles {
 public:
  virtual ~PictureFiles() = default;
  // Empty when the file is not a picture the codec reads.
  virtual std::optional<host::Image> read(const std::filesystem::path& file) = 0;
  // Why read() gave nothing for a file that is there: its size, its variant, or a general word.
  virtual std::string whyUnreadable(const std::filesystem::path& file) = 0;
  // The file's bytes in the format output's extension names; empty for an unknown format or
  // a cancelled encoding.
  virtual std::optional<std::vector<std::uint8_t>> encode(const host::Image& image,
                                                          const std::filesystem::path& output,
                                                          const EncodeRequest& request) = 0;
};

}  // namespace qm::apply
