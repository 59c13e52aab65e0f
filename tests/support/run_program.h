#pragma once
// Runs a program (the built quillmark-cli) with arguments and optional standard input, and
// hands back its exit code and everything it printed.

#include <string>
#include <vector>

namespace qm::test {

struct ProgramRun {
  int exitCode = -1;  // -1 when it could not be started or did not exit normally
  std::string out;
  std::string err;
};

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& input = {});

}  // namespace qm::test
