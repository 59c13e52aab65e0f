#include "core/plugins/photoshop_modes.h"

#include <array>

namespace qm::plugins {
namespace {

constexpr std::array<std::string_view, 4> kBlur = {"Blur", "Blur More", "Gaussian Blur...",
                                                   "Motion Blur..."};
constexpr std::array<std::string_view, 4> kNoise = {"Add Noise...", "Despeckle", "Dust & Scratches",
                                                    "Median..."};
constexpr std::array<std::string_view, 3> kPixelate = {"Facet", "Fragment", "Mosaic..."};
constexpr std::array<std::string_view, 4> kSharpen = {"Sharpen", "Sharpen Edges", "Sharpen More",
                                                      "Unsharp Mask..."};
constexpr std::array<std::string_view, 4> kStylize = {"Diffuse...", "Emboss...", "Find Edges",
                                                      "Trace Contour..."};
constexpr std::array<std::string_view, 5> kOther = {"Custom...", "High Pass...", "Maximum...",
                                                    "Minimum...", "Offset..."};

}  // namespace

std::span<const std::string_view> builtInFilters(std::string_view category) {
  if (category == "Blur") return kBlur;
  if (category == "Noise") return kNoise;
  if (category == "Pixelate") return kPixelate;
  if (category == "Sharpen") return kSharpen;
  if (category == "Stylize") return kStylize;
  if (category == "Other") return kOther;
  return {};
}

std::string_view oldModeCaption(int pane) {
  return pane == 0 ? "Old Photoshop  Mode" : "Photoshop 3/4/5 Mode";
}

std::string_view newModeCaption(int pane) {
  return pane == 0 ? "Photoshop  Mode" : "Photoshop 6 Mode";
}

}  // namespace qm::plugins
