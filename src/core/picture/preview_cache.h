#pragma once
// The cache of plugin previews: one JPEG a plugin or source in the program folder's "cache"
// folder, named by the rule of host::previewCacheFile (which changes with the file), good while
// the preview picture did not change after it was written.

#include <filesystem>
#include <optional>
#include <string_view>

#include "core/host/image.h"
#include "core/host/image_codec.h"

namespace qm::picture {

struct PreviewCacheSettings {
  bool enabled = true;
  int jpegQuality = 75;  // 1 to 100
};

// Filter Factory plugins and sources are cached (library entries are not): each entry belongs
// to one file as it is now, so an edited source finds no old picture.
bool isCachedKind(std::string_view fileName);

// True when cacheFile exists and is not older than the plugin file and the preview picture.
bool cacheIsCurrent(const std::filesystem::path& cacheFile, const std::filesystem::path& plugin,
                    const std::filesystem::path& picture);

// The cached preview of plugin when it is current and decodes.
std::optional<host::Image> readCachedPreview(host::ImageCodec& codec,
                                             const std::filesystem::path& programDir,
                                             const std::filesystem::path& plugin,
                                             const std::filesystem::path& picture);
// Writes the preview as plugin's cache file (creating the cache folder). False on failure,
// which costs only the next preview's time.
bool writeCachedPreview(host::ImageCodec& codec, const std::filesystem::path& programDir,
                        const std::filesystem::path& plugin, const host::Image& preview,
                        int jpegQuality);

}  // namespace qm::picture
