#pragma once
// A decoded picture as the engine holds it: 8-bit RGBA, rows top to bottom, alpha straight.
// bitsPerPixel is the depth the picture had in its file (what callers ask the library for).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/host/picture_memory.h"

namespace qm::host {

struct Image {
  int width = 0;
  int height = 0;
  bool hasAlpha = false;  // false: the fourth byte of each pixel is 255 and means nothing
  int bitsPerPixel = 24;
  PixelBytes rgba;

  static Image blank(int w, int h, bool alpha) {
    Image img;
    img.width = w;
    img.height = h;
    img.hasAlpha = alpha;
    img.bitsPerPixel = alpha ? 32 : 24;
    img.rgba.assign(static_cast<std::size_t>(w) * h * 4, 255);
    return img;
  }
  bool valid() const {
    return width > 0 && height > 0 && rgba.size() == static_cast<std::size_t>(width) * height * 4;
  }
  std::uint8_t* pixel(int x, int y) {
    return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4;
  }
  const std::uint8_t* pixel(int x, int y) const {
    return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4;
  }
};

}  // namespace qm::host
