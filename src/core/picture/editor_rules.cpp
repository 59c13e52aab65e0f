#include "core/picture/editor_rules.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>

namespace qm::picture {

namespace {

// The extension after the last dot of the file name, lower case; empty when none.
std::string lowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  if (!ext.empty()) ext.erase(0, 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

bool listed(const std::vector<std::string>& list, const std::string& item) {
  return !item.empty() && std::find(list.begin(), list.end(), item) != list.end();
}

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

std::string savedPictureName(const std::string& typed, const std::string& typeExtension,
                             const std::vector<std::string>& writable) {
  if (typed.empty()) return typed;
  const std::string ext = lowerExtension(typed);
  if (ext == typeExtension || listed(writable, ext)) return typed;
  return typed + "." + typeExtension;
}

std::string startingPictureType(const std::string& path, const std::vector<std::string>& writable) {
  const std::string ext = lowerExtension(path);
  return listed(writable, ext) ? ext : "png";
}

}  // namespace qm::picture
