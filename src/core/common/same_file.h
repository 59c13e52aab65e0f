#pragma once
// Whether a write would land on one of the command's own inputs. Files are compared by device
// and inode, so "./x", "../d/x", hard links and symbolic links all count as the same file.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace qm {

// The reason given for such a target, after "PATH: " (or in a JSON "reason").
inline constexpr std::string_view kOwnInputReason = "would replace its own input";

// True when both name one existing file; false when either is missing.
bool isSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// True when target is the same file as any of inputs.
bool replacesOwnInput(const std::filesystem::path& target,
                      std::span<const std::filesystem::path> inputs);

// "PATH: would replace its own input".
std::string ownInputMessage(const std::filesystem::path& target);

// The file a chain of symbolic links ends at (relative links count from their own folder);
// path itself when it is no link. A write replaces this file, so the links stay links.
std::filesystem::path fileBehindLinks(const std::filesystem::path& path);

}  // namespace qm
