#pragma once
// The rules of the Select Folder dialog that do not need a window: which folders its list
// offers, how the typed folder text is cleaned, and the creation question. Folder texts are
// UTF-8 and end in the native separator, as the list shows them.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qm::shell {

std::string withTrailingSeparator(std::string_view folderText);

std::string folderText(const std::filesystem::path& folder);

// Preset first (when set), then the passive pane's folder, the active pane's folder unless it
// is the passive one, then the Preferences folder list in its order.
std::vector<std::string> selectFolderEntries(const std::filesystem::path& preset,
                                             const std::filesystem::path& passiveFolder,
                                             const std::filesystem::path& activeFolder,
                                             const std::vector<std::filesystem::path>& preferences);

// OK's clean-up: a separator is added when missing, then blanks are trimmed.
std::string cleanFolderText(std::string_view typed);

std::string createFolderQuestion(std::string_view folderText);

}  // namespace qm::shell
