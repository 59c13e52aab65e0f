#pragma once
// What a Filter Factory writer reports: the file it wrote, or why it wrote nothing, and the
// texts it had to cut to fit their fields.

#include <filesystem>
#include <string>
#include <vector>

namespace qm::ff {

struct WriteResult {
  std::filesystem::path written;      // empty when nothing was written
  std::string error;                  // the reason, worded for the user (UTF-8 paths)
  std::vector<std::string> warnings;  // one per text cut to its field
};

}  // namespace qm::ff
