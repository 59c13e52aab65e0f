#include "core/host/plugin_invoke.h"

namespace qm::host {

std::string pluginLoadFailedText() {
  // The first line is the program's own; the rest names what stands in for the Windows
  // system folder here.
  return "An error occured while loading the plugin!\n"
         "\n"
         "The plugin may be invalid, or it may need Windows libraries\n"
         "that this system does not have: Windows plugins other than\n"
         "Filter Factory filters run only through Wine.";
}

bool PluginInvoke(HostSession& session, const std::filesystem::path& hostFolder,
                  const std::string& pluginFile, PictureTarget* target, bool drawResult,
                  std::uintptr_t owner, const PluginDialog& dialog) {
  if (owner == 0) owner = session.mainWindow;
  if (session.workImage == 0) return false;
  const auto info = session.images.info(session.workImage);
  if (!info) return false;
  const Rect whole{0, 0, info->width - 1, info->height - 1};

  bool ran = false;
  if (!session.host.load(hostFolder)) {
    session.prompter.error("The plugin host cannot be started in " + hostFolder.string() + ".",
                           kMessageTitle);
  } else if (!session.host.loadPlugin(pluginFile)) {
    session.prompter.error(pluginLoadFailedText(), kMessageTitle);
  } else if (owner != kNoOwner && dialog && !dialog(*session.host.loadedPlugin())) {
    // Cancelled in the dialog: the picture stays as it was.
  } else if (session.host.invoke(session.workImage, whole)) {
    if (drawResult && target) {
      if (const Image* img = session.images.image(session.workImage))
        target->draw(*img, whole, whole);
    }
    ran = true;
  }
  session.host.unload();
  return ran;
}

}  // namespace qm::host
