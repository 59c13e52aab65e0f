#pragma once
// The program folder: templates, PlugTypes.ini, lists, cache and temp.dll. Read-only files
// ship in the data dir; the writable copy lives in the user's data dir and is seeded from it.

#include <filesystem>
#include <optional>
#include <string>

namespace qm::platform {

// The shipped, read-only data folder (the build tree's data/ when run from there).
std::filesystem::path shippedDataDir();

// An explicit folder (--program-dir) wins, then QUILLMARK_PROGRAM_DIR, then the per-user
// folder, which gets every shipped file it lacks.
std::filesystem::path resolveProgramDir(const std::optional<std::string>& explicitDir);

// The sample collection a first start shows: the program folder's own when it has one (an
// explicit --program-dir or QUILLMARK_PROGRAM_DIR), else the shipped one.
std::filesystem::path sampleCollection(const std::filesystem::path& programDir);

// Copies every file of `from` that `to` lacks (recursively, but not the sample collection).
// Existing files are kept: they may hold the user's edits. Only a template of an older build,
// which held no code, is replaced by a shipped one that holds our plugin runtime.
void seedMissingFiles(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace qm::platform
