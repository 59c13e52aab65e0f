#include "platform/outside_process.h"

#include <QProcess>

namespace qm::platform {
namespace {

QStringList qargs(const std::vector<std::string>& words, std::size_t from) {
  QStringList list;
  for (std::size_t i = from; i < words.size(); ++i) list << QString::fromStdString(words[i]);
  return list;
}

}  // namespace

ProcessOutcome runAndWait(const outside::CommandLine& command, Progress& progress,
                          const std::function<void(const std::string&)>& onLine) {
  ProcessOutcome outcome;
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setWorkingDirectory(QString::fromStdString(command.workingFolder.string()));
  process.start(QString::fromStdString(command.program.string()), qargs(command.arguments, 0));
  if (!process.waitForStarted()) return outcome;
  outcome.started = true;
  std::string pending;
  auto take = [&] {
    pending += process.readAll().toStdString();
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      std::string line = pending.substr(0, end);
      outcome.output += line + "\n";
      if (onLine) onLine(line);
      pending.erase(0, end + 1);
    }
  };
  while (process.state() != QProcess::NotRunning && !process.waitForFinished(50)) {
    take();
    if (progress.cancelled()) {
      outcome.cancelled = true;
      process.kill();
      process.waitForFinished();
      return outcome;
    }
  }
  take();
  outcome.output += pending;
  if (process.exitStatus() == QProcess::NormalExit) outcome.exitCode = process.exitCode();
  return outcome;
}

bool startDetached(const std::vector<std::string>& words,
                   const std::filesystem::path& workingFolder) {
  if (words.empty()) return false;
  return QProcess::startDetached(QString::fromStdString(words.front()), qargs(words, 1),
                                 QString::fromStdString(workingFolder.string()));
}

}  // namespace qm::platform
