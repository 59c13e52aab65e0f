#include "core/common/same_file.h"

#include <sys/stat.h>

namespace qm {

bool replacesOwnInput(const std::filesystem::path& target,
                      std::span<const std::filesystem::path> inputs) {
  struct stat written {};
  if (::stat(target.c_str(), &written) != 0) return false;
  for (const auto& input : inputs) {
    struct stat read {};
    if (::stat(input.c_str(), &read) == 0 && read.st_dev == written.st_dev &&
        read.st_ino == written.st_ino)
      return true;
  }
  return false;
}

bool isSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  return replacesOwnInput(a, std::span(&b, 1));
}

std::filesystem::path fileBehindLinks(const std::filesystem::path& path) {
  std::filesystem::path file = path;
  // A loop is left to the write to report ("Too many levels of symbolic links").
  for (int hops = 0; hops < 40; ++hops) {
    struct stat link {};
    if (::lstat(file.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) break;
    std::error_code ec;
    auto named = std::filesystem::read_symlink(file, ec);
    if (ec) break;
    file = named.is_absolute() ? named : file.parent_path() / named;
  }
  return file;
}

std::string ownInputMessage(const std::filesystem::path& target) {
  return target.string() + ": " + std::string(kOwnInputReason);
}

}  // namespace qm
