#pragma once
// Whole-file reads and all-or-nothing writes for the plugin readers and writer.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/outcome.h"

namespace qm::ff {

// The file's bytes; nullopt when it cannot be read.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& file);

// The file's bytes when it holds at most limit bytes (more is not read); otherwise the
// system's reason ("No such file or directory", ...) or tooLargeText.
Outcome<std::vector<std::uint8_t>, std::string> readFileBytes(const std::filesystem::path& file,
                                                              std::uint64_t limit,
                                                              std::string_view tooLargeText);

// Writes bytes to a temporary file in the target's folder and renames it over the target, so
// the target is either the old file or the complete new one. An existing read-only target is
// never replaced. A symbolic link is written through: the file it names is replaced (the
// temporary file goes beside that file) and the link stays a link. Returns the system's reason
// for a failure ("Permission denied", "No space left on device"), empty on success; the
// caller names the file.
std::string replaceFile(const std::filesystem::path& target,
                        const std::vector<std::uint8_t>& bytes);

// The record's fileName for a path: its last part as Windows-1252 bytes.
std::string recordFileName(const std::filesystem::path& file);

}  // namespace qm::ff
