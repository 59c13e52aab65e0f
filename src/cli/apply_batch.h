#pragma once
// `apply FILTER --dest DIR IMAGE...`: many pictures through one filter, several at a time.

#include <filesystem>
#include <vector>

#include "cli/command.h"
#include "core/apply/batch_apply.h"

namespace qm::cli {

struct BatchPrinting {
  bool json = false;
  bool timings = false;
};

// Prints one line per written picture and "N written, M skipped, F failed" (or the JSON
// document); returns the exit code.
int runApplyBatch(Context& context, const apply::ApplySetup& setup,
                  const std::vector<std::filesystem::path>& images,
                  const apply::BatchOptions& options, BatchPrinting printing);

}  // namespace qm::cli
