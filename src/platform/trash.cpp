#include "platform/trash.h"

#include <unistd.h>

#include <QFile>
#include <QString>
#include <cerrno>
#include <system_error>

namespace qm::platform {

shell::FsStatus DesktopTrash::moveToTrash(const std::filesystem::path& file) {
  auto utf8 = file.u8string();
  auto name = QString::fromUtf8(reinterpret_cast<const char*>(utf8.data()),
                                static_cast<qsizetype>(utf8.size()));
  if (QFile::moveToTrash(name)) return {};
  // The desktop's trash gives no reason; the likely ones are asked of the system.
  std::error_code missing;
  if (!std::filesystem::exists(std::filesystem::symlink_status(file, missing)))
    return std::unexpected(std::make_error_code(std::errc::no_such_file_or_directory));
  if (::access(file.parent_path().c_str(), W_OK | X_OK) != 0)
    return std::unexpected(std::error_code(errno, std::generic_category()));
  return std::unexpected(std::make_error_code(std::errc::operation_not_supported));
}

}  // namespace qm::platform
