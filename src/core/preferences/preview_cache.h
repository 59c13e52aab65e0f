#pragma once
// "Clear Cache": the program folder's cache sub folder, emptied by deleting and making it anew.

#include <filesystem>
#include <string_view>

#include "core/shell/fs.h"

namespace qm::preferences {

inline constexpr std::string_view kClearCacheQuestion =
    "Do you really want to clear the preview cache?";

std::filesystem::path previewCacheFolder(const std::filesystem::path& programDir);

// Deletes the cache folder with everything in it and creates it again; returns the number of
// files that could not be deleted.
int clearPreviewCache(shell::Fs& fs, const std::filesystem::path& programDir);

}  // namespace qm::preferences
