#include "core/plugins/file_bytes.h"

#include <algorithm>
#include <cstring>

namespace qm::plugins {
namespace {

// The first block holds the headers, and is all most files need; later blocks serve scans of
// whole windows, so they are big enough that a scan costs few reads.
constexpr std::size_t kFirstBlockSize = 4 * 1024;
constexpr std::size_t kBlockSize = 64 * 1024;
constexpr std::size_t kWholeFileLimit = 256 * 1024;

}  // namespace

std::optional<FileBytes> FileBytes::open(const std::filesystem::path& file) {
  // A folder or a device opens too, but has no length to trust.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  std::FILE* f = std::fopen(file.c_str(), "rb");
  if (!f) return std::nullopt;
  FileBytes bytes;
  bytes.file_.reset(f);
  // Reads go straight into the caller's buffers: stdio's own buffer would only add a copy.
  std::setvbuf(f, nullptr, _IONBF, 0);
  if (std::fseek(f, 0, SEEK_END) != 0) return std::nullopt;
  long end = std::ftell(f);
  if (end < 0) return std::nullopt;
  bytes.size_ = static_cast<std::uint64_t>(end);
  return bytes;
}

FileBytes FileBytes::fromMemory(ByteView bytes) {
  FileBytes result;
  result.memory_ = bytes;
  result.size_ = bytes.size();
  return result;
}

std::size_t FileBytes::readInto(std::uint64_t offset, std::uint8_t* out, std::size_t count) {
  if (offset >= size_ || count == 0) return 0;
  count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
  if (!file_) {
    std::memcpy(out, memory_.data() + offset, count);
    return count;
  }
  if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0) return 0;
  return std::fread(out, 1, count, file_.get());
}

std::vector<std::uint8_t> FileBytes::read(std::uint64_t offset, std::size_t count) {
  std::vector<std::uint8_t> out;
  if (offset >= size_) return out;
  count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
  if (offset >= blockStart_ && offset - blockStart_ + count <= block_.size()) {
    auto first = block_.begin() + static_cast<std::ptrdiff_t>(offset - blockStart_);
    out.assign(first, first + static_cast<std::ptrdiff_t>(count));
    return out;
  }
  out.resize(count);
  out.resize(readInto(offset, out.data(), count));
  return out;
}

std::optional<std::uint8_t> FileBytes::atSlow(std::uint64_t offset) {
  if (offset >= size_) return std::nullopt;
  if (!file_) return memory_.data()[offset];
  std::size_t size = block_.empty() ? kFirstBlockSize : kBlockSize;
  blockStart_ = offset - offset % 4096;
  // The Premiere search visits windows from the end of the file backwards; a small file is
  // read once, whole, rather than once per window.
  if (!block_.empty() && size_ <= kWholeFileLimit) {
    blockStart_ = 0;
    size = static_cast<std::size_t>(size_);
  }
  block_.resize(size);
  block_.resize(readInto(blockStart_, block_.data(), size));
  if (offset - blockStart_ < block_.size()) return block_[offset - blockStart_];
  return std::nullopt;
}

bool FileBytes::matches(std::uint64_t offset, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto b = at(offset + i);
    if (!b || *b != static_cast<std::uint8_t>(text[i])) return false;
  }
  return true;
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& file) {
  auto bytes = FileBytes::open(file);
  if (!bytes) return std::nullopt;
  auto all = bytes->read(0, static_cast<std::size_t>(bytes->size()));
  if (all.size() != bytes->size()) return std::nullopt;
  return all;
}

}  // namespace qm::plugins
