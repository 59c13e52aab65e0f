#include "core/picture/editor_rules.h"

#include <cstdint>

namespace qm::picture {

namespace {

std::string colourCount(int bits) {
  if (bits == 24) return "16 Milion";
  if (bits <= 0 || bits > 62) return std::to_string(bits);
  return std::to_string(std::uint64_t{1} << bits);
}

}  // namespace

std::string pictureEditorTitle(const std::optional<ShownPicture>& picture) {
  std::string title = "Picture Editor";
  if (!picture) return title;
  const std::string name = picture->fileName.empty() ? "Untitled" : picture->fileName;
  title += " - " + name + " - " + std::to_string(picture->width) + "x" +
           std::to_string(picture->height) + " (" + std::to_string(picture->zoom) + "%), " +
           colourCount(picture->bitsPerPixel) + " Colors (" +
           std::to_string(picture->bitsPerPixel) + "bit)";
  return title;
}

const std::vector<ColorDepthEntry>& colorDepthEntries() {
  static const std::vector<ColorDepthEntry> entries{
      {4, "16 Colors (4 bit)"}, {8, "256 Colors (8 bit)"}, {24, "16 Milion Colors (24 bit)"}};
  return entries;
}

bool colorDepthEnabled(int entryBits, int pictureBits) {
  return entryBits > pictureBits;
}

bool saveNeedsChooser(const std::string& path) {
  if (path.empty()) return true;
  std::string ending = path.substr(path.size() < 4 ? 0 : path.size() - 4);
  return ending == ".gif";
}

}  // namespace qm::picture
