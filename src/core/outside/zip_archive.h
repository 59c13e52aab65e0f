#pragma once
// Reading zip archives for View Zip, Unzip and Unzip and Run: the central directory lists the
// members; a member's bytes come from its local header, unpacked when stored or deflated.
// Archives come from downloads, so every length and offset is checked against the bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/common/byte_view.h"
#include "core/common/outcome.h"

namespace qm::outside {

struct ZipMember {
  std::string name;  // as stored, in UTF-8 (names not flagged UTF-8 read as Windows-1252)
  std::uint64_t size = 0;
  std::uint64_t compressedSize = 0;
  std::uint16_t method = 0;  // 0 stored, 8 deflated; others are listed but not unpacked
  std::uint32_t crc = 0;
  std::uint16_t dosTime = 0;
  std::uint16_t dosDate = 0;
  std::uint64_t localHeaderOffset = 0;
  bool directory = false;
  bool symbolicLink = false;  // made on a Unix system with the link's mode
  bool encrypted = false;
};

// "YYYY-MM-DD HH:MM" from a member's DOS date and time.
std::string zipMemberDate(const ZipMember& member);

// The members in directory order, or why the bytes are no zip archive this program reads
// ("not a zip archive", "the archive's directory is damaged", ...).
Outcome<std::vector<ZipMember>, std::string> readZipDirectory(ByteView archive);

// Largest member this program unpacks; larger ones are refused by name.
inline constexpr std::uint64_t kLargestZipMember = std::uint64_t{1} << 30;

// The member's unpacked bytes, checked against its size and CRC, or why not.
Outcome<std::vector<std::uint8_t>, std::string> unpackZipMember(ByteView archive,
                                                                const ZipMember& member);

}  // namespace qm::outside
