#pragma once
// Why a file cannot be read at all, in the system's words.

#include <filesystem>
#include <optional>
#include <string>

namespace qm {

// nullopt for a regular file (or a link to one); else the system's reason ("No such file or
// directory", "Is a directory", ...).
std::optional<std::string> unreadableReason(const std::filesystem::path& file);

}  // namespace qm
