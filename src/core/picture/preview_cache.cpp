#include "core/picture/preview_cache.h"

#include <algorithm>
#include <system_error>

#include "core/ff/load_file.h"
#include "core/host/preview_picture.h"

namespace qm::picture {

namespace fs = std::filesystem;

bool isCachedKind(std::string_view fileName) {
  switch (ff::inputKindOf(fileName)) {
    case ff::InputKind::Plugin:
    case ff::InputKind::Premiere:
    case ff::InputKind::Text:
    case ff::InputKind::Afs:
    case ff::InputKind::Pff:
    case ff::InputKind::Ffx:
      return true;
    default:
      return false;
  }
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
  const fs::path cacheFile = host::previewCacheFile(programDir, plugin);
  if (!cacheIsCurrent(cacheFile, plugin, picture)) return std::nullopt;
  auto image = codec.read(cacheFile);
  if (image && !image->valid()) return std::nullopt;
  return image;
}

bool writeCachedPreview(host::ImageCodec& codec, const fs::path& programDir, const fs::path& plugin,
                        const host::Image& preview, int jpegQuality) {
  const fs::path cacheFile = host::previewCacheFile(programDir, plugin);
  std::error_code ec;
  fs::create_directories(cacheFile.parent_path(), ec);
  if (ec) return false;
  return codec.writeWithQuality(preview, cacheFile, std::clamp(jpegQuality, 1, 100));
}

}  // namespace qm::picture
