#pragma once
// What the Windows-plugin driver needs from the operating system: starting a program with
// pipes on its standard input and output, reading its answers with a time limit, and ending
// it. The platform layer implements it; tests script it.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm::plughost {

struct ProcessLaunch {
  std::vector<std::string> words;        // program, then its arguments
  std::vector<std::string> environment;  // "NAME=VALUE" set on top of ours
};

enum class ReadStatus { Line, TimedOut, Ended };

struct ReadResult {
  ReadStatus status = ReadStatus::Ended;
  std::string line;  // without its line end
};

class HostProcess {
 public:
  virtual ~HostProcess() = default;  // ends the program when it still runs
  virtual bool writeLine(std::string_view line) = 0;
  // The next line the program wrote, waiting at most wait for it.
  virtual ReadResult readLine(std::chrono::milliseconds wait) = 0;
  virtual void kill() = 0;
};

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Null when the program cannot be started.
  virtual std::unique_ptr<HostProcess> start(const ProcessLaunch& launch) = 0;
  // Runs the program to its end, its output discarded; its exit code, -1 when it did not
  // start or end normally. whileWaiting is called every tenth of a second meanwhile (the
  // desktop program keeps its window alive there).
  virtual int runToEnd(const ProcessLaunch& launch,
                       const std::function<void()>& whileWaiting = {}) = 0;
};

}  // namespace qm::plughost
