#pragma once
// The Picture Editor's zoom: the factor the user types, the fixed entries and the factor that
// fits a picture on the screen.

#include <array>
#include <optional>
#include <string_view>

#include "core/host/preview_picture.h"

namespace qm::picture {

inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 800;
inline constexpr std::array<int, 6> kFixedZooms{25, 50, 100, 200, 400, 800};
inline constexpr const char* kZoomTitle = "Zoom Factor";
inline constexpr const char* kZoomPrompt = "Please enter a zoom factor between 1 and 800%";

// A whole number from 1 to 800, blanks around it and a trailing "%" allowed; anything else
// (0, 900, "abc", "") is refused.
std::optional<int> parseZoomFactor(std::string_view text);

// The largest factor (1 to 800) with which picture fits into screen.
int fitToScreenZoom(host::Size picture, host::Size screen);

// The picture's size on the screen at zoom percent, never below one pixel a side.
host::Size zoomedSize(host::Size picture, int zoom);

}  // namespace qm::picture
