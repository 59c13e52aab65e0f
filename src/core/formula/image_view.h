#pragma once
// The pixels a filter reads and writes: 8-bit channels, interleaved, any pixel and row
// stride. Z (channels) is 3 or 4; a 3-channel run may sit in 4-byte pixels.

#include <cstddef>
#include <cstdint>

#include "core/formula/ops.h"
#include "core/formula/tables.h"

namespace qm::formula {

struct ImageView {
  const std::uint8_t* data = nullptr;
  int width = 0;
  int height = 0;
  int channels = 3;
  int pixelStride = 3;
  std::ptrdiff_t rowStride = 0;

  const std::uint8_t* pixel(int x, int y) const {
    return data + y * rowStride + static_cast<std::ptrdiff_t>(x) * pixelStride;
  }
  // Coordinates are pinned to the image; a channel outside 0..Z-1 reads 0.
  std::int32_t sample(std::int32_t x, std::int32_t y, std::int32_t z) const {
    if (z < 0 || z >= channels) return 0;
    x = x < 0 ? 0 : x >= width ? width - 1 : x;
    y = y < 0 ? 0 : y >= height ? height - 1 : y;
    return pixel(x, y)[z];
  }
  // rad(d, m, z): the pixel m units from the centre (floor of half the size) in direction d.
  std::int32_t sampleRadial(std::int32_t d, std::int32_t m, std::int32_t z) const {
    return sample(ops::add(width / 2, radial(d, m)),
                  ops::add(height / 2, radial(ops::sub(d, 256), m)), z);
  }
  // cnv: 3x3 weights w[0..8] row by row around (x, y) on channel z, sum divided by dv.
  std::int32_t convolve(const std::int32_t* w, std::int32_t dv, std::int32_t x, std::int32_t y,
                        std::int32_t z) const {
    if (dv == 0) return 0;
    std::int32_t sum = 0;
    for (int row = 0; row < 3; ++row)
      for (int col = 0; col < 3; ++col)
        sum = ops::add(sum, ops::mul(w[row * 3 + col], sample(x + col - 1, y + row - 1, z)));
    return ops::div(sum, dv);
  }
};

struct MutableImageView {
  std::uint8_t* data = nullptr;
  int pixelStride = 3;
  std::ptrdiff_t rowStride = 0;
  std::uint8_t* pixel(int x, int y) const {
    return data + y * rowStride + static_cast<std::ptrdiff_t>(x) * pixelStride;
  }
};

// Per-pixel inputs derived from position and colour.
inline std::int32_t luminance(int r, int g, int b) {
  return (76 * r + 150 * g + 29 * b) / 256;
}
inline std::int32_t chromaU(int r, int g, int b) {
  return (-19 * r - 37 * g + 56 * b) / 256;
}
inline std::int32_t chromaV(int r, int g, int b) {
  return (78 * r - 65 * g - 13 * b) / 256;
}
// d and m measure from different centres when a side is odd (floor vs ceiling of half).
inline std::int32_t directionAt(const Tables& t, int x, int y, int w, int h) {
  return angle(t, x - w / 2, y - h / 2);
}
inline std::int32_t distanceAt(const Tables& t, int x, int y, int w, int h) {
  return magnitude(t, x - (w + 1) / 2, y - (h + 1) / 2);
}
inline std::int32_t directionAt(int x, int y, int w, int h) {
  return directionAt(tables(), x, y, w, h);
}
inline std::int32_t distanceAt(int x, int y, int w, int h) {
  return distanceAt(tables(), x, y, w, h);
}

}  // namespace qm::formula
