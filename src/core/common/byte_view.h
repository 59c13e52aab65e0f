#pragma once
// Bounds-checked reading of untrusted bytes: every access past the end yields "nothing"
// (std::nullopt or a clipped view), so a hostile offset is an ordinary branch.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace qm {

class ByteView {
 public:
  ByteView() = default;
  explicit ByteView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  ByteView(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}

  std::size_t size() const { return bytes_.size(); }
  bool empty() const { return bytes_.empty(); }
  const std::uint8_t* data() const { return bytes_.data(); }
  std::span<const std::uint8_t> span() const { return bytes_; }

  bool has(std::size_t offset, std::size_t count = 1) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }

  std::optional<std::uint8_t> u8(std::size_t offset) const {
    if (!has(offset)) return std::nullopt;
    return bytes_[offset];
  }
  std::optional<std::uint16_t> u16le(std::size_t offset) const {
    if (!has(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
  }
  std::optional<std::uint16_t> u16be(std::size_t offset) const {
    if (!has(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(bytes_[offset] << 8 | bytes_[offset + 1]);
  }
  std::optional<std::uint32_t> u32le(std::size_t offset) const {
    if (!has(offset, 4)) return std::nullopt;
    return static_cast<std::uint32_t>(bytes_[offset]) |
           static_cast<std::uint32_t>(bytes_[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes_[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes_[offset + 3]) << 24;
  }
  std::optional<std::uint32_t> u32be(std::size_t offset) const {
    if (!has(offset, 4)) return std::nullopt;
    return static_cast<std::uint32_t>(bytes_[offset]) << 24 |
           static_cast<std::uint32_t>(bytes_[offset + 1]) << 16 |
           static_cast<std::uint32_t>(bytes_[offset + 2]) << 8 |
           static_cast<std::uint32_t>(bytes_[offset + 3]);
  }

  // The bytes [offset, offset + count), clipped to what exists.
  ByteView sub(std::size_t offset, std::size_t count = SIZE_MAX) const {
    if (offset >= bytes_.size()) return {};
    std::size_t available = bytes_.size() - offset;
    return ByteView(bytes_.subspan(offset, count < available ? count : available));
  }

  // True when the bytes at offset equal text.
  bool matches(std::size_t offset, std::string_view text) const {
    if (!has(offset, text.size())) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
      if (bytes_[offset + i] != static_cast<std::uint8_t>(text[i])) return false;
    return true;
  }

  // First offset >= from where text starts, or nullopt.
  std::optional<std::size_t> find(std::string_view text, std::size_t from = 0) const {
    if (text.empty() || bytes_.size() < text.size()) return std::nullopt;
    for (std::size_t i = from; i + text.size() <= bytes_.size(); ++i)
      if (matches(i, text)) return i;
    return std::nullopt;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace qm
