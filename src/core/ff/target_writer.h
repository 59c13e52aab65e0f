#pragma once
// Writes the record in the format of a conversion target kind (see file_names.h).

#include <filesystem>
#include <string_view>

#include "core/ff/options.h"
#include "core/ff/record.h"
#include "core/ff/write_result.h"

namespace qm::ff {

// Where the target's writer puts a file named name in folder: writtenName of the name's
// plain form, so a name read from a file never leads outside folder. name is UTF-8 (or the
// disk's own bytes for a name taken from a path).
std::filesystem::path targetPath(const std::filesystem::path& folder, int target,
                                 std::string_view name);

// Writes rec in the target format to path. Kinds 1 and 2 (Premiere plugins) write nothing
// and report no error.
WriteResult WriteForTarget(const std::filesystem::path& path, int target, FFRecord& rec,
                           const FFOptions& options);

}  // namespace qm::ff
