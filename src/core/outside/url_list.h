#pragma once
// The named web addresses of the FX Download window and their list files: one entry a line,
// the name before the first ';' and the address after it.

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

// Lines end in CR LF or LF; a last line without an end is an entry too, and a file that ends
// with a line end has no empty entry after it.
std::vector<UrlEntry> parseUrlList(std::string_view text);
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

}  // namespace qm::outside
