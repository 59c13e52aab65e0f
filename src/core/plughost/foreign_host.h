#pragma once
// Runs Windows filter plugins that are not Filter Factory filters: one host process of ours
// (qm-plughost.exe) per run under wine64, in a Wine prefix of our own that is set up on first
// use and whose server is kept warm while this object lives. A plugin that crashes, hangs
// past the time limit or is stopped ends only its host process; the picture changes only
// when the plugin finished. Safe to use from several threads at once.

#include <chrono>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "core/common/ports.h"
#include "core/host/image.h"
#include "core/plughost/host_process.h"
#include "core/plughost/wine_setup.h"

namespace qm::plughost {

class PixelFile;

struct ForeignPlugin {
  std::filesystem::path file;
  int filter = 1;       // which filter of the file (1-based, as the Plugin View lists them)
  bool x86 = false;     // a 32-bit plugin
  std::string shownAs;  // how messages name it
};

struct ForeignRunOptions {
  bool dialog = false;  // the plugin's own dialog first
  std::chrono::seconds timeout{60};
};

struct ForeignResult {
  enum class Status { Done, Cancelled, Failed };
  Status status = Status::Failed;
  // Failed: what to tell the user. Cancelled: empty when the plugin stopped itself.
  std::string message;
};

// How long the warm Wine server outlives us: the desktop program stops it when it ends; a
// command-line run leaves it for a minute, so the next command in a script starts warm too.
enum class WarmServer { UntilWeEnd, AMinuteMore };

struct ForeignSetup {
  std::optional<WineTools> wine;      // nullopt: Wine is not installed
  std::optional<HostPrograms> hosts;  // nullopt: our host programs are missing
  std::filesystem::path prefix;
  WarmServer warm = WarmServer::UntilWeEnd;
};

class ForeignHost {
 public:
  ForeignHost(ProcessLauncher& launcher, ForeignSetup setup);
  ~ForeignHost();
  ForeignHost(const ForeignHost&) = delete;
  ForeignHost& operator=(const ForeignHost&) = delete;

  // Why plugins of this architecture cannot run here; nullopt when they can.
  std::optional<std::string> unavailable(bool x86);
  // The plugin's own about box.
  ForeignResult about(const ForeignPlugin& plugin, Progress& progress);
  // Filters image in place; on any status but Done it is left as it was.
  ForeignResult run(const ForeignPlugin& plugin, host::Image& image,
                    const ForeignRunOptions& options, Progress& progress);

 private:
  std::optional<std::string> prepare(bool x86, Progress& progress);
  ProcessLaunch hostLaunch(bool x86) const;
  ForeignResult converse(const ForeignPlugin& plugin, const std::string& command,
                         const ForeignRunOptions& options, Progress& progress,
                         const PixelFile* pixels);

  ProcessLauncher& launcher_;
  ForeignSetup setup_;
  std::mutex preparing_;  // runs may start from several threads (batch apply)
  bool serverStarted_ = false;
  std::optional<bool> runs32_;  // probed once
};

}  // namespace qm::plughost
