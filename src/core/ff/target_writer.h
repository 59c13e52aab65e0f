#pragma once
// Writes the record in the format of a conversion target kind (see file_names.h).

#include <filesystem>
#include <string>

#include "core/ff/options.h"
#include "core/ff/record.h"

namespace qm::ff {

struct TargetWrite {
  std::filesystem::path written;  // empty when nothing was written
  std::string error;              // empty unless the write failed
};

// Kinds 1 and 2 (Premiere plugins) write nothing and report no error. The writer derives the
// output name from rec.fileName, which is reduced to a plain file name first, so a name read
// from a file never leads outside folder.
TargetWrite WriteForTarget(const std::filesystem::path& folder, int target, FFRecord& rec,
                           const FFOptions& options);

}  // namespace qm::ff
