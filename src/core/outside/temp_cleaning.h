#pragma once
// "Gain Harddisc Space" on a temporary folder that other users and running programs share:
// only what is plainly ours and left over goes.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace qm::outside {

enum class EntryKind { File, Link, Folder, Other };  // Other: sockets, pipes, devices

struct EntryFacts {
  EntryKind kind = EntryKind::Other;
  bool ownedByUs = false;
  bool recent = false;     // changed in the last 24 hours: taken as in use
  std::uint64_t size = 0;  // bytes of a file
};

// What cleaning needs to know about an entry, without following a link. nullopt when the
// entry cannot be examined (it vanished meanwhile).
using FactsOf = std::function<std::optional<EntryFacts>(const std::filesystem::path&)>;
// The real answers: lstat, the current user, and now minus 24 hours.
FactsOf diskFacts(std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

struct CleaningResult {
  int removed = 0;
  int recent = 0;                // ours, but changed in the last 24 hours: kept
  int failed = 0;                // deletions the system refused
  std::string reason;            // the system's reason for the first refusal
  unsigned long long bytes = 0;  // size of the files removed
};

// Removes the folder's content that is ours and old: files and links (a link, never what it
// points to), and our folders that are empty once cleaned. The folder itself stays.
CleaningResult cleanTemporaryFolder(const std::filesystem::path& folder, const FactsOf& facts);

// Free bytes of the filesystem holding path; nullopt when it cannot be asked.
std::optional<unsigned long long> freeBytes(const std::filesystem::path& path);

// The bytes removed in megabytes, with a leading blank, and " MB gained by cleaning the
// Temporary folder."; then what was kept and why.
std::string cleaningText(const CleaningResult& result);

}  // namespace qm::outside
