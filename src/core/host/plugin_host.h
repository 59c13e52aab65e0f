#pragma once
// Our plugin host. A plugin it can run is a Filter Factory plugin: loading reads its filter
// with the Filter Factory readers, invoking evaluates the formulas over the picture. Other
// plugins cannot run on this platform and fail to load.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "core/common/ports.h"
#include "core/ff/record.h"
#include "core/host/image_library.h"
#include "core/host/run_filter.h"

namespace qm::host {

class PluginHost {
 public:
  PluginHost(ImageLibrary& images, formula::ThreadPool* pool) : images_(images), pool_(pool) {}

  bool isEnabled() const { return enabled_; }
  // The folder plugins are looked up in (empty: names are used as given). False when the
  // folder does not exist.
  bool load(const std::filesystem::path& folder);
  // False when no host is loaded or the file is not a Filter Factory plugin.
  bool loadPlugin(const std::filesystem::path& file);
  // Runs the loaded plugin with its stored slider values over rect of the picture.
  bool invoke(ImageHandle image, const Rect& rect);
  // Asked between rows of a run; true stops it and leaves the picture as it was.
  void setCancel(std::function<bool()> cancelled) { cancelled_ = std::move(cancelled); }
  bool unload();
  // Shows a Filter Factory plugin's about box (title, then category, author and copyright,
  // each named) through prompter.
  // False for any other file.
  bool about(const std::filesystem::path& file, Prompter& prompter);

  const std::optional<ff::FFRecord>& plugin() const { return plugin_; }
  // The loaded plugin's filter, which a dialog may change before invoke; null when none.
  ff::FFRecord* loadedPlugin() { return plugin_ ? &*plugin_ : nullptr; }
  // The last invoke's report (a formula error explains a failed run).
  const RunReport& lastRun() const { return lastRun_; }

 private:
  ImageLibrary& images_;
  formula::ThreadPool* pool_;
  bool enabled_ = false;
  std::filesystem::path folder_;
  std::optional<ff::FFRecord> plugin_;
  RunReport lastRun_;
  std::function<bool()> cancelled_;
};

}  // namespace qm::host
