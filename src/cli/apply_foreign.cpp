#include "cli/apply_foreign.h"

#include <charconv>
#include <mutex>
#include <ostream>

#include "core/common/unicode_text.h"
#include "core/ff/options.h"
#include "core/host/filter_loader.h"
#include "core/plughost/foreign_host.h"
#include "core/plughost/runs_where.h"
#include "platform/posix_host_process.h"
#include "platform/program_dir.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

// The plugin's progress stays quiet on the terminal; the set-up note and Ctrl-C pass through.
class ForeignProgress final : public Progress {
 public:
  ForeignProgress(std::ostream& err, const std::function<bool()>& cancelled, std::mutex& lock)
      : err_(err), cancelled_(cancelled), lock_(lock) {}
  void status(std::string_view text) override {
    if (text.empty()) return;
    const std::lock_guard guard(lock_);
    err_ << text << '\n';
  }
  void percent(int) override {}
  bool cancelled() override { return cancelled_ && cancelled_(); }

 private:
  std::ostream& err_;
  const std::function<bool()>& cancelled_;
  std::mutex& lock_;
};

// What the runs of one apply share: the launcher, the warm Wine server and the plugin.
struct ForeignApply {
  platform::PosixProcessLauncher launcher;
  std::unique_ptr<plughost::ForeignHost> host;
  plughost::ForeignPlugin plugin;
  plughost::ForeignRunOptions options;
  std::mutex errLock;
};

std::optional<long> timeoutOption(const Args& args) {
  const auto text = args.value("timeout");
  if (!text) return 60;
  long v = 0;
  auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), v);
  if (ec != std::errc() || end != text->data() + text->size() || v < 1 || v > 86400)
    return std::nullopt;
  return v;
}

}  // namespace

ForeignChoice prepareForeignApply(Context& context, apply::ApplySetup& setup) {
  const auto reference = plughost::splitFilterReference(setup.filterArg);
  if (!reference) return ForeignChoice::NotForeign;
  std::error_code ec;
  if (!fs::is_regular_file(reference->file, ec)) return ForeignChoice::NotForeign;
  if (reference->filter == 1 && host::loadPluginFilter(reference->file))
    return ForeignChoice::NotForeign;
  auto wine = plughost::findWine(plughost::wineSearchFolders());
  const auto where = plughost::runsWhere(reference->file, false, wine);
  // Only Windows filters are ours; anything else gets the Filter Factory loader's message.
  if (!where.windowsFilter) return ForeignChoice::NotForeign;
  if (where.runner == plughost::Runner::No) {
    context.err << setup.filterArg << ": " << where.why << '\n';
    return ForeignChoice::Refused;
  }
  const auto timeout = timeoutOption(context.args);
  if (!timeout) {
    context.err << "quillmark-cli apply: --timeout takes seconds from 1 to 86400\n";
    return ForeignChoice::Refused;
  }
  if (!context.args.values("ctl").empty()) {
    context.err << "quillmark-cli apply: --ctl sets Filter Factory sliders; " << setup.filterArg
                << " is a Windows plugin (--dialog shows its own dialog)\n";
    return ForeignChoice::Refused;
  }
  auto shared = std::make_shared<ForeignApply>();
  plughost::ForeignSetup hostSetup{
      std::move(wine), plughost::findHostPrograms(platform::shippedDataDir(), context.programDir),
      plughost::winePrefix(context.programDir), plughost::WarmServer::AMinuteMore};
  shared->host = std::make_unique<plughost::ForeignHost>(shared->launcher, std::move(hostSetup));
  shared->plugin = {reference->file, reference->filter, where.x86, setup.filterArg};
  shared->options.dialog = context.args.flag("dialog");
  shared->options.timeout = std::chrono::seconds(*timeout);
  std::ostream& err = context.err;
  setup.foreign = [shared, &err](host::Image& image, const std::function<bool()>& cancelled) {
    ForeignProgress progress(err, cancelled, shared->errLock);
    return shared->host->run(shared->plugin, image, shared->options, progress);
  };
  return ForeignChoice::Ready;
}

}  // namespace qm::cli
