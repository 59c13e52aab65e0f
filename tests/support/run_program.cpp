#include "run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "temp_folder.h"

namespace qm::test {

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& args,
                               const std::string& input, const std::filesystem::path& configHome)
    : io_(std::make_unique<TempFolder>()) {
  const std::string config = (configHome.empty() ? *io_ / "config" : configHome).string();
  // Files instead of pipes: no deadlock however much the program prints.
  auto inPath = writeFile(*io_ / "in", input);
  auto outPath = *io_ / "out";
  auto errPath = *io_ / "err";

  std::vector<std::string> words{program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  pid_ = fork();
  if (pid_ == 0) {
    int in = open(inPath.c_str(), O_RDONLY);
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
}

RunningProgram::~RunningProgram() {
  if (pid_ > 0 && !finished_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
  }
}

bool RunningProgram::running() {
  if (pid_ <= 0 || finished_) return false;
  if (waitpid(pid_, &status_, WNOHANG) == pid_) finished_ = true;
  return !finished_;
}

void RunningProgram::signal(int number) {
  if (running()) kill(pid_, number);
}

ProgramRun RunningProgram::finish() {
  ProgramRun run;
  if (pid_ <= 0) return run;
  if (!finished_ && waitpid(pid_, &status_, 0) == pid_) finished_ = true;
  if (finished_ && WIFEXITED(status_)) run.exitCode = WEXITSTATUS(status_);
  run.out = readFile(*io_ / "out");
  run.err = readFile(*io_ / "err");
  return run;
}

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& input, const std::filesystem::path& configHome) {
  return RunningProgram(program, args, input, configHome).finish();
}

}  // namespace qm::test
