#pragma once
// Copying and moving one file so that a failure leaves both ends as they were: the new file
// is written under a temporary name in the destination folder and renamed into place.

#include <filesystem>

#include "core/shell/fs.h"

namespace qm::shell {

// Copies `from` to `to`, replacing a file at `to` only once the copy is complete.
FsStatus copyReplacing(Fs& fs, const std::filesystem::path& from, const std::filesystem::path& to);

// Moves `from` to `to`, replacing a file at `to`. Across file systems the file is copied,
// compared with the original, and only then is the original removed.
FsStatus moveReplacing(Fs& fs, const std::filesystem::path& from, const std::filesystem::path& to);

// A name beside `target` that does not exist yet, for a file on its way to `target`.
std::filesystem::path siblingTempName(Fs& fs, const std::filesystem::path& target,
                                      std::string_view tag);

}  // namespace qm::shell
