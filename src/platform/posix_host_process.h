#pragma once
// Starting the Windows-plugin host (and Wine's own tools) as child processes with pipes.

#include "core/plughost/host_process.h"

namespace qm::platform {

class PosixProcessLauncher final : public plughost::ProcessLauncher {
 public:
  std::unique_ptr<plughost::HostProcess> start(const plughost::ProcessLaunch& command) override;
  int runToEnd(const plughost::ProcessLaunch& command,
               const std::function<void()>& whileWaiting) override;
};

}  // namespace qm::platform
