#pragma once
// A picture codec for tests: a small header line and raw RGBA bytes, so pictures can go
// through real files without an image library.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/host/image_codec.h"

namespace qm::host::testing {

class FakeCodec final : public ImageCodec {
 public:
  bool failWrites = false;
  int scaleCalls = 0;
  std::optional<Image> read(const std::filesystem::path& file) override {
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    Image img;
    int alpha = 0;
    if (!(in >> magic >> img.width >> img.height >> alpha >> img.bitsPerPixel) || magic != "QMIMG")
      return std::nullopt;
    in.get();
    img.hasAlpha = alpha != 0;
    img.rgba.resize(std::size_t(img.width) * img.height * 4);
    in.read(reinterpret_cast<char*>(img.rgba.data()), std::streamsize(img.rgba.size()));
    if (!in) return std::nullopt;
    return img;
  }
  bool write(const Image& img, const std::filesystem::path& file) override {
    if (failWrites) {
      std::ofstream(file) << "half";  // a failed write may leave a partial file behind
      return false;
    }
    std::ofstream out(file, std::ios::binary);
    out << "QMIMG " << img.width << ' ' << img.height << ' ' << int(img.hasAlpha) << ' '
        << img.bitsPerPixel << '\n';
    out.write(reinterpret_cast<const char*>(img.rgba.data()), std::streamsize(img.rgba.size()));
    return bool(out);
  }
  // Nearest neighbour: enough to check sizes and which pixels were taken.
  Image scale(const Image& img, int w, int h) override {
    ++scaleCalls;
    Image out = Image::blank(w, h, img.hasAlpha);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::uint8_t* p = img.pixel(x * img.width / w, y * img.height / h);
        std::copy_n(p, 4, out.pixel(x, y));
      }
    return out;
  }
};

// Pixel (x, y) = (x, y, x + y, alpha).
inline Image pattern(int w, int h, bool alpha, std::uint8_t a = 200) {
  Image img = Image::blank(w, h, alpha);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t* p = img.pixel(x, y);
      p[0] = std::uint8_t(x);
      p[1] = std::uint8_t(y);
      p[2] = std::uint8_t(x + y);
      p[3] = alpha ? a : 255;
    }
  return img;
}

}  // namespace qm::host::testing
