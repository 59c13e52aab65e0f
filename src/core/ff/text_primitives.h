#pragma once
// Byte-level text primitives shared by every Filter Factory reader and writer. Texts are
// Windows-1252 bytes in std::string; reads never go past the end of the bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/byte_view.h"

namespace qm::ff {

// A file opened for byte access: its bytes and a current position.
class ByteCursor {
 public:
  explicit ByteCursor(ByteView bytes, std::size_t position = 0)
      : bytes_(bytes), position_(position) {}
  ByteView bytes() const { return bytes_; }
  std::size_t position() const { return position_; }
  void seek(std::size_t position) { position_ = position; }
  bool atEnd() const { return position_ >= bytes_.size(); }
  // The next byte, advancing; nullopt at the end.
  std::optional<std::uint8_t> next() {
    auto b = bytes_.u8(position_);
    if (b) ++position_;
    return b;
  }
  std::optional<std::uint8_t> peek() const { return bytes_.u8(position_); }

 private:
  ByteView bytes_;
  std::size_t position_;
};

std::string ReadtoD(ByteCursor& file);
std::string ReadtoDD(ByteCursor& file);
std::string bytes2string2(ByteView file, std::size_t offset);
std::string bytes2string(ByteView file, std::size_t offset);
// A plugin's text field and formula field as the record keeps them. A field that begins with
// NUL was written empty (what follows is an older text's leftovers): the field readers keep
// that NUL as a character, but as a text it is empty, so no NUL reaches lists, JSON, source
// files or labels.
std::string pluginText(ByteView file, std::size_t offset);
std::string pluginFormula(ByteView file, std::size_t offset);
// Write into buf at offset; callers size buf and cut texts to their fields first.
void string2bytes(std::vector<std::uint8_t>& buf, std::string_view text, std::size_t offset);
void string2bytes_w0(std::vector<std::uint8_t>& buf, std::string_view text, std::size_t offset);
void Writecode(std::string& out, std::string_view text);

}  // namespace qm::ff
