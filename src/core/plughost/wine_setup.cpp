#include "core/plughost/wine_setup.h"

#include <cstdlib>
#include <fstream>
#include <string_view>
#include <system_error>

namespace qm::plughost {

namespace fs = std::filesystem;

std::vector<fs::path> wineSearchFolders() {
  if (const char* only = std::getenv("QUILLMARK_WINE_DIR")) return {fs::path(only)};
  std::vector<fs::path> folders;
  if (const char* path = std::getenv("PATH")) {
    std::string_view rest = path;
    while (!rest.empty()) {
      const auto colon = rest.find(':');
      if (colon != 0) folders.emplace_back(rest.substr(0, colon));
      if (colon == std::string_view::npos) break;
      rest.remove_prefix(colon + 1);
    }
  }
  folders.emplace_back("/usr/lib/wine");
  folders.emplace_back("/usr/lib/x86_64-linux-gnu/wine");
  return folders;
}

namespace {

fs::path firstIn(const fs::path& folder, std::initializer_list<const char*> names) {
  std::error_code ec;
  for (const char* name : names)
    if (fs::is_regular_file(folder / name, ec)) return folder / name;
  return {};
}

}  // namespace

std::optional<WineTools> findWine(const std::vector<fs::path>& folders) {
  for (const fs::path& folder : folders) {
    WineTools tools;
    tools.wine64 = firstIn(folder, {"wine64"});
    if (tools.wine64.empty()) continue;
    tools.wineserver = firstIn(folder, {"wineserver64", "wineserver"});
    if (tools.wineserver.empty()) continue;
    // The 32-bit loader of a Debian install is "wine" beside wine64; a "wine" elsewhere on
    // PATH may be a script that picks one of the two, so only this folder counts.
    tools.wine32 = firstIn(folder, {"wine32", "wine"});
    return tools;
  }
  return std::nullopt;
}

std::optional<HostPrograms> findHostPrograms(const fs::path& shippedData,
                                             const fs::path& programDir) {
  std::error_code ec;
  for (const fs::path& base : {shippedData, programDir}) {
    HostPrograms hosts{base / "plughost" / "qm-plughost.exe",
                       base / "plughost" / "qm-plughost32.exe"};
    if (fs::is_regular_file(hosts.host64, ec)) return hosts;
  }
  return std::nullopt;
}

fs::path winePrefix(const fs::path& programDir) {
  return programDir / "wine";
}

namespace {
constexpr const char* kReadyMark = "quillmark-prefix-ready";
}

bool prefixReady(const fs::path& prefix) {
  std::error_code ec;
  return fs::is_regular_file(prefix / kReadyMark, ec);
}

bool markPrefixReady(const fs::path& prefix) {
  std::ofstream mark(prefix / kReadyMark);
  return static_cast<bool>(mark << "wineboot done\n");
}

std::string windowsPath(const fs::path& file) {
  std::string text = "Z:" + fs::absolute(file).lexically_normal().string();
  for (char& c : text)
    if (c == '/') c = '\\';
  return text;
}

}  // namespace qm::plughost
