#pragma once
// Runs a program (the built quillmark-cli) with arguments and optional standard input, and
// hands back its exit code and everything it printed.

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace qm::test {

struct ProgramRun {
  int exitCode = -1;  // -1 when it could not be started or did not exit normally
  std::string out;
  std::string err;
};

class TempFolder;

// A program started in the background, for tests that signal it while it works.
class RunningProgram {
 public:
  // The program's settings store lives in configHome ($XDG_CONFIG_HOME), a fresh empty one
  // when none is given, so no run reads the settings of the person running the tests.
  RunningProgram(const std::string& program, const std::vector<std::string>& args,
                 const std::string& input = {}, const std::filesystem::path& configHome = {});
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool running();
  void signal(int number);
  // Waits for the end and collects what it printed.
  ProgramRun finish();

 private:
  std::unique_ptr<TempFolder> io_;
  pid_t pid_ = -1;
  bool finished_ = false;
  int status_ = 0;
};

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& input = {}, const std::filesystem::path& configHome = {});

}  // namespace qm::test
