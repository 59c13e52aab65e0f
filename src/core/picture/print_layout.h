#pragma once
// Where a printed picture lands on the page.

#include "core/host/preview_picture.h"

namespace qm::picture {

enum class PrintMode { ActualSize, FitToPage };

struct PrintRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PrintRect&) const = default;
};

// In printer pixels, from the top left of the printable page. Actual size keeps the picture's
// size on the screen (screenDpi) at the printer's resolution (printerDpi) and is cut off by
// the page where it is larger; fit to page fills the page's width or height, aspect kept.
PrintRect printPlacement(host::Size picture, PrintMode mode, host::Size page, int printerDpi,
                         int screenDpi = 96);

}  // namespace qm::picture
