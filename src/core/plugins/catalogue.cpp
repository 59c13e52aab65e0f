#include "core/plugins/catalogue.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <unordered_set>
#include <utility>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/plugins/file_bytes.h"
#include "core/plugins/file_listing.h"
#include "core/plugins/photoshop_modes.h"
#include "core/plugins/scan_cache.h"
#include "core/plugins/scan_file.h"
#include "core/plugins/text_util.h"

namespace qm::plugins {
namespace {

constexpr std::string_view kBasePattern =
    "*.8bf;*._bf;*_8bf;*?prm;*.pr-;*_prm;*?aex;*._ex;*_aex;*.bin";
constexpr std::string_view kSourcePattern = ";*.ffx;*.txt;*.afs;*.pff";
constexpr std::size_t kMaxPattern = 256;

// Enabled endings besides ".8bf" that get the "+ " prefix outside the Photoshop modes.
constexpr std::array<std::string_view, 20> kEnabledEndings = {
    ".prm", ".aex", ".bin", ".vft", ".vfx", ".aft", ".tub", ".aip", ".atn", ".8be",
    ".8bi", ".8ba", ".8bx", ".8li", ".8by", ".8bp", ".8bc", ".8bs", ".mll", ".tsx"};
constexpr std::array<std::string_view, 4> kSourceEndings = {".txt", ".afs", ".pff", ".ffx"};

template <std::size_t N>
bool oneOf(std::string_view value, const std::array<std::string_view, N>& list) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

struct FoundFile {
  std::filesystem::path path;
  std::string name;        // as listed: the file system's own bytes
  std::size_t folder = 0;  // index into the visited folders
};

// Every file the scan visits: a folder's files first, then its sub folders, depth first.
void collectFiles(const std::filesystem::path& folder, std::string_view pattern, bool recursive,
                  std::vector<std::filesystem::path>& folders, std::vector<FoundFile>& files,
                  Progress& progress) {
  const std::size_t index = folders.size();
  folders.push_back(folder);
  for (auto& name : listFiles(folder, pattern)) {
    std::filesystem::path path = folder / name;
    files.push_back({std::move(path), std::move(name), index});
  }
  if (!recursive) return;
  for (const auto& sub : listSubFolders(folder)) {
    if (progress.cancelled()) return;
    collectFiles(folder / sub, pattern, true, folders, files, progress);
  }
}

std::string sizeSuffix(const std::filesystem::path& file) {
  std::error_code ec;
  auto size = std::filesystem::file_size(file, ec);
  if (ec) size = 0;
  return " (" + std::to_string(size / 1024) + " K)";
}

std::string withSeparator(std::string text) {
  if (text.empty() || text.back() != std::filesystem::path::preferred_separator)
    text.push_back(std::filesystem::path::preferred_separator);
  return text;
}

}  // namespace

std::string pluginViewPattern(const PlugTypeTable& table, bool includeSources) {
  std::string pattern = std::string(kBasePattern) + table.pattern();
  if (includeSources) pattern += kSourcePattern;
  return pattern.size() > kMaxPattern ? "*.*" : cp1252ToUtf8(pattern);
}

void Catalogue::clear() {
  rows_.clear();
  categories_.clear();
  listed_.clear();
  upToDate_ = false;
}

bool Catalogue::upToDate(const std::filesystem::path& folder) const {
  return upToDate_ && folder == folder_;
}

void Catalogue::addCategory(const std::string& category) {
  // Thousands of rows share a few hundred categories: the set answers "listed?" at once.
  if (!listed_.insert(category).second) return;
  auto at = std::upper_bound(
      categories_.begin(), categories_.end(), category,
      [](const std::string& a, const std::string& b) { return cp1252SortsBefore(a, b); });
  categories_.insert(at, category);
}

std::string scanStoppedText(const ScanResult& result) {
  return "Scan stopped: " + std::to_string(result.filesRead) + " of " +
         std::to_string(result.filesFound) + (result.filesFound == 1 ? " file" : " files");
}

void Catalogue::appendRow(CatalogueRow row) {
  addCategory(row.category);
  rows_.push_back(std::move(row));
}

ScanResult Catalogue::scan(const std::filesystem::path& folder, const ScanOptions& options,
                           const PlugTypeTable& table, const ff::FFOptions& ffOptions,
                           Progress& progress) {
  return scan(folder, options, table, ffOptions, progress, nullptr);
}

ScanResult Catalogue::scan(const std::filesystem::path& folder, const ScanOptions& options,
                           const PlugTypeTable& table, const ff::FFOptions& ffOptions,
                           Progress& progress, ScanCache* cache) {
  clear();
  folder_ = folder;
  upToDate_ = true;
  ScanResult result;
  std::vector<std::filesystem::path> folders;
  std::vector<FoundFile> files;
  const std::string pattern = pluginViewPattern(table, options.includeSources);
  collectFiles(folder, pattern, options.recursive, folders, files, progress);
  if (cache) cache->scanBegins(folder, options.recursive);
  // Views of the files' names: files stays as it is until the scan ends.
  std::vector<std::vector<std::string_view>> names(cache ? folders.size() : 0);
  if (cache)
    for (const auto& f : files) names[f.folder].push_back(f.name);
  const std::string plainKey = cache ? readerKey(table, false, options.includeSources) : "";
  const std::string sourceKey = cache ? readerKey(table, true, options.includeSources) : "";
  // A folder's files come one after another, so only one folder is held open at a time.
  std::optional<OpenFolder> openFolder;
  std::size_t openIndex = SIZE_MAX;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (progress.cancelled()) {
      result.status = ScanStatus::Cancelled;
      break;
    }
    const FoundFile& file = files[i];
    if (file.folder != openIndex) {
      openFolder = OpenFolder::open(folders[file.folder]);
      openIndex = file.folder;
      if (cache) cache->folderListed(folders[file.folder], names[file.folder], pattern);
    }
    const OpenFolder* opened = openFolder ? &*openFolder : nullptr;
    progress.status(displayText(file.name));
    std::optional<FileStamp> stamp;
    const std::string& key = isSourceFileName(file.name) ? sourceKey : plainKey;
    if (cache && !options.filterFactoryOnly && !cache->mayHold(folders[file.folder], file.name)) {
      // Nothing stored: read at once, stamped as the file was opened. Without an open folder
      // sources are read by their path, so theirs is taken first: a change while reading
      // must not be missed.
      if (!opened && isSourceFileName(file.name)) stamp = stampOf(opened, file.path, file.name);
      auto rows = scanFile(file.path, opened, file.name, options, table, ffOptions, &stamp);
      if (!stamp) stamp = stampOf(opened, file.path, file.name);
      if (stamp) cache->store(folders[file.folder], file.name, *stamp, key, rows);
      for (auto& row : rows) appendRow(std::move(row));
    } else if (cache && (stamp = stampOf(opened, file.path, file.name))) {
      // The stamp's size answers the Shift scan's question without a second look.
      if (options.filterFactoryOnly && !isFilterFactoryFile(file.name, stamp->size)) continue;
      auto rows = cache->rowsOf(folders[file.folder], file.name, *stamp, key);
      if (!rows) {
        rows = scanFile(file.path, opened, file.name, options, table, ffOptions);
        cache->store(folders[file.folder], file.name, *stamp, key, *rows);
      }
      for (auto& row : *rows) appendRow(std::move(row));
    } else {
      for (auto& row : scanFile(file.path, opened, file.name, options, table, ffOptions))
        appendRow(std::move(row));
    }
    progress.percent(static_cast<int>((i + 1) * 100 / files.size()));
    result.filesRead = i + 1;
  }
  if (cache) {
    // Folders left with no file the pattern takes forget the ones they had.
    if (result.status == ScanStatus::Completed)
      for (std::size_t i = 0; i < folders.size(); ++i)
        if (names[i].empty()) cache->folderListed(folders[i], {}, pattern);
    cache->finish();
  }
  result.filesFound = files.size();
  if (result.status == ScanStatus::Completed) progress.percent(100);
  result.lastRow = rows_.size();
  if (rows_.empty() || result.status == ScanStatus::Cancelled) upToDate_ = false;
  return result;
}

std::vector<FilterEntry> Catalogue::filterEntries(std::span<const std::string> selected,
                                                  bool photoshopMode,
                                                  const PlugTypeTable& table) const {
  std::vector<FilterEntry> entries;
  std::vector<std::string> collected;
  bool otherSelected = false;
  for (const auto& c : selected) {
    if (photoshopMode && c == "Other") {
      otherSelected = true;
    } else {
      collected.push_back(c);
    }
  }
  if (photoshopMode) {
    for (const auto& c : collected)
      for (auto f : builtInFilters(c)) entries.push_back({std::string(f), 0});
    if (otherSelected)
      for (auto f : builtInFilters("Other")) entries.push_back({std::string(f), 0});
  }
  // Categories are listed once, so a row matches at most one of them: row order it is.
  const std::unordered_set<std::string_view> wanted(collected.begin(), collected.end());
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const CatalogueRow& row = rows_[r];
    if (!wanted.contains(row.category)) continue;
    const std::string name = row.path.filename().native();
    const std::string ext4 = lastLower(name, 4);
    std::string text;
    if (ext4 == ".8bf") {
      text = "+ " + row.title;
    } else if (oneOf(ext4, kEnabledEndings)) {
      if (!photoshopMode) text = "+ " + row.title;
    } else if (oneOf(ext4, kSourceEndings)) {
      if (!photoshopMode) text = row.title;
    } else if (table.matchEnabled(name)) {
      text = "+ " + row.title;
    } else if (!photoshopMode) {
      text = "- " + row.title;
    }
    if (!text.empty()) entries.push_back({std::move(text), r + 1});
  }
  if (photoshopMode && otherSelected) {
    for (std::size_t r = 0; r < rows_.size(); ++r) {
      const CatalogueRow& row = rows_[r];
      bool listedElsewhere =
          std::any_of(categories_.begin(), categories_.end(),
                      [&](const std::string& c) { return c != "Other" && c == row.category; });
      if (!listedElsewhere && endsWithLower(row.path.filename().native(), ".8bf"))
        entries.push_back({"+ " + row.title, r + 1});
    }
  }
  std::vector<std::string_view> texts;
  texts.reserve(entries.size());
  for (const auto& e : entries) texts.push_back(e.text);
  std::vector<FilterEntry> sorted;
  sorted.reserve(entries.size());
  for (std::size_t i : textOrder(texts)) sorted.push_back(std::move(entries[i]));
  return sorted;
}

std::string Catalogue::categoryClickStatus() const {
  return withSeparator(displayPath(folder_));
}

std::optional<FilterStatus> Catalogue::filterClickStatus(std::size_t row,
                                                         bool oldModeTicked) const {
  if (row == 0) {
    if (!oldModeTicked) return std::nullopt;
    return FilterStatus{std::string(kBuiltIntoPhotoshop), std::string(kBuiltIntoPhotoshop)};
  }
  if (row > rows_.size()) return std::nullopt;
  const auto& path = rows_[row - 1].path;
  const std::string size = sizeSuffix(path);
  FilterStatus status;
  status.full = displayPath(path) + size;
  status.shortForm =
      " .." + std::string(1, std::filesystem::path::preferred_separator) + displayName(path) + size;
  return status;
}

bool Catalogue::photoshopModeNeedsRefresh(bool oldModeTicked) const {
  if (!oldModeTicked) return false;
  for (const auto& c : categories_) {
    if (c == "Other" || c == "-------------") continue;
    bool has8bf = std::any_of(rows_.begin(), rows_.end(), [&](const CatalogueRow& r) {
      return r.category == c && endsWithLower(r.path.filename().native(), ".8bf");
    });
    if (!has8bf) return true;
  }
  return false;
}

void Catalogue::setCategory(std::size_t row, std::string category) {
  if (row == 0 || row > rows_.size()) return;
  std::string old = std::exchange(rows_[row - 1].category, std::move(category));
  // A category whose last filter moved out leaves the list.
  if (std::none_of(rows_.begin(), rows_.end(), [&old](const auto& r) { return r.category == old; }))
    std::erase(categories_, old);
}

void Catalogue::replacePath(const std::filesystem::path& oldPath,
                            const std::filesystem::path& newPath) {
  for (auto& r : rows_)
    if (r.path == oldPath) r.path = newPath;
}

}  // namespace qm::plugins
