#include "core/picture/preview_cache.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <system_error>

#include "core/host/preview_picture.h"

namespace qm::picture {

namespace fs = std::filesystem;

bool isCachedKind(std::string_view fileName) {
  std::string ending(fileName.substr(fileName.size() < 4 ? 0 : fileName.size() - 4));
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  static constexpr std::array<std::string_view, 7> kPluginEndings{".8bf", "._bf", "_8bf", ".prm",
                                                                  "_prm", "._rm", ".bin"};
  return std::find(kPluginEndings.begin(), kPluginEndings.end(), ending) != kPluginEndings.end();
}

bool cacheIsCurrent(const fs::path& cacheFile, const fs::path& plugin, const fs::path& picture) {
  std::error_code ec;
  const auto cached = fs::last_write_time(cacheFile, ec);
  if (ec) return false;
  for (const fs::path* source : {&plugin, &picture}) {
    const auto changed = fs::last_write_time(*source, ec);
    if (ec || changed > cached) return false;
  }
  return true;
}

std::optional<host::Image> readCachedPreview(host::ImageCodec& codec, const fs::path& programDir,
                                             const fs::path& plugin, const fs::path& picture) {
  const fs::path cacheFile = host::previewCacheFile(programDir, plugin.filename().string());
  if (!cacheIsCurrent(cacheFile, plugin, picture)) return std::nullopt;
  auto image = codec.read(cacheFile);
  if (image && !image->valid()) return std::nullopt;
  return image;
}

bool writeCachedPreview(host::ImageCodec& codec, const fs::path& programDir, const fs::path& plugin,
                        const host::Image& preview, int jpegQuality) {
  const fs::path cacheFile = host::previewCacheFile(programDir, plugin.filename().string());
  std::error_code ec;
  fs::create_directories(cacheFile.parent_path(), ec);
  if (ec) return false;
  return codec.writeWithQuality(preview, cacheFile, std::clamp(jpegQuality, 1, 100));
}

}  // namespace qm::picture
