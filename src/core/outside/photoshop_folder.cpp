#include "core/outside/photoshop_folder.h"

#include <algorithm>
#include <vector>

namespace qm::outside {
namespace fs = std::filesystem;
namespace {

// Sorted, so the same installation wins every time.
std::vector<fs::path> subFolders(const fs::path& folder) {
  std::vector<fs::path> folders;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (it->is_directory(typeError)) folders.push_back(it->path());
  }
  std::ranges::sort(folders);
  return folders;
}

}  // namespace

std::optional<fs::path> photoshopPluginsFolder(const std::string& stored,
                                               const std::string& wineprefix,
                                               const fs::path& home) {
  if (!stored.empty()) return fs::path(stored);
  fs::path prefix = !wineprefix.empty() ? fs::path(wineprefix) : home / ".wine";
  for (const fs::path& programs : subFolders(prefix / "drive_c")) {
    if (!programs.filename().string().starts_with("Program Files")) continue;
    for (const fs::path& product : subFolders(programs / "Adobe"))
      for (const char* name : {"Plug-ins", "Plug-Ins"}) {
        std::error_code ec;
        if (fs::is_directory(product / name, ec)) return product / name;
      }
  }
  return std::nullopt;
}

}  // namespace qm::outside
