#pragma once
// Files that hold the same filter: the same category and title in more than one file.

#include <filesystem>
#include <string>
#include <vector>

#include "core/plugins/catalogue.h"

namespace qm::catalogue {

struct DuplicateGroup {
  std::string category;                      // Windows-1252, as in the rows
  std::string title;                         // UTF-8
  std::vector<std::filesystem::path> paths;  // in row order, each once
  // Every file of the group has the same bytes.
  bool identical = false;
};

// Groups of at least two files, in the order the lists sort category and title. Categories
// made by the program ("[Unknown]" and the like) say nothing about a filter and are left out.
std::vector<DuplicateGroup> findDuplicates(const std::vector<plugins::CatalogueRow>& rows);

// True when both files can be read and hold the same bytes.
bool sameBytes(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace qm::catalogue
