#pragma once
// The main window opens inside the screen it opens on: a size stored on a larger screen, or
// at another scale factor, shrinks to what the screen has room for.

#include <QPoint>
#include <QRect>
#include <QWidget>
#include <functional>

#include "core/settings/window_state.h"

namespace qm::gui {

// The room a window may take on the screen that holds a point (the screen's available
// geometry, without panels and docks). Tests put a screen of their own in its place.
using ScreenArea = std::function<QRect(const QPoint&)>;
QRect availableScreenAreaAt(const QPoint& at);

// Sizes and places window from the stored state (its current size where none is stored),
// within area, leaving room for the frame the window manager adds.
void fitIntoScreen(QWidget& window, const settings::WindowState& state, const ScreenArea& area);

}  // namespace qm::gui
