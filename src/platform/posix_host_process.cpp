#include "platform/posix_host_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "core/common/write_fully.h"

extern char** environ;

namespace qm::platform {
namespace {

using plughost::ProcessLaunch;
using plughost::ReadResult;
using plughost::ReadStatus;

// Our environment with the launch's settings on top, in the form execve takes.
std::vector<std::string> environmentFor(const ProcessLaunch& launch) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool replaced = false;
    for (const std::string& own : launch.environment)
      replaced = replaced || own.substr(0, own.find('=')) == name;
    if (!replaced) env.push_back(entry);
  }
  env.insert(env.end(), launch.environment.begin(), launch.environment.end());
  return env;
}

std::vector<char*> pointers(std::vector<std::string>& words) {
  std::vector<char*> out;
  for (std::string& w : words) out.push_back(w.data());
  out.push_back(nullptr);
  return out;
}

// Starts launch.words with the given descriptors as its standard input and output (-1: /dev/null);
// its standard error goes to /dev/null. The child's pid, or -1.
pid_t spawn(const ProcessLaunch& launch, int input, int output) {
  if (launch.words.empty()) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (input >= 0)
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
  else
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (output >= 0)
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  else
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> words = launch.words;
  std::vector<std::string> env = environmentFor(launch);
  auto argv = pointers(words);
  auto envp = pointers(env);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

class PipedProcess final : public plughost::HostProcess {
 public:
  PipedProcess(pid_t pid, int toChild, int fromChild)
      : pid_(pid), toChild_(toChild), fromChild_(fromChild) {}
  ~PipedProcess() override {
    ::close(toChild_);
    ::close(fromChild_);
    if (!reaped_) {
      // A host that still runs after its last answer is ended rather than waited for.
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
      }
    }
  }
  bool writeLine(std::string_view line) override {
    std::string text(line);
    text += '\n';
    return writeFully(toChild_, text.data(), text.size()) == 0;
  }
  ReadResult readLine(std::chrono::milliseconds wait) override {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
      if (const auto end = buffer_.find('\n'); end != std::string::npos) {
        ReadResult r{ReadStatus::Line, buffer_.substr(0, end)};
        buffer_.erase(0, end + 1);
        return r;
      }
      if (ended_) return {ReadStatus::Ended, {}};
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return {ReadStatus::TimedOut, {}};
      pollfd p{fromChild_, POLLIN, 0};
      const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0) return {ReadStatus::TimedOut, {}};
      char chunk[4096];
      const ssize_t n = ::read(fromChild_, chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        ended_ = true;
        continue;
      }
      // An answer line is short; a host that floods us is cut off.
      if (buffer_.size() > 1 << 20) buffer_.clear();
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }
  void kill() override {
    if (reaped_) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    reaped_ = true;
  }

 private:
  pid_t pid_;
  int toChild_, fromChild_;
  std::string buffer_;
  bool ended_ = false;
  bool reaped_ = false;
};

}  // namespace

std::unique_ptr<plughost::HostProcess> PosixProcessLauncher::start(const ProcessLaunch& launch) {
  int in[2], out[2];
  if (::pipe2(in, O_CLOEXEC) != 0) return nullptr;
  if (::pipe2(out, O_CLOEXEC) != 0) {
    ::close(in[0]);
    ::close(in[1]);
    return nullptr;
  }
  const pid_t pid = spawn(launch, in[0], out[1]);
  ::close(in[0]);
  ::close(out[1]);
  if (pid < 0) {
    ::close(in[1]);
    ::close(out[0]);
    return nullptr;
  }
  // A host that ended early must not kill us with SIGPIPE when we write its command.
  ::signal(SIGPIPE, SIG_IGN);
  return std::make_unique<PipedProcess>(pid, in[1], out[0]);
}

int PosixProcessLauncher::runToEnd(const ProcessLaunch& launch,
                                   const std::function<void()>& whileWaiting) {
  const pid_t pid = spawn(launch, -1, -1);
  if (pid < 0) return -1;
  int status = 0;
  for (;;) {
    const pid_t ended = ::waitpid(pid, &status, whileWaiting ? WNOHANG : 0);
    if (ended == pid) break;
    if (ended < 0 && errno != EINTR) return -1;
    if (ended == 0) {
      whileWaiting();
      ::usleep(100000);
    }
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace qm::platform
