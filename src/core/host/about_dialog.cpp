#include "core/host/about_dialog.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "core/host/plugin_invoke.h"

namespace qm::host {

const char* noExtensionWarningText() {
  return "Photoshop-compatible plugins without a file extension can cause a crash\n"
         "when you try to execute them. To avoid this risk please use the En/Disable \n"
         "command to add a .8bf or ._bf extension to the plugin file.\n"
         "\n"
         "Do you want to execute this plugin anyway?";
}

void cmd_AboutDialog(const AboutRequest& request, PluginHost& host, Prompter& prompter,
                     const ForeignAbout& foreignAbout) {
  if (request.fflView) return;
  if (request.selection.empty()) {
    prompter.warn(kSelectPluginText, kMessageTitle);
    return;
  }
  std::string name = request.selection.filename().string();
  std::string ending = name.substr(name.size() < 4 ? 0 : name.size() - 4);
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ending == "_8bf") {
    if (prompter.ask(noExtensionWarningText(), "Warning", Buttons::YesNo, Icon::Exclamation) !=
        Button::Yes)
      return;
  } else if (ending != ".8bf" && ending != "._bf") {
    prompter.warn(kSelectPhotoshopPluginText, kMessageTitle);
    return;
  }
  if (host.isEnabled() && !host.unload()) return;
  if (!host.load({})) return;
  // A Filter Factory plugin's about box comes from its fields; any other plugin shows its own
  // through the Windows plugin host, and what neither takes fails to load as for a run.
  if (!host.about(request.selection, prompter) &&
      !(foreignAbout && foreignAbout(request.selection)))
    prompter.error(pluginLoadFailedText(), kMessageTitle);
  host.unload();
}

}  // namespace qm::host
