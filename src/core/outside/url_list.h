#pragma once
// The named web addresses of the FX Download window and their list files: one entry a line,
// the name before the first ';' and the address after it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::outside {

struct UrlEntry {
  std::string name;
  std::string url;
  bool operator==(const UrlEntry&) const = default;
};

enum class UrlListKind { Plugins = 1, Tubes = 2 };

// "FilterURLs.txt" or "TubeURLs.txt"; "Plugins" or "PSP Tubes".
std::string_view urlListFileName(UrlListKind kind);
std::string_view urlListTitle(UrlListKind kind);

inline constexpr std::size_t kLongestUrlLine = 8 * 1024;
inline constexpr std::uint64_t kLargestUrlList = 4 * 1024 * 1024;

// Lines end in CR LF, LF or CR; a last line without an end is an entry too, and a file that
// ends with a line end has no empty entry after it. A line over kLongestUrlLine is left out
// and its number (1-based) added to longLines when given.
std::vector<UrlEntry> parseUrlList(std::string_view text,
                                   std::vector<std::size_t>* longLines = nullptr);

struct UrlListRead {
  std::vector<UrlEntry> entries;
  // Why entries are missing ("FILE: ..."), when some are: such a list is never saved.
  std::optional<std::string> problem;
};
// The list file; a missing file is an empty list. A file over kLargestUrlList is not read.
UrlListRead readUrlList(const std::filesystem::path& file);

// The name of an entry, as typed: nullopt when the list can hold it, else why not.
std::optional<std::string> urlNameRefusal(std::string_view name);
// The same for an address: a line break would end the entry.
std::optional<std::string> urlRefusal(std::string_view url);
// Every entry as name;url and CR LF; an entry with neither is an empty line.
std::string formatUrlList(const std::vector<UrlEntry>& entries);

std::string saveQuestion(UrlListKind kind);
std::string shareText(UrlListKind kind, std::string_view programDir);

inline constexpr std::string_view kMoveHint = "Use the Alt + Cursor keys to move the entries!";
inline constexpr std::string_view kAddNameTitle = "Add item name";
inline constexpr std::string_view kAddNamePrompt = "Please enter the name of the new item:";
inline constexpr std::string_view kAddUrlTitle = "Add item URL";
inline constexpr std::string_view kAddUrlPrompt = "Please enter the URL of the new entry:";
inline constexpr std::string_view kEditTitle = "Edit item";
inline constexpr std::string_view kEditPrompt = "Please enter a new name.";
inline constexpr std::string_view kNotSaved =
    "The list was not read completely, so it is not saved; edit the file itself.";

}  // namespace qm::outside
