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
                          const std::function<void(std::string_view)>& onOutput) {
  ProcessOutcome outcome;
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setWorkingDirectory(QString::fromStdString(command.workingFolder.string()));
  process.start(QString::fromStdString(command.program.string()), qargs(command.arguments, 0));
  if (!process.waitForStarted()) return outcome;
  outcome.started = true;
  auto take = [&] {
    std::string chunk = process.readAll().toStdString();
    if (chunk.empty()) return;
    outcome.output += chunk;
    if (onOutput) onOutput(chunk);
  };
  while (process.state() != QProcess::NotRunning && !process.waitForFinished(50)) {
    take();
    if (progress.cancelled()) {
      outcome.cancelled = true;
      // Asked first: a program told to stop removes its half-written files.
      process.terminate();
      if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
      }
      return outcome;
    }
  }
  take();
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
