#pragma once
// The desktop's trash, where Delete puts files so the user can get them back. The desktop
// program implements it in src/platform; tests use a fake.

#include <filesystem>

namespace qm::shell {

class Trash {
 public:
  virtual ~Trash() = default;
  // True when the file is now in the trash and gone from its folder.
  virtual bool moveToTrash(const std::filesystem::path& file) = 0;
};

}  // namespace qm::shell
