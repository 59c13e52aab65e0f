#pragma once
// The user-editable plugin type list (PlugTypes.ini) and the table built from it.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::plugins {

// One entry of the Preferences type list, e.g. "PS Export Plugin (8be|1)".
struct TypeEntry {
  std::string text;  // Windows-1252 bytes
  bool ticked = true;
  bool operator==(const TypeEntry&) const = default;
};

// The list as the Preferences list box holds it: always sorted (case-insensitive).
using TypeList = std::vector<TypeEntry>;

// The built-in defaults, every entry ticked, sorted. "PSP 7 Texture/Pattern (bmp|3)" stays
// twice.
TypeList defaultTypeList();
void sortTypeList(TypeList& list);

// PlugTypes.ini: two lines per entry (text, then "True"/"False"; older files hold both on one
// line). nullopt when the file cannot be read. The result is sorted. A line that is no
// "LABEL (EXT|D)" entry is left out and sets lostLines: such a list must not be written back
// over the file.
std::optional<TypeList> LoadList(const std::filesystem::path& file, bool* lostLines = nullptr);
// Writes the whole file through a temporary file; false when it could not be written.
bool SaveList(const std::filesystem::path& file, const TypeList& list);
// <programDir>/PlugTypes.ini, or the defaults when it does not exist.
TypeList loadPlugTypes(const std::filesystem::path& programDir, bool* lostLines = nullptr);

// Name source digit: 0 FileDescription, 1 InternalName, 2 ProductName, 3 the file name.
struct TypeRow {
  std::string label;
  std::string extension;
  std::string digit;
  bool empty() const { return label.empty() && extension.empty() && digit.empty(); }
};

class PlugTypeTable {
 public:
  const std::vector<TypeRow>& rows() const { return rows_; }
  // ";*?8be;*.p;*_p..." — appended to the Plugin View pattern.
  const std::string& pattern() const { return pattern_; }
  // "Not empty" means at least one row, ticked or not.
  bool empty() const { return rows_.empty(); }

  // First row (index order) whose extension ends fileName preceded by "." or "_". Names
  // are the file system's (UTF-8); case is ignored.
  std::optional<std::size_t> match(std::string_view fileName) const;
  // Same, but only a "." before the extension counts (the enabled form).
  std::optional<std::size_t> matchEnabled(std::string_view fileName) const;

  // Rebuilds from the list; an empty list leaves the table as it is.
  void GetPlugTypes(const TypeList& list);

 private:
  std::optional<std::size_t> firstMatch(std::string_view fileName, bool underscoreToo) const;

  std::vector<TypeRow> rows_;
  std::vector<std::u32string> foldedExtensions_;  // per row, to match file names
  std::string pattern_;
};

PlugTypeTable makeTypeTable(const TypeList& list);

}  // namespace qm::plugins
