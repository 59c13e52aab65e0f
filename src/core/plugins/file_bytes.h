#pragma once
// Random access to the bytes of a plugin file without reading all of it: readers ask for
// the ranges they need and get what exists (clipped at the end of the file). The memory
// form serves the fuzzers and tests with the same code paths.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/byte_view.h"

namespace qm::plugins {

// A folder held open while its files are read, so that each file opens by its name alone
// instead of walking the folder's whole path again.
class OpenFolder {
 public:
  static std::optional<OpenFolder> open(const std::filesystem::path& folder);

  OpenFolder(OpenFolder&& other) noexcept;
  OpenFolder& operator=(OpenFolder&& other) noexcept;
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;
  ~OpenFolder();
  int descriptor() const { return fd_; }

 private:
  friend class FileBytes;
  OpenFolder() = default;
  int fd_ = -1;
};

class FileBytes {
 public:
  static std::optional<FileBytes> open(const std::filesystem::path& file);
  // name: a file of the folder as the folder lists it (no separators).
  static std::optional<FileBytes> open(const OpenFolder& folder, const std::string& name);
  static FileBytes fromMemory(ByteView bytes);

  FileBytes(FileBytes&& other) noexcept;
  FileBytes& operator=(FileBytes&& other) noexcept;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  ~FileBytes();

  std::uint64_t size() const { return size_; }
  // Modification time in nanoseconds, as the open file's facts give it (0 from memory).
  std::int64_t modified() const { return modified_; }

  // [offset, offset + count) clipped to the end of the file; fewer bytes (or none) when the
  // file ends first or a read fails.
  std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t count);
  // The same range without a copy; valid until the next call on this object.
  ByteView view(std::uint64_t offset, std::size_t count);
  // The whole file (one read); valid until the next call on this object.
  ByteView all() {
    return view(0, static_cast<std::size_t>(std::min<std::uint64_t>(size_, SIZE_MAX)));
  }

  std::optional<std::uint8_t> at(std::uint64_t offset) {
    if (offset - blockStart_ < block_.size()) return block_.data()[offset - blockStart_];
    return atSlow(offset);
  }
  bool matches(std::uint64_t offset, std::string_view text);

 private:
  FileBytes() = default;
  static std::optional<FileBytes> fromDescriptor(int fd);
  std::optional<std::uint8_t> atSlow(std::uint64_t offset);
  bool covers(std::uint64_t offset, std::size_t count) const {
    return offset >= blockStart_ && offset - blockStart_ <= block_.size() &&
           count <= block_.size() - (offset - blockStart_);
  }
  // Makes the block hold [offset, offset + count) (clipped to the file) when it can be read.
  void ensure(std::uint64_t offset, std::size_t count);
  std::size_t readInto(std::uint64_t offset, std::uint8_t* out, std::size_t count);
  // Reads [start, start + count) (already clipped) into the block.
  void load(std::uint64_t start, std::size_t count);

  int fd_ = -1;  // -1 for the memory form
  std::uint64_t size_ = 0;
  std::int64_t modified_ = 0;
  // The bytes at hand: a block read from the file, or the whole memory form. Byte-wise scans
  // cost one read per block.
  ByteView block_;
  std::uint64_t blockStart_ = 0;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t capacity_ = 0;
};

// The whole file, in one read; nullopt when it cannot be read.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& file);

}  // namespace qm::plugins
