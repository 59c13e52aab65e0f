#include "core/catalogue/catalogue_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "core/catalogue/catalogue_schema.h"
#include "core/catalogue/catalogue_writer.h"
#include "core/catalogue/sqlite_statement.h"
#include "core/plugins/file_listing.h"

namespace qm::catalogue {
namespace {

namespace fs = std::filesystem;

// The columns rowFrom() reads, the folder's path last.
constexpr const char* kColumns =
    "f.name, f.size, f.modified, f.reader, f.ordinal, f.category, f.title, f.position, f.room, "
    "f.architecture, f.modes, f.enable_info, d.path FROM folders d JOIN filters f ON f.folder = "
    "d.id";

std::string folderKey(const fs::path& folder) {
  return folder.native();
}

// ?1 is folder, ?2 and ?3 bound the paths of the folders below it: they sort between
// "folder/" and "folder0" ('0' follows '/').
void bindFolderRange(Statement& s, const std::string& folder, bool recursive) {
  s.bind(1, folder);
  if (!recursive) return;
  const std::string below = folder.ends_with('/') ? folder : folder + '/';
  s.bind(2, below);
  s.bind(3, below.substr(0, below.size() - 1) + '0');
}

// Where column is folder or, when recursive, a folder below it; written as one range, so the
// paths' index gives them in order.
std::string folderCondition(const char* column, bool recursive) {
  const std::string c = column;
  if (!recursive) return c + " = ?1";
  return c + " >= ?1 AND " + c + " < ?3 AND (" + c + " = ?1 OR " + c + " >= ?2)";
}

void closeQuietly(sqlite3* db) {
  sqlite3_close_v2(db);
}

void removeStoreFiles(const fs::path& file) {
  std::error_code ec;
  for (const char* suffix : {"", "-journal", "-wal", "-shm"})
    fs::remove(fs::path(file.native() + suffix), ec);
}

// What open() finds in the file.
enum class Found { Nothing, Ours, NotOurs, Locked };

// Damaged, truncated, of another program or another format: not ours. A file another program
// holds locked past the wait is none of these, and is left alone.
Found examine(sqlite3* db) {
  auto number = [db](const char* sql) -> std::optional<std::int64_t> {
    Statement s(db, sql);
    if (!s.ok() || s.step() != SQLITE_ROW) return std::nullopt;
    return s.integer(0);
  };
  const auto id = number("PRAGMA application_id");
  if (!id) return lockedByAnother(db) ? Found::Locked : Found::NotOurs;
  if (*id == 0) {
    const auto tables = number("SELECT count(*) FROM sqlite_master");
    if (!tables) return lockedByAnother(db) ? Found::Locked : Found::NotOurs;
    if (*tables == 0) return Found::Nothing;
  }
  const auto version = number("PRAGMA user_version");
  if (!version) return lockedByAnother(db) ? Found::Locked : Found::NotOurs;
  if (*id != kApplicationId || *version != kFormatVersion) return Found::NotOurs;
  Statement check(db, "PRAGMA quick_check");
  if (!check.ok() || check.step() != SQLITE_ROW)
    return lockedByAnother(db) ? Found::Locked : Found::NotOurs;
  if (check.bytes(0) != "ok") return Found::NotOurs;
  Statement schema(db, "SELECT sql FROM sqlite_master WHERE type = 'table' ORDER BY name");
  if (!schema.ok()) return Found::NotOurs;
  for (const char* table : {kFiltersTable, kFoldersTable})
    if (schema.step() != SQLITE_ROW || schema.bytes(0) != table) return Found::NotOurs;
  return schema.step() == SQLITE_DONE ? Found::Ours : Found::NotOurs;
}

bool makeSchema(sqlite3* db) {
  // Large pages: a first scan's commit writes the file in a few dozen calls rather than a
  // thousand, and the rows are split between pages less often.
  const std::string sql = std::string("PRAGMA page_size = 65536; ") + kFoldersTable + "; " +
                          kFiltersTable +
                          "; PRAGMA application_id = " + std::to_string(kApplicationId) +
                          "; PRAGMA user_version = " + std::to_string(kFormatVersion) + ";";
  return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Each connection's owner lets one thread at a time use it, so SQLite need not lock per call.
sqlite3* openDatabase(const fs::path& file) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    closeQuietly(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 2000);
  // A cache: losing the last writes to a crash costs a re-read, and a file left damaged is
  // made anew at the next open, so nothing waits for the disk.
  sqlite3_exec(db, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
  return db;
}

plugins::CatalogueRow rowFrom(const Statement& s, const fs::path& folder) {
  plugins::CatalogueRow row;
  row.path = folder / s.bytes(0);
  row.category = s.bytes(5);
  row.title = s.bytes(6);
  row.categoryPosition = static_cast<std::int32_t>(s.integer(7));
  row.categoryRoom = static_cast<std::uint32_t>(s.integer(8));
  row.architecture = s.optionalBytes(9);
  if (!s.isNull(10)) row.modes = static_cast<std::uint32_t>(s.integer(10));
  row.enableInfo = s.optionalBytes(11);
  return row;
}

}  // namespace

fs::path defaultStoreFile() {
  fs::path base;
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/') {
    base = cache;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = fs::path(home) / ".cache";
  } else {
    base = fs::temp_directory_path();
  }
  return base / "Quillmark" / "catalogue.sqlite";
}

std::unique_ptr<CatalogueStore> CatalogueStore::open(const fs::path& file) {
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  bool rebuilt = false;
  sqlite3* db = openDatabase(file);
  const Found found = db ? examine(db) : Found::NotOurs;
  if (found == Found::Locked) {
    // This run goes without the cache rather than throw away one that is in use.
    closeQuietly(db);
    return nullptr;
  }
  if (found == Found::Nothing) {
    if (!makeSchema(db)) {
      closeQuietly(db);
      db = nullptr;
    }
  } else if (found == Found::NotOurs) {
    closeQuietly(db);
    removeStoreFiles(file);
    rebuilt = true;
    db = openDatabase(file);
    if (db && !makeSchema(db)) {
      closeQuietly(db);
      db = nullptr;
    }
  }
  if (!db) return nullptr;
  // A rollback journal: a first scan's pages are new, so each is written once and almost
  // nothing is journalled, where a write-ahead log writes every page twice. Readers (another
  // pane, quillmark-cli) wait only while a commit writes.
  sqlite3_exec(db, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr);
  sqlite3* writing = openDatabase(file);
  if (!writing) {
    closeQuietly(db);
    return nullptr;
  }
  // A first scan's rows stay in memory until the commit rather than spill to the file halfway.
  sqlite3_exec(writing, "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr);
  std::unique_ptr<CatalogueStore> store(
      new CatalogueStore(file, db, std::make_unique<CatalogueWriter>(writing)));
  store->rebuilt_ = rebuilt;
  return store;
}

CatalogueStore::CatalogueStore(fs::path file, sqlite3* db, std::unique_ptr<CatalogueWriter> writer)
    : file_(std::move(file)), db_(db), writer_(std::move(writer)) {}

CatalogueStore::~CatalogueStore() {
  if (writer_->commit() == CatalogueWriter::Outcome::Failed) broken_ = true;
  writer_.reset();
  selectFolder_.reset();
  closeQuietly(db_);
  // What failed once is not kept for the next run to trust.
  if (broken_) removeStoreFiles(file_);
}

void CatalogueStore::fail() {
  broken_ = true;
  forgetLoaded();
}

void CatalogueStore::readFailed() {
  // Another program holding the file for longer than the wait costs this answer only.
  if (lockedByAnother(db_))
    forgetLoaded();
  else
    fail();
}

void CatalogueStore::forgetLoaded() {
  haveLoaded_ = false;
  loaded_.clear();
}

CatalogueStore::FolderFiles CatalogueStore::load(const std::string& folder) {
  FolderFiles files;
  const std::string sql =
      std::string("SELECT ") + kColumns + " WHERE d.path = ?1 ORDER BY f.name, f.ordinal";
  Statement& s = prepared(selectFolder_, sql.c_str());
  if (!s.ok()) {
    readFailed();
    return files;
  }
  s.bind(1, folder);
  const fs::path folderPath(folder);
  int r;
  while ((r = s.step()) == SQLITE_ROW) {
    StoredFile& f = files[s.bytes(0)];
    const plugins::FileStamp stamp{static_cast<std::uint64_t>(s.integer(1)), s.integer(2)};
    std::string key = s.bytes(3);
    const std::int64_t ordinal = s.integer(4);
    // Two programs that stored the same file at once may have left rows that do not belong
    // together: such a file is read again.
    const bool first = f.rowsRead++ == 0;
    if (first ? ordinal > 0
              : (stamp != f.stamp || key != f.key ||
                 ordinal != static_cast<std::int64_t>(f.rowsRead) - 1))
      f.trusted = false;
    f.stamp = stamp;
    f.key = std::move(key);
    if (ordinal != kNoFilter) f.rows.push_back(rowFrom(s, folderPath));
  }
  s.reset();
  if (r != SQLITE_DONE) {
    readFailed();
    files.clear();
  }
  return files;
}

void CatalogueStore::loadFolder(const std::string& folder) {
  // A folder the cache did not know when the scan began holds nothing: no query.
  const bool known = !knownFolders_ || knownFolders_->contains(folder);
  loaded_ = known ? load(folder) : FolderFiles();
  loadedFolder_ = folder;
  haveLoaded_ = !broken_;
}

void CatalogueStore::scanBegins(const fs::path& folder, bool recursive) {
  std::lock_guard lock(mutex_);
  forgetLoaded();
  knownFolders_.reset();
  if (broken_) return;
  const std::string sql = "SELECT path FROM folders WHERE " + folderCondition("path", recursive);
  Statement s(db_, sql.c_str());
  if (!s.ok()) return readFailed();
  bindFolderRange(s, folderKey(folder), recursive);
  std::set<std::string, std::less<>> known;
  int r;
  while ((r = s.step()) == SQLITE_ROW) known.insert(s.bytes(0));
  if (r != SQLITE_DONE) return readFailed();
  knownFolders_ = std::move(known);
}

std::optional<std::vector<plugins::CatalogueRow>> CatalogueStore::rowsOf(
    const fs::path& folder, const std::string& name, const plugins::FileStamp& stamp,
    const std::string& key) {
  std::lock_guard lock(mutex_);
  if (broken_) return std::nullopt;
  if (!haveLoaded_ || loadedFolder_ != folder.native()) loadFolder(folderKey(folder));
  auto it = loaded_.find(name);
  if (it == loaded_.end() || !it->second.trusted || it->second.stamp != stamp ||
      it->second.key != key)
    return std::nullopt;
  return it->second.rows;
}

Statement& CatalogueStore::prepared(std::unique_ptr<Statement>& slot, const char* sql) {
  // One that could not be made (the file was locked) is tried again.
  if (!slot || !slot->ok()) slot = std::make_unique<Statement>(db_, sql);
  return *slot;
}

void CatalogueStore::store(const fs::path& folder, const std::string& name,
                           const plugins::FileStamp& stamp, const std::string& key,
                           const std::vector<plugins::CatalogueRow>& rows) {
  std::lock_guard lock(mutex_);
  if (broken_) return;
  // The scan asked for the file first, so the loaded folder tells whether rows are stored.
  const bool known = haveLoaded_ && loadedFolder_ == folder.native();
  writer_->store(folder.native(), name, stamp, key, rows, !known || loaded_.contains(name));
}

bool CatalogueStore::mayHold(const fs::path& folder, const std::string& name) {
  std::lock_guard lock(mutex_);
  if (broken_) return false;
  return !haveLoaded_ || loadedFolder_ != folder.native() || loaded_.contains(name);
}

void CatalogueStore::folderListed(const fs::path& folder,
                                  const std::vector<std::string_view>& names,
                                  const std::string& pattern) {
  std::lock_guard lock(mutex_);
  if (broken_) return;
  loadFolder(folderKey(folder));
  // A folder new to the cache has nothing that could be gone.
  if (broken_ || loaded_.empty()) return;
  std::vector<std::string_view> present(names.begin(), names.end());
  std::sort(present.begin(), present.end());
  for (auto it = loaded_.begin(); it != loaded_.end();) {
    if (!std::binary_search(present.begin(), present.end(), it->first) &&
        plugins::matchesPattern(it->first, pattern)) {
      writer_->forget(loadedFolder_, it->first);
      it = loaded_.erase(it);
    } else {
      ++it;
    }
  }
}

void CatalogueStore::finish() {
  std::lock_guard lock(mutex_);
  if (writer_->commit() == CatalogueWriter::Outcome::Failed) fail();
  forgetLoaded();
  knownFolders_.reset();
}

std::optional<std::vector<plugins::CatalogueRow>> CatalogueStore::rowsUnder(const fs::path& folder,
                                                                            bool recursive) {
  std::lock_guard lock(mutex_);
  if (broken_) return std::nullopt;
  const std::string sql = std::string("SELECT ") + kColumns + " WHERE " +
                          folderCondition("d.path", recursive) +
                          " ORDER BY d.path, f.name, f.ordinal";
  Statement s(db_, sql.c_str());
  if (!s.ok()) {
    readFailed();
    return std::nullopt;
  }
  bindFolderRange(s, folderKey(folder), recursive);
  std::vector<plugins::CatalogueRow> rows;
  bool any = false;
  int r;
  while ((r = s.step()) == SQLITE_ROW) {
    any = true;
    if (s.integer(4) != kNoFilter) rows.push_back(rowFrom(s, fs::path(s.bytes(12))));
  }
  if (r != SQLITE_DONE) {
    readFailed();
    return std::nullopt;
  }
  if (!any) return std::nullopt;
  return rows;
}

void CatalogueStore::clear() {
  std::lock_guard lock(mutex_);
  forgetLoaded();
  if (!broken_ && writer_->clearAll() == CatalogueWriter::Outcome::Failed) fail();
}

}  // namespace qm::catalogue
