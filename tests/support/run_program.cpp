#include "run_program.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "temp_folder.h"

namespace qm::test {

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& input) {
  // Files instead of pipes: no deadlock however much the program prints.
  TempFolder io;
  auto inPath = writeFile(io / "in", input);
  auto outPath = io / "out";
  auto errPath = io / "err";

  std::vector<std::string> words{program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  ProgramRun run;
  pid_t child = fork();
  if (child == 0) {
    int in = open(inPath.c_str(), O_RDONLY);
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  if (child < 0) return run;
  int status = 0;
  if (waitpid(child, &status, 0) == child && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  run.out = readFile(outPath);
  run.err = readFile(errPath);
  return run;
}

}  // namespace qm::test
