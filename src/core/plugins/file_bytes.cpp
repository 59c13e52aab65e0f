#include "core/plugins/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace qm::plugins {
namespace {

// The first block holds the headers, and is all most files need; later blocks serve scans of
// whole windows, so they are big enough that a scan costs few reads.
constexpr std::size_t kFirstBlockSize = 4 * 1024;
constexpr std::size_t kBlockSize = 64 * 1024;
constexpr std::size_t kWholeFileLimit = 256 * 1024;

// O_NONBLOCK: a FIFO in the folder must not stall the scan at open; it is turned away below
// like folders and devices, which have no length to trust. Regular files ignore the flag.
constexpr int kOpenFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;

}  // namespace

std::optional<OpenFolder> OpenFolder::open(const std::filesystem::path& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  OpenFolder result;
  result.fd_ = fd;
  return result;
}

OpenFolder::OpenFolder(OpenFolder&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

OpenFolder::~OpenFolder() {
  if (fd_ >= 0) ::close(fd_);
}

std::optional<FileBytes> FileBytes::open(const std::filesystem::path& file) {
  return fromDescriptor(::open(file.c_str(), kOpenFlags));
}

std::optional<FileBytes> FileBytes::open(const OpenFolder& folder, const std::string& name) {
  return fromDescriptor(::openat(folder.fd_, name.c_str(), kOpenFlags));
}

std::optional<FileBytes> FileBytes::fromDescriptor(int fd) {
  if (fd < 0) return std::nullopt;
  FileBytes bytes;
  bytes.fd_ = fd;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) return std::nullopt;
  bytes.size_ = static_cast<std::uint64_t>(info.st_size);
  bytes.modified_ = std::int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec;
  return bytes;
}

FileBytes FileBytes::fromMemory(ByteView bytes) {
  FileBytes result;
  result.size_ = bytes.size();
  result.block_ = bytes;
  return result;
}

FileBytes::FileBytes(FileBytes&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      size_(other.size_),
      modified_(other.modified_),
      block_(std::exchange(other.block_, {})),
      blockStart_(other.blockStart_),
      buffer_(std::move(other.buffer_)),
      capacity_(std::exchange(other.capacity_, 0)) {}

FileBytes& FileBytes::operator=(FileBytes&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    size_ = other.size_;
    modified_ = other.modified_;
    block_ = std::exchange(other.block_, {});
    blockStart_ = other.blockStart_;
    buffer_ = std::move(other.buffer_);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

FileBytes::~FileBytes() {
  if (fd_ >= 0) ::close(fd_);
}

std::size_t FileBytes::readInto(std::uint64_t offset, std::uint8_t* out, std::size_t count) {
  if (fd_ < 0 || offset >= size_ || count == 0) return 0;
  count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
  std::size_t done = 0;
  while (done < count) {
    ssize_t n = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

void FileBytes::load(std::uint64_t start, std::size_t count) {
  if (count > capacity_) {
    // Not value-initialised: every byte handed out is one that was read.
    buffer_.reset(new std::uint8_t[count]);
    capacity_ = count;
  }
  blockStart_ = start;
  block_ = ByteView(buffer_.get(), readInto(start, buffer_.get(), count));
}

std::vector<std::uint8_t> FileBytes::read(std::uint64_t offset, std::size_t count) {
  std::vector<std::uint8_t> out;
  if (offset >= size_) return out;
  count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
  if (covers(offset, count)) {
    const std::uint8_t* first = block_.data() + (offset - blockStart_);
    out.assign(first, first + count);
    return out;
  }
  out.resize(count);
  out.resize(readInto(offset, out.data(), count));
  return out;
}

void FileBytes::ensure(std::uint64_t offset, std::size_t count) {
  if (fd_ < 0 || covers(offset, count)) return;
  const std::uint64_t start = offset - offset % 4096;
  if (block_.empty() && offset + count - start <= kFirstBlockSize) {
    load(start, static_cast<std::size_t>(std::min<std::uint64_t>(kFirstBlockSize, size_ - start)));
  } else if (size_ <= kWholeFileLimit) {
    // The Premiere search visits windows from the end of the file backwards; a small file is
    // read once, whole, rather than once per window.
    load(0, static_cast<std::size_t>(size_));
  } else {
    const std::uint64_t length = std::max<std::uint64_t>(kBlockSize, offset + count - start);
    load(start, static_cast<std::size_t>(std::min(length, size_ - start)));
  }
}

ByteView FileBytes::view(std::uint64_t offset, std::size_t count) {
  if (offset >= size_) return {};
  count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
  ensure(offset, count);
  if (offset < blockStart_) return {};
  return block_.sub(static_cast<std::size_t>(offset - blockStart_), count);
}

std::optional<std::uint8_t> FileBytes::atSlow(std::uint64_t offset) {
  if (offset >= size_) return std::nullopt;
  ensure(offset, 1);
  if (offset - blockStart_ < block_.size()) return block_.data()[offset - blockStart_];
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
