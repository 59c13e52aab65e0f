#include "core/outside/zip_archive.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"

namespace qm::outside {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kEnd64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kEnd64Signature = 0x06064b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::uint32_t kUnset32 = 0xFFFFFFFF;
constexpr std::uint16_t kZip64Extra = 0x0001;
constexpr std::uint16_t kFlagEncrypted = 1;
constexpr std::uint16_t kFlagUtf8 = 1 << 11;
constexpr std::uint8_t kMadeOnUnix = 3;
constexpr std::uint32_t kUnixTypeMask = 0170000;
constexpr std::uint32_t kUnixLink = 0120000;
constexpr std::uint32_t kDosDirectory = 0x10;

std::string damaged() {
  return "the archive's directory is damaged";
}

bool isUtf8(std::string_view bytes) {
  return displayText(bytes) == bytes;
}

// The end record, searched backwards over the longest comment an archive can carry.
std::optional<std::size_t> endRecord(ByteView archive) {
  if (archive.size() < kEndSize) return std::nullopt;
  const std::size_t last = archive.size() - kEndSize;
  const std::size_t first = last > 0xFFFF ? last - 0xFFFF : 0;
  for (std::size_t at = last + 1; at-- > first;)
    if (archive.u32le(at) == kEndSignature) return at;
  return std::nullopt;
}

struct Directory {
  std::uint64_t entries = 0;
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
};

std::optional<Directory> directoryOf(ByteView archive, std::size_t end) {
  Directory d{*archive.u16le(end + 10), *archive.u32le(end + 16), *archive.u32le(end + 12)};
  const bool wide = d.entries == 0xFFFF || d.offset == kUnset32 || d.size == kUnset32;
  if (!wide || end < 20 || archive.u32le(end - 20) != kEnd64LocatorSignature) return d;
  auto at = archive.u32le(end - 20 + 8);
  auto high = archive.u32le(end - 20 + 12);
  if (!at || high != 0u || archive.u32le(*at) != kEnd64Signature) return std::nullopt;
  auto entries = archive.u32le(*at + 32);
  auto size = archive.u32le(*at + 40);
  auto offset = archive.u32le(*at + 48);
  if (!entries || !size || !offset || archive.u32le(*at + 36) != 0u ||
      archive.u32le(*at + 44) != 0u || archive.u32le(*at + 52) != 0u)
    return std::nullopt;
  return Directory{*entries, *offset, *size};
}

// Reads the 64-bit values a member's zip64 field holds for the 32-bit fields that are unset.
bool readZip64Field(ByteView extra, ZipMember& m, bool sizeUnset, bool packedUnset,
                    bool offsetUnset) {
  for (std::size_t at = 0; at + 4 <= extra.size();) {
    const auto id = *extra.u16le(at);
    const auto length = *extra.u16le(at + 2);
    if (id == kZip64Extra) {
      ByteView field = extra.sub(at + 4, length);
      std::size_t next = 0;
      auto take = [&](std::uint64_t& value) {
        auto low = field.u32le(next);
        auto high = field.u32le(next + 4);
        if (!low || !high) return false;
        value = (std::uint64_t{*high} << 32) | *low;
        next += 8;
        return true;
      };
      return (!sizeUnset || take(m.size)) && (!packedUnset || take(m.compressedSize)) &&
             (!offsetUnset || take(m.localHeaderOffset));
    }
    at += 4 + std::size_t{length};
  }
  return !sizeUnset && !packedUnset && !offsetUnset;
}

// One central directory header at at; its length in next.
std::optional<ZipMember> centralEntry(ByteView archive, std::size_t at, std::size_t& next) {
  if (archive.u32le(at) != kCentralSignature || !archive.has(at, kCentralSize)) return std::nullopt;
  ZipMember m;
  const std::uint8_t madeOn = *archive.u8(at + 5);
  const std::uint16_t flags = *archive.u16le(at + 8);
  m.method = *archive.u16le(at + 10);
  m.dosTime = *archive.u16le(at + 12);
  m.dosDate = *archive.u16le(at + 14);
  m.crc = *archive.u32le(at + 16);
  m.compressedSize = *archive.u32le(at + 20);
  m.size = *archive.u32le(at + 24);
  const std::size_t nameLength = *archive.u16le(at + 28);
  const std::size_t extraLength = *archive.u16le(at + 30);
  const std::size_t commentLength = *archive.u16le(at + 32);
  const std::uint32_t external = *archive.u32le(at + 38);
  m.localHeaderOffset = *archive.u32le(at + 42);
  const std::size_t total = kCentralSize + nameLength + extraLength + commentLength;
  if (!archive.has(at, total)) return std::nullopt;
  ByteView nameBytes = archive.sub(at + kCentralSize, nameLength);
  const std::string raw(reinterpret_cast<const char*>(nameBytes.data()), nameBytes.size());
  m.name = (flags & kFlagUtf8) || isUtf8(raw) ? displayText(raw) : cp1252ToUtf8(raw);
  if (!readZip64Field(archive.sub(at + kCentralSize + nameLength, extraLength), m,
                      m.size == kUnset32, m.compressedSize == kUnset32,
                      m.localHeaderOffset == kUnset32))
    return std::nullopt;
  m.encrypted = flags & kFlagEncrypted;
  m.symbolicLink = madeOn == kMadeOnUnix && ((external >> 16) & kUnixTypeMask) == kUnixLink;
  m.directory = m.name.ends_with('/') || m.name.ends_with('\\') || (external & kDosDirectory);
  next = at + total;
  return m;
}

std::string inflated(ByteView packed, std::uint64_t size, std::vector<std::uint8_t>& out) {
  out.resize(static_cast<std::size_t>(size));
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return "the unpacker could not start";
  stream.next_in = const_cast<Bytef*>(packed.data());
  stream.avail_in = static_cast<uInt>(std::min<std::size_t>(packed.size(), UINT32_MAX));
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&stream, Z_FINISH);
  const bool whole = result == Z_STREAM_END && stream.total_out == size;
  inflateEnd(&stream);
  return whole ? std::string() : "its packed bytes are damaged";
}

}  // namespace

std::string zipMemberDate(const ZipMember& m) {
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", 1980u + (m.dosDate >> 9),
                (m.dosDate >> 5) & 15u, m.dosDate & 31u, m.dosTime >> 11, (m.dosTime >> 5) & 63u);
  return text;
}

Outcome<std::vector<ZipMember>, std::string> readZipDirectory(ByteView archive) {
  auto end = endRecord(archive);
  if (!end) return Failure{std::string("not a zip archive")};
  auto directory = directoryOf(archive, *end);
  if (!directory || directory->offset > archive.size() ||
      directory->size > archive.size() - directory->offset)
    return Failure{damaged()};
  std::vector<ZipMember> members;
  std::size_t at = static_cast<std::size_t>(directory->offset);
  const std::size_t stop = at + static_cast<std::size_t>(directory->size);
  // Each entry takes at least its fixed part, so a lying count cannot make the loop long.
  while (members.size() < directory->entries && at < stop) {
    std::size_t next = 0;
    auto member = centralEntry(archive, at, next);
    if (!member || next > stop) return Failure{damaged()};
    members.push_back(std::move(*member));
    at = next;
  }
  if (members.size() != directory->entries) return Failure{damaged()};
  return members;
}

Outcome<std::vector<std::uint8_t>, std::string> unpackZipMember(ByteView archive,
                                                                const ZipMember& m) {
  if (m.encrypted) return Failure{std::string("it is encrypted")};
  if (m.method != 0 && m.method != 8)
    return Failure{"it is packed with method " + std::to_string(m.method) +
                   ", which this program cannot unpack"};
  if (m.size > kLargestZipMember) return Failure{std::string("it is larger than 1 GB")};
  const auto at = m.localHeaderOffset;
  if (at > archive.size() || archive.u32le(static_cast<std::size_t>(at)) != kLocalSignature ||
      !archive.has(static_cast<std::size_t>(at), kLocalSize))
    return Failure{damaged()};
  const std::size_t local = static_cast<std::size_t>(at);
  const std::size_t data =
      local + kLocalSize + *archive.u16le(local + 26) + *archive.u16le(local + 28);
  if (data > archive.size() || m.compressedSize > archive.size() - data) return Failure{damaged()};
  ByteView packed = archive.sub(data, static_cast<std::size_t>(m.compressedSize));
  std::vector<std::uint8_t> bytes;
  if (m.method == 0) {
    if (m.compressedSize != m.size) return Failure{damaged()};
    bytes.assign(packed.data(), packed.data() + packed.size());
  } else if (auto problem = inflated(packed, m.size, bytes); !problem.empty()) {
    return Failure{problem};
  }
  const auto sum = crc32(crc32(0L, Z_NULL, 0), bytes.data(), static_cast<uInt>(bytes.size()));
  if (sum != m.crc) return Failure{std::string("its bytes do not match their checksum")};
  return bytes;
}

}  // namespace qm::outside
