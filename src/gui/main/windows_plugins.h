#pragma once
// The desktop program's side of Windows plugins that are not Filter Factory filters: one
// plugin host driver for the whole run (its Wine server stays warm until the program ends),
// used by the Plugin About Dialog, Execute Plugin and the opted-in previews.

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "core/common/ports.h"
#include "core/host/image.h"
#include "core/plughost/foreign_host.h"
#include "core/plughost/runs_where.h"
#include "platform/posix_host_process.h"

namespace qm::gui {

class WindowsPlugins {
 public:
  explicit WindowsPlugins(std::filesystem::path programDir);
  ~WindowsPlugins();

  // Filter number of file (a Windows filter plugin that is not a Filter Factory filter), with
  // what runs it; nullopt for any other file. title picks one of several filters (the Plugin
  // View's row), empty for the first.
  std::optional<plughost::ForeignPlugin> pluginFor(const std::filesystem::path& file,
                                                   const std::string& title = {});
  // The plugin's own about box; a message through prompter when it cannot be shown.
  void about(const plughost::ForeignPlugin& plugin, Prompter& prompter, Progress& progress);
  plughost::ForeignResult run(const plughost::ForeignPlugin& plugin, host::Image& image,
                              bool dialog, Progress& progress);
  // For the preview worker: filters a preview thumbnail with the plugin's default parameters;
  // false when it did not (any reason). Safe on any thread.
  bool preview(const std::filesystem::path& file, host::Image& image,
               const std::function<bool()>& cancelled);
  // For the workers of a batch: the plugin with its default parameters. Safe on any thread.
  plughost::ForeignResult runQuietly(const plughost::ForeignPlugin& plugin, host::Image& image,
                                     const std::function<bool()>& cancelled);
  // Why the plugin cannot run here ("Windows plugins need Wine to run ..."); nullopt when it can.
  std::optional<std::string> unavailable(const plughost::ForeignPlugin& plugin);
  // Set while About or Execute Plugin runs on the window thread: one at a time.
  bool& running() { return running_; }

 private:
  plughost::ForeignHost& host();
  std::filesystem::path programDir_;
  platform::PosixProcessLauncher launcher_;
  std::optional<plughost::WineTools> wine_;
  std::unique_ptr<plughost::ForeignHost> host_;
  std::mutex making_;
  bool running_ = false;
};

}  // namespace qm::gui
