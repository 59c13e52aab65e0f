#pragma once
// Converting a whole Filter Factory library into one file per entry.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/byte_view.h"
#include "core/common/ports.h"
#include "core/ff/options.h"

namespace qm::ff {

// Outcome of converting one library.
struct FFLConversion {
  bool isLibrary = true;  // false: wrong first line or unreadable file, nothing converted
  bool cancelled = false;
  std::size_t entries = 0;  // entries read, placeholders counted
  std::vector<std::filesystem::path> written;
  std::vector<std::string> failures;  // one text per entry that could not be written
};

// Converts every entry of library into folder (created when missing) for target kind
// 0 (.8bf), 3 (.afs), 4 (.pff) or 5 (.txt); kinds 1 and 2 write nothing. Existing files are
// replaced without asking. Shows "k of N" on progress and stops before an entry when
// progress is cancelled.
FFLConversion Convertffl(const std::filesystem::path& folder, const std::filesystem::path& library,
                         int target, bool namesFromTitles, const FFOptions& options,
                         Prompter& prompter, Progress& progress);

// The same, from bytes already read; libraryName is used in the wrong-header message.
FFLConversion ConvertfflBytes(const std::filesystem::path& folder, ByteView library,
                              std::string_view libraryName, int target, bool namesFromTitles,
                              const FFOptions& options, Prompter& prompter, Progress& progress);

}  // namespace qm::ff
