#pragma once
// Running a plugin on the work image (PluginInvoke): load the host, load the plugin, invoke
// it on the whole picture, optionally draw the result, and always unload the host.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "core/common/ports.h"
#include "core/host/image_library.h"
#include "core/host/plugin_host.h"

namespace qm::host {

// Where a result is painted (a picture control in the desktop program).
class PictureTarget {
 public:
  virtual ~PictureTarget() = default;
  virtual void draw(const Image& image, const Rect& destination, const Rect& source) = 0;
};

// What a run needs from the program: the libraries, the message port and the work image.
struct HostSession {
  ImageLibrary& images;
  PluginHost& host;
  Prompter& prompter;
  ImageHandle workImage = 0;
  std::uintptr_t mainWindow = 0;
};

// The host's own dialog for the loaded filter, as the plugin itself would show it: it may
// change the record's slider values and formulas; false means Cancel (nothing runs). A
// caller whose plugin has "No Dialog" set, the editor preview and the conversion pass none.
using PluginDialog = std::function<bool(ff::FFRecord& filter)>;
// The owner that asks for no dialog at all.
inline constexpr std::uintptr_t kNoOwner = UINTPTR_MAX;

// The plugin-load message, its lines joined with the platform's line end.
std::string pluginLoadFailedText();
// The title of the host's message boxes; the original used its own program title.
inline constexpr std::string_view kMessageTitle = "Quillmark";

// True when the plugin ran on the work image. owner 0 means the main window; with any owner
// but kNoOwner a given dialog is shown first.
bool PluginInvoke(HostSession& session, const std::filesystem::path& hostFolder,
                  const std::string& pluginFile, PictureTarget* target, bool drawResult,
                  std::uintptr_t owner, const PluginDialog& dialog = {});

}  // namespace qm::host
