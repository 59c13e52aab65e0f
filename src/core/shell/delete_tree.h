#pragma once
// Deletes a folder with everything in it. Files that cannot be deleted are counted; the
// folders holding them stay.

#include <filesystem>
#include <string>
#include <vector>

#include "core/shell/fs.h"

namespace qm::shell {

struct FailedItem {
  std::filesystem::path path;
  std::string reason;  // the system's
};

struct DeleteTreeResult {
  int failures = 0;                // files that could not be deleted
  bool removed = false;            // the folder itself is gone
  std::vector<FailedItem> failed;  // the files that stayed, each with the system's reason
};

DeleteTreeResult DeleteTree(Fs& fs, const std::filesystem::path& folder);

// The message shown after the outermost DeleteTree when failures >= 1.
std::string deleteTreeFailureText(int failures);

}  // namespace qm::shell
