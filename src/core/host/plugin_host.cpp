#include "core/host/plugin_host.h"

#include <system_error>

#include "core/common/cp1252.h"
#include "core/host/filter_loader.h"

namespace qm::host {

namespace fs = std::filesystem;

bool PluginHost::load(const fs::path& folder) {
  std::error_code ec;
  if (!folder.empty() && !fs::is_directory(folder, ec)) return false;
  folder_ = folder;
  plugin_.reset();
  enabled_ = true;
  return true;
}

bool PluginHost::loadPlugin(const fs::path& file) {
  if (!enabled_) return false;
  const fs::path path = file.is_absolute() || folder_.empty() ? file : folder_ / file;
  plugin_ = loadPluginFilter(path);
  return plugin_.has_value();
}

bool PluginHost::invoke(ImageHandle handle, const Rect& rect) {
  Image* img = images_.image(handle);
  if (!enabled_ || !plugin_ || !img) return false;
  FilterRun run;
  run.sliders = plugin_->sliderValues;
  run.pool = pool_;
  run.cancelled = cancelled_;
  lastRun_ = runFilter(plugin_->formulas, *img, rect, run);
  return lastRun_.outcome == RunOutcome::Done;
}

bool PluginHost::about(const fs::path& file, Prompter& prompter) {
  if (!enabled_) return false;
  const auto rec = loadPluginFilter(file);
  if (!rec) return false;
  std::string text = rec->title + "\n";
  const std::pair<const char*, const std::string*> lines[] = {
      {"Category: ", &rec->category}, {"Author: ", &rec->author}, {"Copyright: ", &rec->copyright}};
  for (const auto& [label, value] : lines)
    if (!value->empty()) text += "\n" + std::string(label) + *value;
  prompter.inform(cp1252ToUtf8(text), cp1252ToUtf8(rec->title));
  return true;
}

bool PluginHost::unload() {
  enabled_ = false;
  plugin_.reset();
  folder_.clear();
  return true;
}

}  // namespace qm::host
