#pragma once
// Hand-made Filter Factory plugin bytes for tests: every Windows size, the Macintosh .bin and
// the Premiere Filter Factory / Transition Factory plugins. The offsets are written out here
// on their own (not taken from the engine's layout header), so a wrong engine offset shows.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/byte_view.h"

namespace qm::test {

// Test bytes held in a string, seen the way the readers take them.
inline ByteView viewOf(const std::string& bytes) {
  return ByteView(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

struct FFPluginFields {
  std::string title;
  std::string category;
  std::string copyright;
  std::string author;
  std::array<std::string, 8> controlNames;
  std::array<std::uint8_t, 8> sliderValues{};
  std::array<std::string, 4> mapNames;
  std::array<std::string, 4> formulas;  // R, G, B, A
  // Used flags are 1 for named entries; these write 0 while keeping the stored name.
  std::array<bool, 8> hideControl{};
  std::array<bool, 4> hideMap{};
};

// A plugin of size 49152, 49664, 50176, 53760, 57344, 99712 or 99840 with the signature text
// and the fields at that variant's places. For the Mac sizes the signature is the text after
// "Filter " ("Factory" unless given). " FilterFactory" in a 49152/50176 file moves the block
// 2072 bytes on. Other sizes give that many zero bytes.
std::string ffPluginBytes(std::size_t size, const FFPluginFields& fields,
                          std::optional<std::string_view> signature = std::nullopt);

// Premiere plugins: the formulas are given R, G, B, A and stored B, G, R, A.
struct PremiereFields {
  std::string menuName;
  std::string copyright;
  std::array<std::string, 8> controlNames;
  std::array<std::uint8_t, 8> sliderValues{};
  std::array<std::string, 4> mapNames;
  std::array<std::string, 4> formulas;
};

// A Premiere Filter Factory plugin with the marker bytes of offset e (-8, -4, 0, 504, 3064 or
// 3072; 0 is written with the marker "5").
std::string premiereFFBytes(std::size_t size, long e, const PremiereFields& fields);
// A Transition Factory plugin with the marker bytes of offset f (0 with marker "2", 520, 3076
// or 9904) and its signature text.
std::string transitionBytes(std::size_t size, long f, const PremiereFields& fields,
                            std::string_view signature = "Premiere Transition Factory");

// Writes text with a NUL after it at offset; a length byte first when prefixed.
void putText(std::string& bytes, std::size_t offset, std::string_view text);

}  // namespace qm::test
