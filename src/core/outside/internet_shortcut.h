#pragma once
// The two ways the Help menu keeps the home page at hand: a shortcut file on the desktop and
// a line in the file chooser's bookmarks.

#include <filesystem>
#include <string>
#include <string_view>

namespace qm::outside {

// Two lines: "[InternetShortcut]" and "URL=" followed by the address.
std::string internetShortcutText(std::string_view address);
// folder / (title + ".url"), replacing an older one; the folder is made when missing. The
// system's reason when it cannot be written, else empty.
std::string writeInternetShortcut(const std::filesystem::path& folder, std::string_view title,
                                  std::string_view address);

enum class BookmarkResult { Added, AlreadyThere, Failed };
// Appends "address title" to the bookmarks file (made with its folder when missing) unless a
// line already names the address.
BookmarkResult addBookmark(const std::filesystem::path& bookmarksFile, std::string_view address,
                           std::string_view title);

}  // namespace qm::outside
