#pragma once
// Load options and Save options in full: the store's keys plus the two list files of the
// program folder, FolderList.log and PlugTypes.ini.

#include <filesystem>

#include "core/settings/options.h"
#include "core/settings/store.h"

namespace qm::preferences {

inline constexpr std::string_view kPlugTypesFile = "PlugTypes.ini";

// Every option from the store (missing keys keep `initial`), the folder list from
// FolderList.log and the type list from PlugTypes.ini (the defaults when it is missing).
settings::Options loadPreferences(const settings::Store& store,
                                  const std::filesystem::path& programDir,
                                  const settings::Options& initial = {});

// OK: the store's keys, then both list files. False when a list file could not be written
// (the store is written all the same).
bool savePreferences(settings::Store& store, const std::filesystem::path& programDir,
                     const settings::Options& options);

// The list files alone, as written once more when the program ends.
bool saveListFiles(const std::filesystem::path& programDir, const settings::Options& options);

}  // namespace qm::preferences
