#include "core/preferences/list_editing.h"

#include <algorithm>

namespace qm::preferences {

int effectiveLimit(int limit) {
  return limit > 0 ? limit : kDefaultFolderLimit;
}

bool atLimit(const ItemList& folders, int limit) {
  return folders.size() >= static_cast<std::size_t>(effectiveLimit(limit));
}

std::string withTrailingSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder.push_back('/');
  return folder;
}

bool addUnique(ItemList& list, const std::string& item) {
  if (std::find(list.begin(), list.end(), item) != list.end()) return false;
  list.push_back(item);
  return true;
}

void removeItems(ItemList& list, const std::vector<std::size_t>& positions) {
  std::vector<std::size_t> sorted = positions;
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  for (auto it = sorted.rbegin(); it != sorted.rend(); ++it)
    if (*it < list.size()) list.erase(list.begin() + static_cast<std::ptrdiff_t>(*it));
}

std::size_t moveItem(ItemList& list, std::size_t index, int step) {
  if (index >= list.size()) return index;
  if (step < 0 && index == 0) return index;
  if (step > 0 && index + 1 >= list.size()) return index;
  std::size_t target = step < 0 ? index - 1 : index + 1;
  std::swap(list[index], list[target]);
  return target;
}

void appendPercentOne(ItemList& list, const std::vector<std::size_t>& positions) {
  for (std::size_t p : positions)
    if (p < list.size() && !list[p].ends_with(kPercentOne)) list[p] += kPercentOne;
}

void stripPercentOne(ItemList& list, const std::vector<std::size_t>& positions) {
  for (std::size_t p : positions)
    if (p < list.size() && list[p].ends_with(kPercentOne))
      list[p].resize(list[p].size() - kPercentOne.size());
}

bool noteFolderUse(ItemList& folders, const std::string& folder, const FolderUseRules& rules) {
  const std::string entry = withTrailingSeparator(folder);
  auto found = std::find(folders.begin(), folders.end(), entry);
  if (found != folders.end()) {
    if (!rules.autoTop || found == folders.begin()) return false;
    std::rotate(folders.begin(), found, found + 1);
    return true;
  }
  if (!rules.autoAdd) return false;
  if (atLimit(folders, rules.limit)) {
    if (!rules.autoTop) return false;
    folders.resize(static_cast<std::size_t>(effectiveLimit(rules.limit)) - 1);
  }
  if (rules.autoTop)
    folders.insert(folders.begin(), entry);
  else
    folders.push_back(entry);
  return true;
}

std::string programWord(const std::string& path) {
  if (!path.empty() && path.find_first_of(" \t'\"\\$`") == std::string::npos) return path;
  // Inside single quotes everything is literal but the quote itself, which closes, is
  // escaped and opens again.
  std::string word = "'";
  for (char c : path) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

}  // namespace qm::preferences
