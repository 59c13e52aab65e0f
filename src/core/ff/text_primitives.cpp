#include "core/ff/text_primitives.h"

namespace qm::ff {

namespace {

constexpr std::uint8_t kCR = 13;
constexpr std::uint8_t kLF = 10;

// Reads a NUL-terminated text; with stripComments a "//" runs to the next CR (and an LF right
// after it). A NUL or the end of the bytes inside a comment ends the whole text, so a comment
// never spills into the next field.
std::string readFieldText(ByteView file, std::size_t offset, bool stripComments) {
  std::string out;
  std::size_t i = offset;
  bool first = true;
  while (auto b = file.u8(i)) {
    // A NUL in the very first position is kept as a character.
    if (*b == 0 && !first) break;
    first = false;
    if (*b == kCR) {
      i += file.u8(i + 1) == kLF ? 2 : 1;
      continue;
    }
    if (stripComments && *b == '/' && file.u8(i + 1) == '/') {
      std::size_t j = i + 2;
      for (;;) {
        auto c = file.u8(j);
        if (!c || *c == 0) return out;
        ++j;
        if (*c == kCR) break;
      }
      if (file.u8(j) == kLF) ++j;
      i = j;
      continue;
    }
    out.push_back(static_cast<char>(*b));
    ++i;
  }
  return out;
}

void writeBytes(std::vector<std::uint8_t>& buf, std::string_view text, std::size_t offset,
                bool terminate) {
  // Never past the buffer: callers size it and cut texts, this only keeps memory safe.
  std::size_t i = offset;
  for (char c : text) {
    if (i >= buf.size()) return;
    buf[i++] = static_cast<std::uint8_t>(c);
  }
  if (terminate && i < buf.size()) buf[i] = 0;
}

}  // namespace

std::string ReadtoD(ByteCursor& file) {
  std::string out;
  while (auto b = file.next()) {
    if (*b == kCR) break;
    out.push_back(static_cast<char>(*b));
  }
  return out;
}

std::string ReadtoDD(ByteCursor& file) {
  std::string out;
  while (auto b = file.next()) {
    if (*b != kCR) {
      out.push_back(static_cast<char>(*b));
      continue;
    }
    auto after = file.next();
    if (!after || *after <= kCR) break;
    out.push_back(static_cast<char>(*after));
  }
  return out;
}

std::string bytes2string2(ByteView file, std::size_t offset) {
  return readFieldText(file, offset, false);
}

std::string bytes2string(ByteView file, std::size_t offset) {
  return readFieldText(file, offset, true);
}

std::string pluginText(ByteView file, std::size_t offset) {
  return file.u8(offset) == 0 ? std::string() : bytes2string2(file, offset);
}

std::string pluginFormula(ByteView file, std::size_t offset) {
  return file.u8(offset) == 0 ? std::string() : bytes2string(file, offset);
}

void string2bytes(std::vector<std::uint8_t>& buf, std::string_view text, std::size_t offset) {
  writeBytes(buf, text, offset, true);
}

void string2bytes_w0(std::vector<std::uint8_t>& buf, std::string_view text, std::size_t offset) {
  writeBytes(buf, text, offset, false);
}

void Writecode(std::string& out, std::string_view text) {
  out.append(text);
  out.push_back(static_cast<char>(kCR));
}

}  // namespace qm::ff
