#pragma once
// Starting outside programs without a shell: waiting for one while Escape can stop it, or
// leaving one to run on its own.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/ports.h"
#include "core/outside/zip_commands.h"

namespace qm::platform {

struct ProcessOutcome {
  bool started = false;
  bool cancelled = false;  // stopped through progress.cancelled()
  int exitCode = -1;       // -1 when it did not end normally
  std::string output;      // standard output and error, in the order written
};

// Runs the command and waits, polling progress.cancelled() while it works; what the program
// writes goes to onOutput as it comes. A cancelled program is stopped.
ProcessOutcome runAndWait(const outside::CommandLine& command, Progress& progress,
                          const std::function<void(std::string_view)>& onOutput = {});

// Starts words[0] with the other words as arguments and does not wait; false when it could
// not be started.
bool startDetached(const std::vector<std::string>& words,
                   const std::filesystem::path& workingFolder);

}  // namespace qm::platform
