#include "core/plughost/foreign_host.h"

#include "core/plughost/answer.h"
#include "core/plughost/pixel_file.h"
#include "core/plughost/texts.h"

namespace qm::plughost {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How often a waiting run looks at Escape, and how long a plugin that was asked to stop may
// take to notice before its process is ended.
constexpr milliseconds kPoll{100};
constexpr std::chrono::seconds kAbortGrace{3};

std::vector<std::string> wineEnvironment(const std::filesystem::path& prefix) {
  // No Mono or Gecko installers: plugins need neither.
  return {"WINEPREFIX=" + prefix.string(), "WINEDEBUG=-all", "WINEDLLOVERRIDES=mscoree,mshtml="};
}

}  // namespace

ForeignHost::ForeignHost(ProcessLauncher& launcher, ForeignSetup setup)
    : launcher_(launcher), setup_(std::move(setup)) {}

ForeignHost::~ForeignHost() {
  if (serverStarted_ && setup_.warm == WarmServer::UntilWeEnd)
    launcher_.runToEnd({{setup_.wine->wineserver.string(), "-k"}, wineEnvironment(setup_.prefix)});
}

ProcessLaunch ForeignHost::hostLaunch(bool x86) const {
  const WineTools& wine = *setup_.wine;
  return {{(x86 ? wine.wine32 : wine.wine64).string(),
           (x86 ? setup_.hosts->host32 : setup_.hosts->host64).string()},
          wineEnvironment(setup_.prefix)};
}

std::optional<std::string> ForeignHost::unavailable(bool x86) {
  if (!setup_.wine) return std::string(kNeedsWineText);
  if (!setup_.hosts) return std::string(kNoHostText);
  if (!x86) return std::nullopt;
  if (setup_.wine->wine32.empty()) return std::string(kNo32BitText);
  return std::nullopt;
}

std::optional<std::string> ForeignHost::prepare(bool x86, Progress& progress) {
  const std::lock_guard lock(preparing_);
  if (auto why = unavailable(x86)) return why;
  const auto env = wineEnvironment(setup_.prefix);
  if (!prefixReady(setup_.prefix)) {
    progress.status(kPreparingText);
    // No display: Wine's own "configuration is being updated" window would only confuse.
    std::vector<std::string> setupEnv = env;
    setupEnv.insert(setupEnv.end(), {"WINEARCH=win64", "DISPLAY=", "WAYLAND_DISPLAY="});
    const int exit =
        launcher_.runToEnd({{setup_.wine->wine64.string(), "wineboot", "--init"}, setupEnv},
                           [&progress] { (void)progress.cancelled(); });
    progress.status({});
    if (exit != 0 || !markPrefixReady(setup_.prefix))
      return "Wine could not set up its folder " + setup_.prefix.string() + ".";
  }
  if (!serverStarted_) {
    // Kept running while we do: a warm start of the host costs a fraction of a cold one.
    const char* persist = setup_.warm == WarmServer::UntilWeEnd ? "-p" : "-p60";
    launcher_.runToEnd({{setup_.wine->wineserver.string(), persist}, env});
    serverStarted_ = true;
  }
  if (x86) {
    // Installed 32-bit Wine still needs a system that can run 32-bit programs.
    if (!runs32_) {
      ProcessLaunch probe = hostLaunch(true);
      probe.words.push_back("--probe");
      runs32_ = launcher_.runToEnd(probe) == 0;
    }
    if (!*runs32_) return std::string(kNo32BitText);
  }
  return std::nullopt;
}

ForeignResult ForeignHost::about(const ForeignPlugin& plugin, Progress& progress) {
  if (auto why = prepare(plugin.x86, progress))
    return {ForeignResult::Status::Failed, plugin.shownAs + ": " + *why};
  const std::string command =
      "about\t" + std::to_string(plugin.filter) + "\t" + windowsPath(plugin.file);
  return converse(plugin, command, {}, progress, nullptr);
}

ForeignResult ForeignHost::run(const ForeignPlugin& plugin, host::Image& image,
                               const ForeignRunOptions& options, Progress& progress) {
  if (auto why = prepare(plugin.x86, progress))
    return {ForeignResult::Status::Failed, plugin.shownAs + ": " + *why};
  auto pixels = PixelFile::create(image);
  if (!pixels)
    return {ForeignResult::Status::Failed,
            cannotLoadText(plugin.shownAs, "the picture could not be handed to it")};
  const std::string command = "run\t" + std::to_string(plugin.filter) + "\t" +
                              (options.dialog ? "1" : "0") + "\t" + windowsPath(pixels->path()) +
                              "\t" + windowsPath(plugin.file);
  ForeignResult result = converse(plugin, command, options, progress, &*pixels);
  if (result.status == ForeignResult::Status::Done) {
    host::Image filtered = image;
    if (!pixels->readResult(filtered))
      return {ForeignResult::Status::Failed, stoppedWithErrorText(plugin.shownAs, "exit", "")};
    image = std::move(filtered);
  }
  return result;
}

ForeignResult ForeignHost::converse(const ForeignPlugin& plugin, const std::string& command,
                                    const ForeignRunOptions& options, Progress& progress,
                                    const PixelFile* pixels) {
  using Status = ForeignResult::Status;
  auto process = launcher_.start(hostLaunch(plugin.x86));
  if (!process || !process->writeLine(command))
    return {Status::Failed, cannotLoadText(plugin.shownAs, "wine64 did not start")};
  auto deadline = Clock::now() + options.timeout;
  bool inDialog = false;
  std::optional<Clock::time_point> abortedAt;
  for (;;) {
    const ReadResult read = process->readLine(kPoll);
    if (read.status == ReadStatus::Ended)
      return {Status::Failed, stoppedWithErrorText(plugin.shownAs, "exit", "")};
    if (read.status == ReadStatus::Line) {
      const Answer answer = parseAnswer(read.line);
      switch (answer.kind) {
        case Answer::Kind::Progress:
          progress.percent(answer.percent);
          deadline = Clock::now() + options.timeout;
          break;
        case Answer::Kind::Dialog:
          inDialog = true;
          break;
        case Answer::Kind::DialogEnd:
          inDialog = false;
          deadline = Clock::now() + options.timeout;
          break;
        case Answer::Kind::Done:
          return {Status::Done, {}};
        case Answer::Kind::Cancelled:
          return {Status::Cancelled, {}};
        case Answer::Kind::Error:
          if (answer.code == "load")
            return {Status::Failed, cannotLoadText(plugin.shownAs, answer.text)};
          return {Status::Failed, stoppedWithErrorText(plugin.shownAs, answer.code, answer.text)};
        case Answer::Kind::Unknown:
          break;
      }
      continue;
    }
    const auto now = Clock::now();
    if (abortedAt) {
      if (now - *abortedAt > kAbortGrace) {
        process->kill();
        return {Status::Cancelled, plugin.shownAs + ": did not stop when asked and was ended"};
      }
    } else if (progress.cancelled()) {
      // A plugin that polls its abort test stops cleanly; any other is ended shortly after.
      if (!pixels) {
        process->kill();
        return {Status::Cancelled, {}};
      }
      pixels->requestAbort();
      abortedAt = now;
    } else if (!inDialog && now > deadline) {
      process->kill();
      return {Status::Failed,
              didNotAnswerText(plugin.shownAs, static_cast<long>(options.timeout.count()))};
    }
  }
}

}  // namespace qm::plughost
