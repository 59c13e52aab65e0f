#include "core/host/tga_reader.h"

#include <algorithm>
#include <array>

namespace qm::host {
namespace {

constexpr std::size_t kHeaderSize = 18;

struct Header {
  int idLength, mapType, type;
  int mapFirst, mapLength, mapBits;
  int width, height, bits, descriptor;
};

Header headerOf(ByteView b) {
  auto at8 = [&](std::size_t o) { return static_cast<int>(b.u8(o).value_or(0)); };
  auto at16 = [&](std::size_t o) { return static_cast<int>(b.u16le(o).value_or(0)); };
  return {at8(0), at8(1), at8(2), at16(3), at16(5), at8(7), at16(12), at16(14), at8(16), at8(17)};
}

int baseType(int type) {
  return type & ~8;  // 9, 10, 11 are 1, 2, 3 run-length encoded
}

bool knownPixelBits(const Header& h) {
  switch (baseType(h.type)) {
    case 1:
      return h.bits == 8 && h.mapType == 1 &&
             (h.mapBits == 15 || h.mapBits == 16 || h.mapBits == 24 || h.mapBits == 32);
    case 2:
      return h.bits == 15 || h.bits == 16 || h.bits == 24 || h.bits == 32;
    case 3:
      return h.bits == 8;
    default:
      return false;
  }
}

using Rgba = std::array<std::uint8_t, 4>;

// One stored colour of bits (15/16: 5-5-5 with an optional attribute bit; else B G R [A]).
Rgba colourOf(const std::uint8_t* p, int bits, bool grey) {
  if (grey) return {p[0], p[0], p[0], 255};
  if (bits == 15 || bits == 16) {
    const int v = p[0] | p[1] << 8;
    auto five = [](int c) { return static_cast<std::uint8_t>(c << 3 | c >> 2); };
    return {five(v >> 10 & 31), five(v >> 5 & 31), five(v & 31), 255};
  }
  return {p[2], p[1], p[0], bits == 32 ? p[3] : std::uint8_t{255}};
}

std::string variantText(const Header& h) {
  return std::string(kTgaVariantRefused) + " (type " + std::to_string(h.type) + ", " +
         std::to_string(h.bits) + " bits a pixel)";
}

}  // namespace

bool looksLikeTga(ByteView bytes) {
  if (bytes.size() < kHeaderSize) return false;
  const Header h = headerOf(bytes);
  if (h.mapType > 1 || h.width == 0 || h.height == 0) return false;
  const int base = baseType(h.type);
  return (h.type == base || h.type == base + 8) && base >= 1 && base <= 3;
}

Outcome<Image, std::string> decodeTga(ByteView bytes, std::uint64_t maxPixels) {
  if (!looksLikeTga(bytes)) return Failure{std::string("not a TGA picture")};
  const Header h = headerOf(bytes);
  if (!knownPixelBits(h)) return Failure{variantText(h)};
  if (static_cast<std::uint64_t>(h.width) * h.height > maxPixels)
    return Failure{"the picture is " + std::to_string(h.width) + "×" + std::to_string(h.height) +
                   ", too large"};

  const bool grey = baseType(h.type) == 3;
  const bool mapped = baseType(h.type) == 1;
  const int pixelBytes = (h.bits + 7) / 8;
  std::size_t at = kHeaderSize + static_cast<std::size_t>(h.idLength);
  // The colour map, when there is one, even for pictures that do not use it.
  std::vector<Rgba> palette;
  if (h.mapType == 1) {
    const int entryBytes = (h.mapBits + 7) / 8;
    const std::size_t mapSize = static_cast<std::size_t>(h.mapLength) * entryBytes;
    if (!bytes.has(at, mapSize))
      return Failure{std::string("the TGA picture ends in its colour map")};
    // A true-colour picture's map is skipped: its entries may be of any size.
    if (mapped)
      for (int i = 0; i < h.mapLength; ++i)
        palette.push_back(colourOf(bytes.data() + at + static_cast<std::size_t>(i) * entryBytes,
                                   h.mapBits, false));
    at += mapSize;
  }
  // Alpha only where the header says the pixels carry attribute bits.
  const bool alpha =
      ((h.bits == 32 && !mapped) || (mapped && h.mapBits == 32)) && (h.descriptor & 0x0F) != 0;
  Image img = Image::blank(h.width, h.height, alpha);
  img.bitsPerPixel = mapped || grey ? 8 : (alpha ? 32 : 24);

  auto colour = [&](const std::uint8_t* p) -> Rgba {
    if (!mapped) return colourOf(p, h.bits, grey);
    const int index = p[0] - h.mapFirst;
    if (index < 0 || index >= static_cast<int>(palette.size())) return {0, 0, 0, 255};
    return palette[static_cast<std::size_t>(index)];
  };
  const bool bottomUp = (h.descriptor & 0x20) == 0;
  const bool rightToLeft = (h.descriptor & 0x10) != 0;
  const std::size_t count = static_cast<std::size_t>(h.width) * h.height;
  auto put = [&](std::size_t n, const Rgba& c) {
    const int x = static_cast<int>(n % h.width), y = static_cast<int>(n / h.width);
    std::uint8_t* p = img.pixel(rightToLeft ? h.width - 1 - x : x, bottomUp ? h.height - 1 - y : y);
    for (int k = 0; k < 3; ++k) p[k] = c[static_cast<std::size_t>(k)];
    p[3] = alpha ? c[3] : 255;
  };
  const std::string cut = "the TGA picture ends early";
  const bool runs = (h.type & 8) != 0;
  for (std::size_t n = 0; n < count;) {
    std::size_t repeat = 1;
    bool literal = true;
    if (runs) {
      const auto packet = bytes.u8(at++);
      if (!packet) return Failure{cut};
      repeat = (*packet & 0x7F) + 1u;
      literal = (*packet & 0x80) == 0;
    }
    // A packet may not run past the picture; the rest of it is ignored.
    repeat = std::min(repeat, count - n);
    if (literal) {
      if (!bytes.has(at, repeat * pixelBytes)) return Failure{cut};
      for (std::size_t k = 0; k < repeat; ++k, at += pixelBytes)
        put(n++, colour(bytes.data() + at));
    } else {
      if (!bytes.has(at, pixelBytes)) return Failure{cut};
      const Rgba c = colour(bytes.data() + at);
      at += pixelBytes;
      for (std::size_t k = 0; k < repeat; ++k) put(n++, c);
    }
  }
  return img;
}

}  // namespace qm::host
