#pragma once
// The desktop's trash, where Delete puts files so the user can get them back. The desktop
// program implements it in src/platform; tests use a fake.

#include <filesystem>

#include "core/shell/fs.h"

namespace qm::shell {

class Trash {
 public:
  virtual ~Trash() = default;
  // Success when the file is now in the trash and gone from its folder; else the reason.
  virtual FsStatus moveToTrash(const std::filesystem::path& file) = 0;
};

}  // namespace qm::shell
