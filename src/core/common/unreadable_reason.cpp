#include "core/common/unreadable_reason.h"

#include <system_error>

namespace qm {

std::optional<std::string> unreadableReason(const std::filesystem::path& file) {
  std::error_code ec;
  auto status = std::filesystem::status(file, ec);
  if (ec) return ec.message();
  if (std::filesystem::is_directory(status))
    return std::make_error_code(std::errc::is_a_directory).message();
  if (!std::filesystem::is_regular_file(status)) return "not a regular file";
  return std::nullopt;
}

}  // namespace qm
