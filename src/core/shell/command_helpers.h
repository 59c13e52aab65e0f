#pragma once
// Steps several file and folder commands share.

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "core/shell/file_commands.h"

namespace qm::shell {

// The selection without repeats (a multi-filter plugin has several Plugin View rows), in order.
std::vector<std::filesystem::path> uniqueFiles(const std::vector<std::filesystem::path>& files);

// The passive pane's folder with "Suppress the Select Folder dialog", else the Select Folder
// dialog's choice; nullopt when the user cancelled.
std::optional<std::filesystem::path> chooseDestination(ShellPorts& ports,
                                                       const ShellRequest& request,
                                                       const FolderRequest& folderRequest);

// True when path is folder or lies inside it.
bool isWithin(const std::filesystem::path& path, const std::filesystem::path& folder);

// A name a person typed, usable as one entry of a folder: not empty, no separators.
bool isPlainName(std::string_view name);

// One message naming every failed item with the system's reason, when there is one.
void reportFailures(ShellPorts& ports, std::string_view verb, std::string_view title,
                    const CommandOutcome& outcome);
void addFailure(CommandOutcome& outcome, const std::filesystem::path& path, std::string reason);

// A pane showing `moved` or a folder inside it now shows `replacement` (with the same
// relative part when `keepRelative`).
void followMovedFolder(PaneEffects& effects, const PaneInfo& pane,
                       const std::filesystem::path& moved, const std::filesystem::path& replacement,
                       bool keepRelative);

}  // namespace qm::shell
