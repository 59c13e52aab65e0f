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

std::string ownInputMessage(const std::filesystem::path& target) {
  return target.string() + ": " + std::string(kOwnInputReason);
}

}  // namespace qm
