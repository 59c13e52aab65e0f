#pragma once
// The image modes a host offers a filter in, as one bit per mode number (bit n = mode n, as
// the host's imageMode counts them), their names, and the sentence that says why a filter
// is greyed out.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/byte_view.h"

namespace qm::plugins {

using ModeSet = std::uint32_t;

inline constexpr int kModeCount = 18;
// The host's mode numbers for the modes named in the sentences and tests.
inline constexpr int kBitmapMode = 0;
inline constexpr int kGreyMode = 1;
inline constexpr int kIndexedMode = 2;
inline constexpr int kRgbMode = 3;
inline constexpr int kCmykMode = 4;
inline constexpr int kLabMode = 9;
inline constexpr int kGrey16Mode = 10;
inline constexpr int kRgb48Mode = 11;

constexpr ModeSet modeBit(int mode) {
  return ModeSet{1} << mode;
}

// Bits per channel of a mode: 1 for Bitmap, 8, 16 or 32.
int modeDepth(int mode);
// Channels of a flat picture in the mode.
int modeChannels(int mode);
// "RGB", "Grey", "CMYK", "Lab", "Indexed", "Bitmap", ..., "RGB48", "Grey16", ...
std::string_view modeName(int mode);

// The supported-modes property: member n is bit 0x80 >> (n % 8) of byte n / 8.
ModeSet modesFromFlagSet(ByteView flags);

// The names of the modes in set, in the order the lists show them (modes no host offers any
// more, HSL and HSB, left out).
std::vector<std::string_view> modeNames(ModeSet set);
// The Modes column: the 8-bit families, then "16-bit" and "32-bit" when any mode of that
// depth is in set ("RGB, Grey, CMYK, 16-bit").
std::string modesColumnText(ModeSet set);
// Why a filter would be greyed out: "Needs an RGB or Grey image; not 16-bit".
std::string modesRestriction(ModeSet set);

}  // namespace qm::plugins
