#pragma once
// `apply FILTER --dest DIR IMAGE...`: many pictures through one filter, several at a time.

#include <filesystem>
#include <string>
#include <vector>

#include "cli/apply_picture.h"
#include "cli/command.h"

namespace qm::cli {

struct BatchOptions {
  std::filesystem::path dest;  // empty: beside each input
  std::string suffix;          // added to each output's name
  std::string format;          // output extension; empty: the input's own
  unsigned threads = 1;
  bool json = false;
  bool timings = false;
};

// Prints one line per written picture and "N written, M failed" (or the JSON document);
// returns the exit code.
int runApplyBatch(Context& context, const ApplySetup& setup,
                  const std::vector<std::filesystem::path>& images, const BatchOptions& options);

}  // namespace qm::cli
