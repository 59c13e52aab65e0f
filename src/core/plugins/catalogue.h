#pragma once
// The Plugin View catalogue of one pane: rows (one per filter), the category list, the
// filter list contents and the status texts. Each pane owns one Catalogue; nothing here is
// shared between panes.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/common/ports.h"
#include "core/ff/options.h"
#include "core/plugins/type_table.h"

namespace qm::plugins {

struct CatalogueRow {
  std::filesystem::path path;  // absolute
  // Read from the file, so Windows-1252 bytes; may be a "[virtual]" category.
  std::string category;
  // UTF-8 for showing: a title read from the file is converted once when the row is made,
  // one made from the file name keeps the name's characters.
  std::string title;
  // 1-based position of the first category character; 0 for Filter Factory plugins and
  // sources (and whatever cannot be rewritten in place); -1 for table types.
  std::int32_t categoryPosition = 0;
  std::uint32_t categoryRoom = 0;  // kept in full, not cut to 8 bits
  // Where the filter runs: "x86", "x64", "both" (the PiPL names entry points for both),
  // "arm64", or another PE machine; nullopt when the file is no PE image.
  std::optional<std::string> architecture;
  // The image modes a host offers the filter in (ModeSet bits); nullopt when its file says
  // nothing about modes.
  std::optional<std::uint32_t> modes = std::nullopt;
  // The PiPL's enable-info expression, Windows-1252 bytes as stored.
  std::optional<std::string> enableInfo = std::nullopt;
};

struct ScanOptions {
  bool recursive = false;          // "search sub folders" (ScanSubDirs)
  bool includeSources = false;     // "include txt, afs and pff files"
  bool filterFactoryOnly = false;  // Shift held when switching to the Plugin View
};

enum class ScanStatus { Completed, Cancelled };

struct ScanResult {
  ScanStatus status = ScanStatus::Completed;
  std::size_t lastRow = 0;  // 0 = nothing found (show kNoPluginsFound)
  std::size_t filesRead = 0, filesFound = 0;
};

// What the pane says after Escape stopped a scan: "Scan stopped: N of M files".
std::string scanStoppedText(const ScanResult& result);

inline constexpr std::string_view kNoPluginsFound =
    "No plugins or other supported files were found in the current\r\n"
    "folder. Please select another folder and try again.";
inline constexpr std::string_view kBuiltIntoPhotoshop =
    ">>> This filter is built into Photoshop.exe";

// The file pattern of the Plugin View, UTF-8 ("*.*" when it would exceed 256 characters).
std::string pluginViewPattern(const PlugTypeTable& table, bool includeSources);

// One entry of the filter list: the shown text and the row it stands for (0 = a filter
// built into Photoshop).
struct FilterEntry {
  std::string text;  // UTF-8, with its "+ " / "- " prefix
  std::size_t row = 0;
  bool operator==(const FilterEntry&) const = default;
};

// The two texts the filter click may show; the view shows `full` when it fits its label,
// else `shortForm`.
struct FilterStatus {
  std::string full;       // UTF-8: path + " (N K)"
  std::string shortForm;  // UTF-8: " ..\" + file name + " (N K)" (native separator)
};

class ScanCache;

class Catalogue {
 public:
  // Scans folder (and its sub folders when asked) and replaces every row. Status texts
  // (the file name) and percents go to progress; cancelled() stops the scan at once, the
  // rows found so far stay.
  ScanResult scan(const std::filesystem::path& folder, const ScanOptions& options,
                  const PlugTypeTable& table, const ff::FFOptions& ffOptions, Progress& progress);
  // The same, taking the rows of unchanged files from cache and keeping what it read there.
  ScanResult scan(const std::filesystem::path& folder, const ScanOptions& options,
                  const PlugTypeTable& table, const ff::FFOptions& ffOptions, Progress& progress,
                  ScanCache* cache);
  void clear();

  const std::filesystem::path& folder() const { return folder_; }
  // The up-to-date flag of the pane: set by a scan, cleared by markStale() (file operations),
  // by a scan that found nothing or by one that was stopped (its rows are not the folder's).
  bool upToDate(const std::filesystem::path& folder) const;
  void markStale() { upToDate_ = false; }

  // Rows are numbered from 1, as the filter list's item data.
  std::size_t rowCount() const { return rows_.size(); }
  const CatalogueRow& row(std::size_t number) const { return rows_.at(number - 1); }
  const std::vector<CatalogueRow>& rows() const { return rows_; }

  // Each category once (exact comparison), in the lists' order.
  const std::vector<std::string>& categories() const { return categories_; }
  // Adds a category not yet listed (a new one from Change Category); keeps the order.
  void addCategory(const std::string& category);

  // The filter list for the selected categories, sorted as the list box sorts.
  // photoshopMode: either Photoshop-mode box of the pane is ticked.
  std::vector<FilterEntry> filterEntries(std::span<const std::string> selectedCategories,
                                         bool photoshopMode, const PlugTypeTable& table) const;

  // Status label after a category click: the folder with a trailing separator (UTF-8).
  std::string categoryClickStatus() const;
  // Status label after a filter click; row 0 (a built-in filter) gives kBuiltIntoPhotoshop
  // when the old-mode box is ticked, nothing otherwise.
  std::optional<FilterStatus> filterClickStatus(std::size_t row, bool oldModeTicked) const;

  // CheckPhotoshopMode's decision: true when the old-mode box is ticked and some category
  // other than "Other" and "-------------" has no ".8bf" row any more; the view then clears
  // and re-ticks the box.
  bool photoshopModeNeedsRefresh(bool oldModeTicked) const;

  // Updates after Change Category (a category left without rows goes) and Enable/Disable.
  void setCategory(std::size_t row, std::string category);
  void replacePath(const std::filesystem::path& oldPath, const std::filesystem::path& newPath);

  // Used by the scan; public so tests and tools can build catalogues directly.
  void appendRow(CatalogueRow row);

 private:
  std::filesystem::path folder_;
  bool upToDate_ = false;
  std::vector<CatalogueRow> rows_;
  std::vector<std::string> categories_;
  std::unordered_set<std::string> listed_;  // categories_, for lookups
};

}  // namespace qm::plugins
