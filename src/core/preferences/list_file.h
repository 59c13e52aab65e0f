#pragma once
// List files of the program folder that hold one item per line, such as FolderList.log.

#include <filesystem>
#include <optional>

#include "core/preferences/list_editing.h"

namespace qm::preferences {

inline constexpr std::string_view kFolderListFile = "FolderList.log";

// One item per line; CR LF, CR or LF end a line, empty lines are skipped. A folder name may
// hold a comma, so unlike PlugTypes.ini nothing else splits an item. nullopt when the file
// cannot be read.
std::optional<ItemList> readListFile(const std::filesystem::path& file);
// Writes every item with CR LF, through a temporary file so a failed write keeps the old file.
bool writeListFile(const std::filesystem::path& file, const ItemList& items);

// <programDir>/FolderList.log; a missing file is an empty list.
ItemList loadFolderList(const std::filesystem::path& programDir);
bool saveFolderList(const std::filesystem::path& programDir, const ItemList& folders);

}  // namespace qm::preferences
