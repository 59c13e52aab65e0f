#pragma once
// "Plugin About Dialog": shows the about box of the plugin selected in the active pane; a
// plugin that is neither a Filter Factory plugin nor a Windows plugin our host runs gets the
// plugin-load message.

#include <filesystem>
#include <functional>

#include "core/common/ports.h"
#include "core/host/plugin_host.h"

namespace qm::host {

struct AboutRequest {
  bool fflView = false;             // the active pane shows a library: nothing to do
  std::filesystem::path selection;  // empty: nothing selected
};

inline constexpr const char* kSelectPluginText = "Please select a plugin or other supported file.";
inline constexpr const char* kSelectPhotoshopPluginText =
    "Please select a Photoshop-compatible plugin to execute this function.";
// The question for a plugin whose extension was removed ("_8bf"), title "Warning".
const char* noExtensionWarningText();

// Shows the about box of a Windows plugin that is not a Filter Factory plugin (our plugin host
// under Wine), or says why it cannot; false when the file is no such plugin.
using ForeignAbout = std::function<bool(const std::filesystem::path& plugin)>;

void cmd_AboutDialog(const AboutRequest& request, PluginHost& host, Prompter& prompter,
                     const ForeignAbout& foreignAbout = {});

}  // namespace qm::host
