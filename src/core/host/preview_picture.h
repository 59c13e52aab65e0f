#pragma once
// The preview picture: which file it is, the scaled preview copy the editor shows, and the
// per-plugin preview cache files.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/host/image_library.h"

namespace qm::host {

// The setting's file when it names an existing file; else the program folder's "Test.bmp".
std::filesystem::path previewPicturePath(const std::string& setting,
                                         const std::filesystem::path& programDir);

// programDir/cache/<file name less its last four characters>.<key>.jpg, the key made from the
// file's full path, size and modification time: a replaced, renamed or same-named file never
// finds another file's picture.
std::filesystem::path previewCacheFile(const std::filesystem::path& programDir,
                                       const std::filesystem::path& file);
// "Update": deletes the file's cache entry when it exists. True when one was deleted.
bool deletePreviewCacheEntry(const std::filesystem::path& programDir,
                             const std::filesystem::path& file);

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// The editor's preview box, 1920 x 1320 twips, in pixels.
Size previewBoxPixels(int twipsPerPixelX = 15, int twipsPerPixelY = 15);
// Aspect kept and inside the box: the side that is longer in proportion to the box is
// scaled to the box's side in that direction.
Size thumbSize(Size picture, Size box);

// Loads file as the new preview copy: 24-bit, scaled into box. The previous copy is closed
// and replaced; on failure it is left as it was and false comes back.
bool CreateThumb(ImageLibrary& images, const std::filesystem::path& file, Size box,
                 ImageHandle& previewCopy);

}  // namespace qm::host
