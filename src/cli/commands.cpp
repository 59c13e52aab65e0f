#include "cli/commands.h"

namespace qm::cli {

// Factories of the individual commands (one cmd_<name>.cpp each).
CommandSpec makeDumpCommand();
CommandSpec makeConvertCommand();

std::vector<CommandSpec> allCommands() {
  std::vector<CommandSpec> commands;
  commands.push_back(makeDumpCommand());
  commands.push_back(makeConvertCommand());
  return commands;
}

}  // namespace qm::cli
