#include "core/host/preview_picture.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <system_error>

#include "core/common/safe_name.h"

namespace qm::host {

namespace fs = std::filesystem;

fs::path previewPicturePath(const std::string& setting, const fs::path& programDir) {
  std::error_code ec;
  if (!setting.empty() && fs::is_regular_file(setting, ec)) return setting;
  return programDir / "Test.bmp";
}

namespace {

// FNV-1a over the file's identity: short, stable across runs and platforms.
std::string cacheKey(const fs::path& file) {
  std::error_code ec;
  const fs::path full = fs::absolute(file, ec).lexically_normal();
  struct stat facts {};
  std::string identity = full.string();
  if (::stat(file.c_str(), &facts) == 0)
    identity += '\0' + std::to_string(facts.st_size) + '\0' + std::to_string(facts.st_mtim.tv_sec) +
                '.' + std::to_string(facts.st_mtim.tv_nsec);
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : identity) hash = (hash ^ c) * 1099511628211ull;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

}  // namespace

fs::path previewCacheFile(const fs::path& programDir, const fs::path& file) {
  const std::string name = file.filename().string();
  const std::string stem(name.substr(0, name.size() < 4 ? 0 : name.size() - 4));
  return pathInFolder(programDir / "cache", stem + "." + cacheKey(file) + ".jpg");
}

bool deletePreviewCacheEntry(const fs::path& programDir, const fs::path& file) {
  if (file.empty()) return false;
  std::error_code ec;
  return fs::remove(previewCacheFile(programDir, file), ec);
}

Size previewBoxPixels(int twipsPerPixelX, int twipsPerPixelY) {
  return {1920 / std::max(1, twipsPerPixelX), 1320 / std::max(1, twipsPerPixelY)};
}

Size thumbSize(Size picture, Size box) {
  if (picture.width <= 0 || picture.height <= 0 || box.width <= 0 || box.height <= 0) return {};
  // Rounded to the nearest pixel, never below one.
  auto scaled = [](int side, int to, int from) {
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(side) * to / from)));
  };
  // The side that is longer in proportion to the box decides, so the copy fits the box.
  if (static_cast<long long>(picture.width) * box.height >=
      static_cast<long long>(picture.height) * box.width)
    return {box.width, std::min(box.height, scaled(picture.height, box.width, picture.width))};
  return {std::min(box.width, scaled(picture.width, box.height, picture.height)), box.height};
}

bool CreateThumb(ImageLibrary& images, const fs::path& file, Size box, ImageHandle& previewCopy) {
  ImageHandle full = images.open(file);
  if (full == 0) return false;
  auto info = images.info(full);
  if (info->bitsPerPixel < 24) {
    const ImageHandle promoted = images.increaseColors(full, 24);
    images.close(full);
    full = promoted;
    if (full == 0) return false;
    info = images.info(full);
  }
  const Size size = thumbSize({info->width, info->height}, box);
  ImageHandle copy =
      images.copy(full, size.width, size.height, Rect{0, 0, info->width - 1, info->height - 1});
  images.close(full);
  if (copy == 0) return false;
  if (images.info(copy)->bitsPerPixel < 24) {
    const ImageHandle promoted = images.increaseColors(copy, 24);
    images.close(copy);
    copy = promoted;
    if (copy == 0) return false;
  }
  if (previewCopy != 0) images.close(previewCopy);
  previewCopy = copy;
  return true;
}

}  // namespace qm::host
