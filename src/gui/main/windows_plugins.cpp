#include "gui/main/windows_plugins.h"

#include "core/common/cp1252.h"
#include "core/host/plugin_invoke.h"
#include "core/plugins/read_com8bf.h"
#include "platform/program_dir.h"

namespace qm::gui {

namespace fs = std::filesystem;

namespace {

// A progress for a worker thread: only the cancel test is real.
class CancelOnly final : public Progress {
 public:
  explicit CancelOnly(const std::function<bool()>& cancelled) : cancelled_(cancelled) {}
  void status(std::string_view) override {}
  void percent(int) override {}
  bool cancelled() override { return cancelled_ && cancelled_(); }

 private:
  const std::function<bool()>& cancelled_;
};

}  // namespace

WindowsPlugins::WindowsPlugins(fs::path programDir)
    : programDir_(std::move(programDir)),
      wine_(plughost::findWine(plughost::wineSearchFolders())) {}

WindowsPlugins::~WindowsPlugins() = default;

plughost::ForeignHost& WindowsPlugins::host() {
  const std::lock_guard lock(making_);
  if (!host_) {
    plughost::ForeignSetup setup{
        wine_, plughost::findHostPrograms(platform::shippedDataDir(), programDir_),
        plughost::winePrefix(programDir_)};
    host_ = std::make_unique<plughost::ForeignHost>(launcher_, std::move(setup));
  }
  return *host_;
}

std::optional<plughost::ForeignPlugin> WindowsPlugins::pluginFor(const fs::path& file,
                                                                 const std::string& title) {
  const auto where = plughost::runsWhere(file, false, wine_);
  if (!where.windowsFilter) return std::nullopt;
  int filter = 1;
  if (!title.empty()) {
    const auto table = plugins::ReadCom8bf(file, {});
    for (std::size_t k = 0; k < table.filters.size(); ++k)
      if (cp1252ToUtf8(table.filters[k].title) == title) {
        filter = static_cast<int>(k) + 1;
        break;
      }
  }
  return plughost::ForeignPlugin{file, filter, where.x86, file.filename().string()};
}

void WindowsPlugins::about(const plughost::ForeignPlugin& plugin, Prompter& prompter,
                           Progress& progress) {
  const auto result = host().about(plugin, progress);
  if (result.status == plughost::ForeignResult::Status::Failed)
    prompter.error(result.message, host::kMessageTitle);
}

plughost::ForeignResult WindowsPlugins::run(const plughost::ForeignPlugin& plugin,
                                            host::Image& image, bool dialog, Progress& progress) {
  plughost::ForeignRunOptions options;
  options.dialog = dialog;
  return host().run(plugin, image, options, progress);
}

plughost::ForeignResult WindowsPlugins::runQuietly(const plughost::ForeignPlugin& plugin,
                                                   host::Image& image,
                                                   const std::function<bool()>& cancelled) {
  CancelOnly progress(cancelled);
  return host().run(plugin, image, {}, progress);
}

std::optional<std::string> WindowsPlugins::unavailable(const plughost::ForeignPlugin& plugin) {
  return host().unavailable(plugin.x86);
}

bool WindowsPlugins::preview(const fs::path& file, host::Image& image,
                             const std::function<bool()>& cancelled) {
  const auto plugin = pluginFor(file);
  if (!plugin) return false;
  CancelOnly progress(cancelled);
  return host().run(*plugin, image, {}, progress).status == plughost::ForeignResult::Status::Done;
}

}  // namespace qm::gui
