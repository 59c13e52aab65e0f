#pragma once
// Random access to the bytes of a plugin file without reading all of it: readers ask for
// the ranges they need and get what exists (clipped at the end of the file). The memory
// form serves the fuzzers and tests with the same code paths.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "core/common/byte_view.h"

namespace qm::plugins {

class FileBytes {
 public:
  static std::optional<FileBytes> open(const std::filesystem::path& file);
  static FileBytes fromMemory(ByteView bytes);

  std::uint64_t size() const { return size_; }

  // [offset, offset + count) clipped to the end of the file; fewer bytes (or none) when the
  // file ends first or a read fails.
  std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t count);
  std::optional<std::uint8_t> at(std::uint64_t offset) {
    if (offset - blockStart_ < block_.size()) return block_[offset - blockStart_];
    return atSlow(offset);
  }
  bool matches(std::uint64_t offset, std::string_view text);

 private:
  FileBytes() = default;
  std::optional<std::uint8_t> atSlow(std::uint64_t offset);
  std::size_t readInto(std::uint64_t offset, std::uint8_t* out, std::size_t count);

  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  ByteView memory_;
  std::uint64_t size_ = 0;
  // A cached block of the file, so byte-wise scans cost one read per block.
  std::vector<std::uint8_t> block_;
  std::uint64_t blockStart_ = 0;
};

// The whole file, in one read; nullopt when it cannot be read.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& file);

}  // namespace qm::plugins
