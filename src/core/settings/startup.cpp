#include "core/settings/startup.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace fs = std::filesystem;

namespace qm::settings {
namespace {

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<std::string> designsIn(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (it->is_regular_file(ec) && name.size() > 4 && lower(name).ends_with(".des"))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    auto la = lower(a), lb = lower(b);
    return la != lb ? la < lb : a < b;
  });
  return names;
}

}  // namespace

std::string windowTitle(int major, int minor) {
  std::string minorText = std::to_string(minor);
  if (minorText.size() < 2) minorText.insert(0, "0");
  return "Quillmark " + std::to_string(major) + "." + minorText;
}

fs::path interfaceFolder(const fs::path& programDir) {
  if (designsIn(programDir / "interface").empty()) return programDir / "interfac";
  return programDir / "interface";
}

std::vector<std::string> findInterfaceDesigns(const fs::path& programDir) {
  return designsIn(interfaceFolder(programDir));
}

bool prepareWorkingTemplate(const fs::path& programDir) {
  std::error_code ec;
  for (const char* name : {"Photo30.dll", "photo30.dll"}) {
    fs::path source = programDir / name;
    if (!fs::is_regular_file(source, ec)) continue;
    // Copy beside the target first so a half-written temp.dll never replaces a good one.
    fs::path part = programDir / "temp.dll.part";
    if (!fs::copy_file(source, part, fs::copy_options::overwrite_existing, ec)) return false;
    fs::rename(part, programDir / "temp.dll", ec);
    if (ec) fs::remove(part, ec);
    return !ec;
  }
  return false;
}

std::optional<fs::path> restorableFolder(std::string_view stored) {
  if (stored.empty()) return std::nullopt;
  std::error_code ec;
  fs::path folder(stored);
  if (!fs::is_directory(folder, ec)) return std::nullopt;
  return folder;
}

std::optional<Rect> placeWindow(const Rect& stored, const Rect& screen) {
  bool onScreen = stored.x >= screen.x && stored.y >= screen.y &&
                  stored.x < screen.x + screen.width && stored.y < screen.y + screen.height;
  if (!onScreen) return std::nullopt;
  Rect placed = stored;
  placed.x = std::max(screen.x, std::min(stored.x, screen.x + screen.width - stored.width));
  placed.y = std::max(screen.y, std::min(stored.y, screen.y + screen.height - stored.height));
  return placed;
}

Rect fitWindow(const Rect& stored, bool hasPlace, const Rect& screen) {
  Rect fitted{stored.x, stored.y, std::clamp(stored.width, 1, std::max(screen.width, 1)),
              std::clamp(stored.height, 1, std::max(screen.height, 1))};
  if (hasPlace)
    if (auto placed = placeWindow(fitted, screen)) return *placed;
  fitted.x = screen.x + (screen.width - fitted.width) / 2;
  fitted.y = screen.y + (screen.height - fitted.height) / 2;
  return fitted;
}

}  // namespace qm::settings
