#pragma once
// Names read from file contents (an FFL entry's file name, a "filename:" line) become paths
// only through here, so no input can make the program write outside the chosen folder.

#include <filesystem>
#include <string>
#include <string_view>

namespace qm {

// The part after the last "/" or "\", without NUL bytes; an empty name, "." or ".." gets
// "_" in front. Works on Windows-1252 and UTF-8 bytes alike (the separators are ASCII).
std::string plainFileName(std::string_view name);

// folder / plainFileName(name), the name converted from Windows-1252 for the file system.
std::filesystem::path pathInFolder(const std::filesystem::path& folder, std::string_view name);

}  // namespace qm
