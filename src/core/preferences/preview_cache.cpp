#include "core/preferences/preview_cache.h"

#include "core/shell/delete_tree.h"

namespace qm::preferences {

std::filesystem::path previewCacheFolder(const std::filesystem::path& programDir) {
  return programDir / "cache";
}

int clearPreviewCache(shell::Fs& fs, const std::filesystem::path& programDir) {
  const auto folder = previewCacheFolder(programDir);
  int failures = 0;
  if (fs.exists(folder)) failures = shell::DeleteTree(fs, folder).failures;
  if (!fs.exists(folder)) (void)fs.createFolder(folder);
  return failures;
}

}  // namespace qm::preferences
