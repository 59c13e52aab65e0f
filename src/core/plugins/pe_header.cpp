#include "core/plugins/pe_header.h"

#include <cstdio>

namespace qm::plugins {
namespace {

constexpr std::uint64_t kSearchStart = 373;
constexpr std::size_t kSearchLength = 1000;

std::uint32_t low24(ByteView bytes, std::size_t offset) {
  // Fields past the end read 0.
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 3; ++i)
    value |= std::uint32_t{bytes.u8(offset + i).value_or(0)} << (8 * i);
  return value;
}

}  // namespace

std::optional<ResourceSection> findResourceSection(FileBytes& file) {
  // The fields follow the name by up to 23 bytes, so read a little beyond the search range.
  const ByteView view = file.view(kSearchStart, kSearchLength + 24);
  for (std::size_t i = 0; i + 4 <= kSearchLength; i += 4) {
    if (!view.matches(i, "rsrc")) continue;
    // "rsrc" is the section name after its ".": VirtualAddress at +11, SizeOfRawData at +15,
    // PointerToRawData at +19.
    return ResourceSection{low24(view, i + 11), low24(view, i + 15), low24(view, i + 19)};
  }
  return std::nullopt;
}

std::optional<std::string> peArchitecture(FileBytes& file) {
  if (!file.matches(0, "MZ")) return std::nullopt;
  auto lfanew = file.view(0x3C, 4).u32le(0);
  if (!lfanew) return std::nullopt;
  const std::uint64_t pe = *lfanew;
  if (!file.matches(pe, std::string_view("PE\0\0", 4))) return std::nullopt;
  auto machine = file.view(pe + 4, 2).u16le(0);
  if (!machine) return std::nullopt;
  const unsigned value = *machine;
  switch (value) {
    case 0x014C:
      return "x86";
    case 0x8664:
      return "x64";
    case 0xAA64:
      return "arm64";
    case 0x01C0:
    case 0x01C4:
      return "arm";
    case 0x0200:
      return "ia64";
    case 0x0000:
      return "unknown";
    default: {
      char text[8];
      std::snprintf(text, sizeof text, "0x%04x", value);
      return std::string(text);
    }
  }
}

bool peHoldsCode(FileBytes& file) {
  if (!file.matches(0, "MZ")) return false;
  auto lfanew = file.view(0x3C, 4).u32le(0);
  if (!lfanew || !file.matches(*lfanew, std::string_view("PE\0\0", 4))) return false;
  const std::uint64_t header = *lfanew + 4;
  auto sections = file.view(header + 2, 2).u16le(0);
  auto optionalSize = file.view(header + 16, 2).u16le(0);
  if (!sections || !optionalSize) return false;
  constexpr std::uint32_t kCode = 0x20, kExecute = 0x20000000;
  const std::uint64_t table = header + 20 + *optionalSize;
  for (unsigned i = 0; i < *sections; ++i) {
    auto flags = file.view(table + i * 40 + 36, 4).u32le(0);
    if (!flags) return false;
    if (*flags & (kCode | kExecute)) return true;
  }
  return false;
}

}  // namespace qm::plugins
