#pragma once
// Where Wine and our host programs are, the Wine prefix of our own, and how a Linux path reads
// inside it.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qm::plughost {

struct WineTools {
  std::filesystem::path wine64;      // the 64-bit loader
  std::filesystem::path wineserver;  // the server the loaders share
  std::filesystem::path wine32;      // the 32-bit loader; empty when not installed
};

// The folders searched for Wine: QUILLMARK_WINE_DIR alone when set (tests point it at an empty
// folder), else PATH and the folders Debian's packages install the loaders in.
std::vector<std::filesystem::path> wineSearchFolders();
// The first folder holding wine64 (or a wine that is the 64-bit loader) decides; nullopt when
// no folder has it.
std::optional<WineTools> findWine(const std::vector<std::filesystem::path>& folders);

struct HostPrograms {
  std::filesystem::path host64;  // plughost/qm-plughost.exe
  std::filesystem::path host32;  // plughost/qm-plughost32.exe
};
// In the shipped data folder, else in the program folder.
std::optional<HostPrograms> findHostPrograms(const std::filesystem::path& shippedData,
                                             const std::filesystem::path& programDir);

// Our own prefix, never the user's ~/.wine.
std::filesystem::path winePrefix(const std::filesystem::path& programDir);
// A prefix is set up once wineboot finished in it (the server writes the registry files only
// later, so our own mark tells).
bool prefixReady(const std::filesystem::path& prefix);
bool markPrefixReady(const std::filesystem::path& prefix);

// "/home/a/b.8bf" -> "Z:\home\a\b.8bf": the prefix maps the root folder to drive Z.
std::string windowsPath(const std::filesystem::path& file);

}  // namespace qm::plughost
