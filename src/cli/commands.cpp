#include "cli/commands.h"

namespace qm::cli {

// Factories of the individual commands (one cmd_<name>.cpp each).

std::vector<CommandSpec> allCommands() {
  std::vector<CommandSpec> commands;
  return commands;
}

}  // namespace qm::cli
