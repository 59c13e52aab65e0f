#pragma once
// Upkeep of the Preferences lists (folders, pictures, applications): what Add, Remove, the
// arrow buttons and the " %1" buttons do to the items, and how a used folder enters the list.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm::preferences {

using ItemList = std::vector<std::string>;

inline constexpr std::string_view kLimitReached = "Limit of entries was reached.";
inline constexpr std::string_view kPercentOne = " %1";
inline constexpr int kDefaultFolderLimit = 20;

// The limit in force: a zero or negative "Limit to" means the default.
int effectiveLimit(int limit);
// True when the folder list holds as many entries as the limit allows: Add is refused then.
bool atLimit(const ItemList& folders, int limit);

// A folder as the folder list keeps it: with a trailing separator.
std::string withTrailingSeparator(std::string folder);

// Appends item unless an item with exactly that text exists; false when it was there.
bool addUnique(ItemList& list, const std::string& item);

// Removes the items at the given positions (any order, duplicates and stale positions
// ignored).
void removeItems(ItemList& list, const std::vector<std::size_t>& positions);

// Moves the item at index one row up (step -1) or down (+1); returns its new index. An item
// at the edge stays where it is.
std::size_t moveItem(ItemList& list, std::size_t index, int step);

// A program path as the first word of an application entry: quoted when the entry's splitting
// would otherwise cut it or change it (blanks, quotes, backslashes, $ and `).
std::string programWord(const std::string& path);

// " %1" and "Remove %1" on the selected application items; an item never gets it twice.
void appendPercentOne(ItemList& list, const std::vector<std::size_t>& positions);
void stripPercentOne(ItemList& list, const std::vector<std::size_t>& positions);

struct FolderUseRules {
  bool autoAdd = false;  // "Auto Add" of the folder list
  bool autoTop = false;  // "Auto Top"
  int limit = kDefaultFolderLimit;
};

// A folder the user went to. Auto Top moves a listed folder to the top; Auto Add adds an
// unlisted one, at the top with Auto Top, else at the end. At the limit an Auto Top list
// drops its last entry (the one used longest ago) to make room; without Auto Top nothing is
// added, since no entry is known to be stale. Returns true when the list changed.
bool noteFolderUse(ItemList& folders, const std::string& folder, const FolderUseRules& rules);

}  // namespace qm::preferences
