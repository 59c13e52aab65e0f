#include "core/ff/target_writer.h"

#include "core/common/safe_name.h"
#include "core/ff/file_names.h"
#include "core/ff/plugin_writer.h"
#include "core/ff/sources.h"

namespace qm::ff {

std::filesystem::path targetPath(const std::filesystem::path& folder, int target,
                                 std::string_view name) {
  return folder / plainFileName(writtenNameUtf8(target, plainFileName(name)));
}

WriteResult WriteForTarget(const std::filesystem::path& path, int target, FFRecord& rec,
                           const FFOptions& options) {
  switch (target) {
    case kTargetPlugin:
      return Write8bfTo(path, rec, options);
    case kTargetAfs:
      return WriteafspffTo(path, 0, rec);
    case kTargetPff:
      return WriteafspffTo(path, 1, rec);
    case kTargetText:
      // As WriteTXT does: the "Filename" line of a name without "." gets the extension.
      if (rec.fileName.find('.') == std::string::npos) rec.fileName += ".txt";
      return WriteTXTTo(path, rec);
    default:
      return {};
  }
}

}  // namespace qm::ff
