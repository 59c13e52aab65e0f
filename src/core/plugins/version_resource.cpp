#include "core/plugins/version_resource.h"

#include <cstring>
#include <string_view>

#include "core/plugins/file_bytes.h"

namespace qm::plugins {
namespace {

struct KeyShape {
  std::string_view key;
  std::size_t secondPartChar;  // index of the second compared run of four characters
  std::size_t valueOffset;     // bytes from the key to its value
};

KeyShape shapeOf(VersionKey key) {
  switch (key) {
    case VersionKey::FileDescription:
      return {"FileDescription", 8, 34};
    case VersionKey::InternalName:
      return {"InternalName", 8, 26};
    case VersionKey::ProductName:
      return {"ProductName", 7, 26};
  }
  return {"FileDescription", 8, 34};
}

bool lowBytesMatch(ByteView bytes, std::size_t p, std::string_view chars) {
  for (std::size_t i = 0; i < chars.size(); ++i) {
    auto b = bytes.u8(p + 2 * i);
    if (!b || *b != static_cast<std::uint8_t>(chars[i])) return false;
  }
  return true;
}

}  // namespace

std::string ReadVersionRessourceBytes(ByteView bytes, VersionKey which) {
  const KeyShape shape = shapeOf(which);
  const std::string_view head = shape.key.substr(0, 4);
  const std::string_view tail = shape.key.substr(shape.secondPartChar, 4);
  const std::size_t tailOffset = 2 * shape.secondPartChar;
  std::string result;
  const std::uint8_t first = static_cast<std::uint8_t>(head[0]);
  const std::uint8_t* data = bytes.data();
  const std::size_t size = bytes.size();
  // Only the low bytes of eight characters are compared, at even offsets. memchr finds the
  // candidates for the first character; odd hits are passed over.
  for (std::size_t p = 0; p < size;) {
    const void* hit = std::memchr(data + p, first, size - p);
    if (!hit) break;
    p = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - data);
    if (p % 2 != 0 || !lowBytesMatch(bytes, p, head) ||
        !lowBytesMatch(bytes, p + tailOffset, tail)) {
      ++p;
      continue;
    }
    // Low bytes are kept as Windows-1252, the code page the program's texts use everywhere.
    for (std::size_t j = 0; j <= 300; j += 2) {
      auto b = bytes.u8(p + shape.valueOffset + j);
      if (!b || *b == 0) break;
      result.push_back(static_cast<char>(*b));
    }
    p += 2;
  }
  return result;
}

std::string ReadVersionRessource(const std::filesystem::path& file, VersionKey key) {
  auto bytes = FileBytes::open(file);
  if (!bytes) return {};
  const ByteView all = bytes->all();
  // A file that could not be read whole counts as unreadable.
  if (all.size() != bytes->size()) return {};
  return ReadVersionRessourceBytes(all, key);
}

}  // namespace qm::plugins
