#include "core/picture/print_layout.h"

#include <algorithm>
#include <cstdint>

namespace qm::picture {

PrintRect printPlacement(host::Size picture, PrintMode mode, host::Size page, int printerDpi,
                         int screenDpi) {
  if (picture.width <= 0 || picture.height <= 0 || page.width <= 0 || page.height <= 0) return {};
  std::int64_t w = 0;
  std::int64_t h = 0;
  if (mode == PrintMode::ActualSize) {
    const std::int64_t dpi = std::max(printerDpi, 1);
    const std::int64_t screen = std::max(screenDpi, 1);
    w = picture.width * dpi / screen;
    h = picture.height * dpi / screen;
  } else if (std::int64_t(page.width) * picture.height <=
             std::int64_t(page.height) * picture.width) {
    w = page.width;
    h = std::int64_t(picture.height) * page.width / picture.width;
  } else {
    h = page.height;
    w = std::int64_t(picture.width) * page.height / picture.height;
  }
  return {0, 0, static_cast<int>(std::max<std::int64_t>(w, 1)),
          static_cast<int>(std::max<std::int64_t>(h, 1))};
}

}  // namespace qm::picture
