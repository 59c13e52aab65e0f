#include "core/ff/target_writer.h"

#include "core/common/cp1252.h"
#include "core/common/safe_name.h"
#include "core/ff/file_names.h"
#include "core/ff/plugin_writer.h"
#include "core/ff/sources.h"

namespace qm::ff {

TargetWrite WriteForTarget(const std::filesystem::path& folder, int target, FFRecord& rec,
                           const FFOptions& options) {
  if (target != kTargetPlugin && target != kTargetAfs && target != kTargetPff &&
      target != kTargetText)
    return {};

  // The record keeps the name as read; only the writer sees the plain form.
  const std::string original = rec.fileName;
  const std::string plain = plainFileName(original);
  const bool renamed = plain != original;
  rec.fileName = plain;

  TargetWrite result;
  switch (target) {
    case kTargetPlugin: {
      auto plugin = Write8bf(folder, false, false, rec, options);
      result.written = plugin.written;
      result.error = plugin.error;
      break;
    }
    case kTargetAfs:
      result.written = Writeafspff(folder, 0, rec);
      break;
    case kTargetPff:
      result.written = Writeafspff(folder, 1, rec);
      break;
    default:
      result.written = WriteTXT(folder, rec);
      break;
  }
  if (result.written.empty() && result.error.empty())
    result.error = cp1252ToUtf8(plain) + ": could not be written to " + folder.string();
  if (renamed) rec.fileName = original;
  return result;
}

}  // namespace qm::ff
