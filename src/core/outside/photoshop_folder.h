#pragma once
// Where "Photoshop Plug-Ins Folder" goes: the stored folder, else the plug-ins folder of an
// installation inside a Wine prefix.

#include <filesystem>
#include <optional>
#include <string>

namespace qm::outside {

// stored when not empty; else the first existing Plug-ins / Plug-Ins folder under
// <prefix>/drive_c/Program Files*/Adobe/*/, where prefix is wineprefix or home/.wine.
std::optional<std::filesystem::path> photoshopPluginsFolder(const std::string& stored,
                                                            const std::string& wineprefix,
                                                            const std::filesystem::path& home);

}  // namespace qm::outside
