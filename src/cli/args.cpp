#include "cli/command.h"

namespace qm::cli {

std::optional<std::string> Args::value(std::string_view name) const {
  auto it = flags_.find(name);
  if (it == flags_.end() || it->second.empty()) return std::nullopt;
  return it->second.back();
}

std::vector<std::string> Args::values(std::string_view name) const {
  auto it = flags_.find(name);
  return it == flags_.end() ? std::vector<std::string>{} : it->second;
}

}  // namespace qm::cli
