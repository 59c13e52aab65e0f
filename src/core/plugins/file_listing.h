#pragma once
// The File View listing: which files a pattern shows, and each item's texts and icon.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qm::plugins {

// Icon indices of the pane's image list.
enum IconIndex : int {
  kIconOther = 3,
  kIcon8bf = 4,
  kIconPrm = 5,
  kIconAex = 6,
  kIconFfl = 7,
  kIconZip = 8,
  kIconPaintResource = 9,
  kIconFolder = 10,
  kIconPicture = 11,
};

int iconIndex(std::string_view fileName);

// "#,###,###": thousands separated by `separator`; "" for 0.
std::string sizeText(std::uintmax_t size, char separator = ',');
// The date part of a time stamp text: up to and including its first blank.
std::string datePart(std::string_view timestampText);
// "YYYY-MM-DD hh:mm:ss" in local time.
std::string timestampText(std::filesystem::file_time_type time);

// A file list pattern such as "*.8bf;*._bf;*?prm": ";"-separated, "*" and "?" (one
// character) wildcards, case-insensitive; "*.*" shows every file. Both are UTF-8.
bool matchesPattern(std::string_view fileName, std::string_view pattern);

// Names of the folder's files that match pattern, in the lists' order (textSortsBefore).
// Names are the file system's own bytes (UTF-8 here, possibly invalid): they open the file.
std::vector<std::string> listFiles(const std::filesystem::path& folder, std::string_view pattern);
std::vector<std::string> listSubFolders(const std::filesystem::path& folder);

struct ListingItem {
  std::string name;  // file or folder name as on disk; " .." for the parent entry
  std::string sizeText;
  std::string dateText;
  int icon = kIconOther;
  bool isFolder = false;
  bool isParent = false;
};

// FillDirList: with showFolders (the pane's folder box hidden) the parent entry " .." and the
// sub folders come first, their size and date a single blank.
std::vector<ListingItem> FillDirList(const std::filesystem::path& folder, std::string_view pattern,
                                     bool showFolders);

}  // namespace qm::plugins
