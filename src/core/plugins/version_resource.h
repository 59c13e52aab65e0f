#pragma once
// Version strings found by a raw scan of a file for UTF-16LE keys (no PE parsing).

#include <filesystem>
#include <string>

#include "core/common/byte_view.h"

namespace qm::plugins {

enum class VersionKey { FileDescription = 0, InternalName = 1, ProductName = 2 };

// Every occurrence's value, run together in file order (Windows-1252 low bytes); "" when
// nothing is found or the file cannot be read.
std::string ReadVersionRessource(const std::filesystem::path& file, VersionKey key);
std::string ReadVersionRessourceBytes(ByteView bytes, VersionKey key);

}  // namespace qm::plugins
