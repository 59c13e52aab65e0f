#pragma once
// Texts shared by several file and folder commands, and the builders of the texts that carry
// names or counts. Paths in texts are UTF-8, as every port text.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qm::shell {

// Decision: where the program gives a refusal no title, it carries the command's name; the
// empty-selection refusal carries "Attention", as it does for Convert.
inline constexpr std::string_view kSelectFiles = "Please select one or more files.";
inline constexpr std::string_view kAttentionTitle = "Attention";
inline constexpr std::string_view kIdenticalFolders =
    "The source folder is identical to the destination folder!\r\n"
    "Please select a different folder.";

// A path as a UTF-8 text for people, and back.
std::string pathText(const std::filesystem::path& p);
std::filesystem::path pathFromText(std::string_view utf8);

// The folder without trailing separators (a root stays a root).
std::filesystem::path withoutTrailingSeparator(const std::filesystem::path& folder);

// Failures of a command that went on with the next item. The count is written with a
// leading blank, as the program writes every count; at most ten names follow, each with the
// system's reason ("PATH: REASON"; no reason, no colon).
std::string failureText(std::string_view verb, const std::vector<std::filesystem::path>& failed,
                        const std::vector<std::string>& reasons);

// The questions before something is removed for good or moved away name what they act on:
// one item by its path, several by their count followed by at most ten paths.
std::string trashQuestion(const std::vector<std::filesystem::path>& files);
std::string killQuestion(const std::vector<std::filesystem::path>& files);
std::string killFoldersQuestion(const std::vector<std::filesystem::path>& folders);

// Moving a folder into itself or one of its sub folders can only fail half-way.
inline constexpr std::string_view kMoveIntoItself =
    "A folder can't be moved into itself or into one of its sub folders.\r\n"
    "Please choose a destination outside of it.";

}  // namespace qm::shell
