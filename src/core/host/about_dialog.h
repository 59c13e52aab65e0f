#pragma once
// "Plugin About Dialog": shows the about box of the plugin selected in the active pane; a
// plugin that is not a Filter Factory plugin gets the plugin-load message.

#include <filesystem>

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

void cmd_AboutDialog(const AboutRequest& request, PluginHost& host, Prompter& prompter);

}  // namespace qm::host
