#include "core/picture/zoom.h"

#include <algorithm>
#include <cstdint>

#include "core/common/text_lines.h"

namespace qm::picture {

std::optional<int> parseZoomFactor(std::string_view text) {
  text = trimEnds(text, " \t");
  if (text.ends_with('%')) text = trimEnds(text.substr(0, text.size() - 1), " \t");
  if (text.empty() || text.size() > 4) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < kMinZoom || value > kMaxZoom) return std::nullopt;
  return value;
}

int fitToScreenZoom(host::Size picture, host::Size screen) {
  if (picture.width <= 0 || picture.height <= 0) return 100;
  const std::int64_t byWidth = std::int64_t(std::max(screen.width, 0)) * 100 / picture.width;
  const std::int64_t byHeight = std::int64_t(std::max(screen.height, 0)) * 100 / picture.height;
  return static_cast<int>(
      std::clamp<std::int64_t>(std::min(byWidth, byHeight), kMinZoom, kMaxZoom));
}

host::Size zoomedSize(host::Size picture, int zoom) {
  auto side = [zoom](int pixels) {
    return static_cast<int>(std::max<std::int64_t>(1, std::int64_t(pixels) * zoom / 100));
  };
  return {side(picture.width), side(picture.height)};
}

}  // namespace qm::picture
