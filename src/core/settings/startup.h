#pragma once
// The start-up sequence's texts and decisions that do not need a window.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::settings {

inline constexpr std::string_view kSplashCheckingEditor = "Checking for FF Editor ...";
inline constexpr std::string_view kSplashLoadingSettings = "Loading Registry Settings ...";
inline constexpr std::string_view kSplashAdjusting = "Adjusting Main Window ...";
inline constexpr std::string_view kSplashFinished = "Finished ...";
inline constexpr std::string_view kSplashLoadingEditor = "Loading FF Editor ...";
inline constexpr std::string_view kNoInterfaceFiles = "Can't find FF Editor interface files.";
inline constexpr std::string_view kEditorUnusable = "The FF Editor won't be usable.";
inline constexpr std::string_view kFirstStartQuestion =
    "To start please select the folder where your plugins are located. Otherwise press Cancel.";

// "Quillmark 1.00": the major version, ".", the minor version with two digits.
std::string windowTitle(int major, int minor);

// The folder of the editor's interface designs: "interface" when it holds a .des file, else
// the short-named "interfac".
std::filesystem::path interfaceFolder(const std::filesystem::path& programDir);
// The .des files of interfaceFolder(programDir), sorted.
std::vector<std::string> findInterfaceDesigns(const std::filesystem::path& programDir);

// Copies the template plugin to temp.dll when it exists; false when there is none or the
// copy failed (the editor then has no working template).
bool prepareWorkingTemplate(const std::filesystem::path& programDir);

// A stored pane folder is used only when it still exists.
std::optional<std::filesystem::path> restorableFolder(std::string_view stored);

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

// A stored position is taken when its top-left corner lies on the screen; a window that would
// then reach past the right or bottom edge is pulled back so that it fits where it can.
std::optional<Rect> placeWindow(const Rect& stored, const Rect& screen);

// The window as it opens: never larger than the screen, placed where it was when that place is
// on the screen (pulled in to fit), else centred.
Rect fitWindow(const Rect& stored, bool hasPlace, const Rect& screen);

}  // namespace qm::settings
