#pragma once
// Converting a whole Filter Factory library into one file per entry.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/batch/overwrite_check.h"
#include "core/common/byte_view.h"
#include "core/common/ports.h"
#include "core/ff/convert_output.h"
#include "core/ff/options.h"

namespace qm::ff {

struct FFLConvertOptions {
  int target = 0;  // 0 (.8bf), 3 (.afs), 4 (.pff) or 5 (.txt); 1 and 2 write nothing
  bool namesFromTitles = false;
  FFOptions ff;
  // Only the entries that start at these byte positions (as the library's index gives them);
  // empty: every entry.
  std::vector<std::uint64_t> entryPositions = {};
  std::span<const std::filesystem::path> ownInputs = {};  // never written over
};

// Outcome of converting one library. Entries are named "LIB.ffl#N"; a library that ends
// early is itself among the failed (its whole entries are converted all the same).
struct FFLConversion : ConvertTally {
  // false: wrong first line (said through the prompter) or a file that cannot be read (not
  // said), nothing converted
  bool isLibrary = true;
  bool cancelled = false;
  std::size_t entries = 0;  // entries read, placeholders counted
};

// Converts every entry of library into folder (created when missing). Each entry's output
// goes through overwrite under the name it is written as. Shows "k of N" on progress and
// stops before an entry when progress is cancelled.
FFLConversion Convertffl(const std::filesystem::path& folder, const std::filesystem::path& library,
                         const FFLConvertOptions& options, batch::OverwriteCheck& overwrite,
                         Prompter& prompter, Progress& progress);

// The same from bytes already read; library names the entries and the messages.
FFLConversion ConvertfflBytes(const std::filesystem::path& folder, ByteView bytes,
                              const std::filesystem::path& library,
                              const FFLConvertOptions& options, batch::OverwriteCheck& overwrite,
                              Prompter& prompter, Progress& progress);

}  // namespace qm::ff
