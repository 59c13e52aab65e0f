#pragma once
// The desktop trash behind the engine's Trash port.

#include "core/shell/trash.h"

namespace qm::platform {

class DesktopTrash final : public shell::Trash {
 public:
  shell::FsStatus moveToTrash(const std::filesystem::path& file) override;
};

}  // namespace qm::platform
