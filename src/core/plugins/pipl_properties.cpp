#include "core/plugins/pipl_properties.h"

namespace qm::plugins {
namespace {

constexpr std::size_t kHeader = 2 + 8;  // the Windows prefix, version, count
constexpr std::size_t kPropertyHeader = 16;

}  // namespace

PiplProperties readPiplProperties(ByteView data) {
  PiplProperties found;
  auto count = data.u32le(6);
  if (!count) return found;
  std::size_t at = kHeader;
  for (std::uint32_t i = 0; i < *count && data.has(at, kPropertyHeader); ++i) {
    auto length = data.u32le(at + 12);
    if (!length) break;
    const ByteView value = data.sub(at + kPropertyHeader, *length);
    // Keys are four-character codes stored little-endian.
    if (data.matches(at, "MIB8")) {
      if (data.matches(at + 4, "edom")) {
        found.supportedModes = modesFromFlagSet(value);
      } else if (data.matches(at + 4, "lbne")) {
        std::string text(reinterpret_cast<const char*>(value.data()), value.size());
        if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
        found.enableInfo = std::move(text);
      } else if (data.matches(at + 4, "68xw")) {
        found.entryPoints |= kEntryX86;
      } else if (data.matches(at + 4, "4668")) {
        found.entryPoints |= kEntryX64;
      } else if (data.matches(at + 4, "46aw")) {
        found.entryPoints |= kEntryArm64;
      }
    }
    // Lengths with or without their padding both land on the next header this way.
    const std::uint64_t next =
        at + kPropertyHeader + ((std::uint64_t{*length} + 3) & ~std::uint64_t{3});
    if (next > data.size()) break;
    at = static_cast<std::size_t>(next);
  }
  return found;
}

std::optional<std::string> architectureText(std::uint8_t entryPoints,
                                            const std::optional<std::string>& peMachine) {
  if ((entryPoints & (kEntryX86 | kEntryX64)) == (kEntryX86 | kEntryX64)) return "both";
  if (entryPoints & kEntryX64) return "x64";
  if (entryPoints & kEntryX86) return "x86";
  if (entryPoints & kEntryArm64) return "arm64";
  return peMachine;
}

}  // namespace qm::plugins
