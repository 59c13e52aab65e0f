#include "platform/trash.h"

#include <QFile>
#include <QString>

namespace qm::platform {

bool DesktopTrash::moveToTrash(const std::filesystem::path& file) {
  auto utf8 = file.u8string();
  auto name = QString::fromUtf8(reinterpret_cast<const char*>(utf8.data()),
                                static_cast<qsizetype>(utf8.size()));
  return QFile::moveToTrash(name);
}

}  // namespace qm::platform
