#pragma once
// Writes a .8bf plugin from the record by copying a template plugin and patching it.

#include <filesystem>
#include <string>

#include "core/ff/options.h"
#include "core/ff/record.h"

namespace qm::ff {

struct WriteResult {
  std::filesystem::path written;  // empty on failure
  std::string error;              // the reason, worded for the user
};

// preview: write "temp.dll" into folder from the program folder's temp.dll.
// editor: the standalone word is written as 0 whatever the options say.
WriteResult Write8bf(const std::filesystem::path& folder, bool preview, bool editor, FFRecord& rec,
                     const FFOptions& options);

}  // namespace qm::ff
