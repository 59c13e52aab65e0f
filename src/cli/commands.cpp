#include "cli/commands.h"

namespace qm::cli {

// Factories of the individual commands (one cmd_<name>.cpp each).
CliCommand makeDumpCommand();
CliCommand makeConvertCommand();
CliCommand makeScanCommand();
CliCommand makeInfoCommand();
CliCommand makeListCommand();
CliCommand makeToggleCommand();
CliCommand makeSetCategoryCommand();
CliCommand makeTypesCommand();
CliCommand makeApplyCommand();
CliCommand makeCheckCommand();
CliCommand makeSearchCommand();
CliCommand makeDuplicatesCommand();

std::vector<CliCommand> allCommands() {
  std::vector<CliCommand> commands;
  commands.push_back(makeDumpCommand());
  commands.push_back(makeConvertCommand());
  commands.push_back(makeScanCommand());
  commands.push_back(makeInfoCommand());
  commands.push_back(makeListCommand());
  commands.push_back(makeToggleCommand());
  commands.push_back(makeSetCategoryCommand());
  commands.push_back(makeTypesCommand());
  commands.push_back(makeApplyCommand());
  commands.push_back(makeCheckCommand());
  commands.push_back(makeSearchCommand());
  commands.push_back(makeDuplicatesCommand());
  return commands;
}

}  // namespace qm::cli
