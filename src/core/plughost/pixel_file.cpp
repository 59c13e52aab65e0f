#include "core/plughost/pixel_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <fstream>
#include <random>
#include <system_error>
#include <vector>

#include "core/common/write_fully.h"
#include "plughost/wire.h"

namespace qm::plughost {

namespace fs = std::filesystem;

namespace {

void putWord(std::vector<char>& bytes, std::size_t at, std::uint32_t value) {
  for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<char>(value >> (8 * k));
}

fs::path sharedFolder() {
  std::error_code ec;
  if (fs::is_directory("/dev/shm", ec)) return "/dev/shm";
  return fs::temp_directory_path(ec);
}

fs::path uniqueName() {
  std::random_device random;
  const std::uint64_t n = (std::uint64_t{random()} << 32) ^ random();
  return sharedFolder() / ("quillmark-pixels-" + std::to_string(n));
}

}  // namespace

int channelsFor(const host::Image& image) {
  if (image.hasAlpha) return 4;
  if (image.bitsPerPixel > 8) return 3;
  for (std::size_t i = 0; i + 3 < image.rgba.size(); i += 4)
    if (image.rgba[i] != image.rgba[i + 1] || image.rgba[i] != image.rgba[i + 2]) return 3;
  return 1;
}

std::optional<PixelFile> PixelFile::create(const host::Image& image) {
  if (!image.valid() || image.width > kWireMaxSide || image.height > kWireMaxSide)
    return std::nullopt;
  const int channels = channelsFor(image);
  const std::size_t pixels = static_cast<std::size_t>(image.width) * image.height;
  std::vector<char> bytes(kWireHeaderSize + pixels * channels, 0);
  putWord(bytes, kWireMagicAt, kWireMagic);
  putWord(bytes, kWireWidthAt, static_cast<std::uint32_t>(image.width));
  putWord(bytes, kWireHeightAt, static_cast<std::uint32_t>(image.height));
  putWord(bytes, kWireChannelsAt, static_cast<std::uint32_t>(channels));
  char* out = bytes.data() + kWireHeaderSize;
  for (std::size_t i = 0; i < pixels; ++i)
    for (int c = 0; c < channels; ++c) *out++ = static_cast<char>(image.rgba[i * 4 + c]);
  // The user's own pixels: readable by nobody else, and never written through a name
  // somebody else put there first.
  const fs::path name = uniqueName();
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return std::nullopt;
  PixelFile file(name, channels);
  const bool written = writeFully(fd, bytes.data(), bytes.size()) == 0;
  if (::close(fd) != 0 || !written) return std::nullopt;
  return file;
}

PixelFile::PixelFile(PixelFile&& other) noexcept
    : path_(std::move(other.path_)), channels_(other.channels_) {
  other.path_.clear();
}

PixelFile::~PixelFile() {
  std::error_code ec;
  if (!path_.empty()) fs::remove(path_, ec);
}

void PixelFile::requestAbort() const {
  std::fstream stream(path_, std::ios::binary | std::ios::in | std::ios::out);
  stream.seekp(kWireAbortAt);
  stream.put(1);
}

bool PixelFile::readResult(host::Image& image) const {
  const std::size_t pixels = static_cast<std::size_t>(image.width) * image.height;
  std::vector<char> bytes(pixels * channels_);
  std::ifstream stream(path_, std::ios::binary);
  stream.seekg(kWireHeaderSize);
  stream.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!stream || image.rgba.size() != pixels * 4) return false;
  const char* in = bytes.data();
  for (std::size_t i = 0; i < pixels; ++i) {
    std::uint8_t* p = image.rgba.data() + i * 4;
    for (int c = 0; c < channels_; ++c) p[c] = static_cast<std::uint8_t>(*in++);
    if (channels_ == 1) p[1] = p[2] = p[0];
  }
  return true;
}

}  // namespace qm::plughost
