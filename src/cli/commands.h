#pragma once
// The table of quillmark-cli commands. Each command lives in its own cmd_<name>.cpp and
// contributes one factory here.

#include <vector>

#include "cli/command.h"

namespace qm::cli {

std::vector<CliCommand> allCommands();

}  // namespace qm::cli
