#pragma once
// An interface design as Qt sees it: the window outline as a region.

#include <QRegion>

#include "core/editor/design_file.h"

namespace qm::gui {

// The outline of a design of width x height; the full rectangle when the design has none.
QRegion designOutline(const editor::Outline* outline, int width, int height);

}  // namespace qm::gui
