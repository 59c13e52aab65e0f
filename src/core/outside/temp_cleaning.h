#pragma once
// "Gain Harddisc Space" on a temporary folder that other users and running programs share:
// only what is plainly ours and left over goes.

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace qm::outside {

enum class EntryKind { File, Link, Folder, Other };  // Other: sockets, pipes, devices

struct EntryFacts {
  EntryKind kind = EntryKind::Other;
  bool ownedByUs = false;
  bool recent = false;  // changed in the last 24 hours: taken as in use
};

// What cleaning needs to know about an entry, without following a link. nullopt when the
// entry cannot be examined (it vanished meanwhile).
using FactsOf = std::function<std::optional<EntryFacts>(const std::filesystem::path&)>;
// The real answers: lstat, the current user, and now minus 24 hours.
FactsOf diskFacts(std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

struct CleaningResult {
  int removed = 0;
  int inUse = 0;  // recent entries and deletions that failed
};

// Removes the folder's content that is ours and old: files and links (a link, never what it
// points to), and our folders that are empty once cleaned. The folder itself stays.
CleaningResult cleanTemporaryFolder(const std::filesystem::path& folder, const FactsOf& facts);

// Free bytes of the filesystem holding path; nullopt when it cannot be asked.
std::optional<unsigned long long> freeBytes(const std::filesystem::path& path);

// The gain in megabytes, with a leading blank, and " MB gained by cleaning the Temporary
// folder."
std::string spaceGainedText(unsigned long long freeBefore, unsigned long long freeAfter);

}  // namespace qm::outside
