#include "core/catalogue/catalogue_store.h"

#include <sqlite3.h>

#include <cstdlib>
#include <set>
#include <system_error>

#include "core/catalogue/sqlite_statement.h"
#include "core/plugins/file_listing.h"
#include "core/plugins/text_util.h"

namespace qm::catalogue {
namespace {

namespace fs = std::filesystem;

// "QMCT": tells our file from any other SQLite file in the folder.
constexpr int kApplicationId = 0x514D4354;
constexpr int kFormatVersion = 1;

// Files that gave no row are stored as one row of this ordinal, so they are not read again.
constexpr int kNoFilter = -1;

// Files handed to the writer thread at a time.
constexpr std::size_t kWriterBatch = 64;

constexpr const char* kSchema =
    "CREATE TABLE filters (folder BLOB NOT NULL, name BLOB NOT NULL, size INTEGER NOT NULL, "
    "modified INTEGER NOT NULL, reader TEXT NOT NULL, ordinal INTEGER NOT NULL, type TEXT, "
    "category BLOB, title TEXT, position INTEGER, room INTEGER, architecture TEXT, "
    "modes INTEGER, enable_info BLOB, PRIMARY KEY (folder, name, ordinal)) WITHOUT ROWID";

constexpr const char* kColumns =
    "name, size, modified, reader, ordinal, category, title, position, room, architecture, "
    "modes, enable_info, folder";

std::string folderKey(const fs::path& folder) {
  return folder.native();
}

// The kind of file a row came from, as the lists name plugin types.
std::string typeOf(std::string_view name, const plugins::CatalogueRow& row) {
  const std::string ext4 = plugins::lastLower(name, 4);
  if (ext4 == ".txt" || ext4 == ".afs" || ext4 == ".pff" || ext4 == ".ffx")
    return "Filter Factory Source";
  if (row.categoryPosition == -1) return "Plugin Type Table";
  const std::string ext3 = plugins::lastLower(name, 3);
  if (ext3 == "aex" || ext3 == "_ex") return "After Effects Plugin";
  if (ext3 == "prm" || ext3 == "_rm") return "Premiere Plugin";
  if (ext3 == "bin") return "Macintosh Filter Factory Plugin";
  return "Photoshop Filter Plugin";
}

void closeQuietly(sqlite3* db) {
  sqlite3_close_v2(db);
}

void removeStoreFiles(const fs::path& file) {
  std::error_code ec;
  for (const char* suffix : {"", "-journal", "-wal", "-shm"})
    fs::remove(fs::path(file.native() + suffix), ec);
}

int pragmaNumber(sqlite3* db, const char* sql) {
  Statement s(db, sql);
  if (!s.ok() || s.step() != SQLITE_ROW) return -1;
  return static_cast<int>(s.integer(0));
}

// Ours, whole and of this format.
bool trustworthy(sqlite3* db) {
  if (pragmaNumber(db, "PRAGMA application_id") != kApplicationId) return false;
  if (pragmaNumber(db, "PRAGMA user_version") != kFormatVersion) return false;
  {
    Statement check(db, "PRAGMA quick_check");
    if (!check.ok() || check.step() != SQLITE_ROW || check.bytes(0) != "ok") return false;
  }
  Statement schema(db, "SELECT sql FROM sqlite_master WHERE type = 'table'");
  if (!schema.ok()) return false;
  int tables = 0;
  for (int r; (r = schema.step()) == SQLITE_ROW; ++tables)
    if (schema.bytes(0) != kSchema) return false;
  return tables == 1;
}

bool isEmptyDatabase(sqlite3* db) {
  return pragmaNumber(db, "PRAGMA application_id") == 0 &&
         pragmaNumber(db, "SELECT count(*) FROM sqlite_master") == 0;
}

bool makeSchema(sqlite3* db) {
  const std::string sql = std::string(kSchema) +
                          "; PRAGMA application_id = " + std::to_string(kApplicationId) +
                          "; PRAGMA user_version = " + std::to_string(kFormatVersion) + ";";
  return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

sqlite3* openDatabase(const fs::path& file) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
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
  if (db && isEmptyDatabase(db)) {
    if (!makeSchema(db)) {
      closeQuietly(db);
      db = nullptr;
    }
  } else if (!db || !trustworthy(db)) {
    // Damaged, truncated, of another program or another format: made anew.
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
  // Readers (another pane, quillmark-cli) go on while a scan writes.
  sqlite3_exec(db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
  std::unique_ptr<CatalogueStore> store(new CatalogueStore(file, db));
  store->rebuilt_ = rebuilt;
  return store;
}

CatalogueStore::CatalogueStore(fs::path file, sqlite3* db) : file_(std::move(file)), db_(db) {}

CatalogueStore::~CatalogueStore() {
  finish();
  writer_.request_stop();
  if (writer_.joinable()) writer_.join();
  insert_.reset();
  forget_.reset();
  selectFolder_.reset();
  closeQuietly(db_);
  // What failed once is not kept for the next run to trust.
  if (broken_) removeStoreFiles(file_);
}

bool CatalogueStore::execute(const char* sql) {
  if (broken_) return false;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK) return true;
  fail();
  return false;
}

void CatalogueStore::fail() {
  if (writing_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  writing_ = false;
  broken_ = true;
  haveLoaded_ = false;
  loaded_.clear();
}

void CatalogueStore::beginWrites() {
  if (writing_ || broken_) return;
  writing_ = execute("BEGIN IMMEDIATE");
}

CatalogueStore::FolderFiles CatalogueStore::load(const std::string& folder) {
  FolderFiles files;
  const std::string sql =
      std::string("SELECT ") + kColumns + " FROM filters WHERE folder = ?1 ORDER BY name, ordinal";
  Statement& s = prepared(selectFolder_, sql.c_str());
  if (!s.ok()) {
    fail();
    return files;
  }
  s.bind(1, folder);
  const fs::path folderPath(folder);
  int r;
  while ((r = s.step()) == SQLITE_ROW) {
    StoredFile& f = files[s.bytes(0)];
    f.stamp = {static_cast<std::uint64_t>(s.integer(1)), s.integer(2)};
    f.key = s.bytes(3);
    if (s.integer(4) != kNoFilter) f.rows.push_back(rowFrom(s, folderPath));
  }
  s.reset();
  if (r != SQLITE_DONE) {
    fail();
    files.clear();
  }
  return files;
}

std::optional<std::vector<plugins::CatalogueRow>> CatalogueStore::rowsOf(
    const fs::path& folder, const std::string& name, const plugins::FileStamp& stamp,
    const std::string& key) {
  std::unique_lock lock(mutex_);
  if (broken_) return std::nullopt;
  const std::string folderText = folderKey(folder);
  if (!haveLoaded_ || loadedFolder_ != folderText) {
    loaded_ = load(folderText);
    loadedFolder_ = folderText;
    haveLoaded_ = !broken_;
  }
  auto it = loaded_.find(name);
  if (it == loaded_.end() || it->second.stamp != stamp || it->second.key != key)
    return std::nullopt;
  return it->second.rows;
}

Statement& CatalogueStore::prepared(std::unique_ptr<Statement>& slot, const char* sql) {
  if (!slot) slot = std::make_unique<Statement>(db_, sql);
  return *slot;
}

bool CatalogueStore::forget(const std::string& folder, const std::string& name) {
  Statement& s = prepared(forget_, "DELETE FROM filters WHERE folder = ?1 AND name = ?2");
  if (!s.ok()) return false;
  s.bind(1, folder);
  s.bind(2, name);
  const bool done = s.step() == SQLITE_DONE;
  s.reset();
  return done;
}

void CatalogueStore::store(const fs::path& folder, const std::string& name,
                           const plugins::FileStamp& stamp, const std::string& key,
                           const std::vector<plugins::CatalogueRow>& rows) {
  std::lock_guard lock(mutex_);
  if (broken_) return;
  PendingFile file{folderKey(folder), name, stamp, key, rows};
  // The scan asked for the file first, so the loaded folder tells whether rows are stored.
  const bool known = haveLoaded_ && loadedFolder_ == file.folder;
  file.forgetFirst = !known || loaded_.contains(name);
  pending_.push_back(std::move(file));
  if (!writer_.joinable())
    writer_ = std::jthread([this](std::stop_token stop) { writeLoop(std::move(stop)); });
  // Waking the writer for every file costs more than the insert.
  if (pending_.size() >= kWriterBatch) wake_.notify_one();
}

void CatalogueStore::writeLoop(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  while (wake_.wait(lock, stop, [this] { return !pending_.empty(); })) {
    std::deque<PendingFile> batch;
    batch.swap(pending_);
    writerBusy_ = true;
    bool ok = !broken_;
    // Meanwhile the scan may read other folders' rows on the same (serialized) connection;
    // every other statement waits for the writer (waitForWriter).
    lock.unlock();
    for (const PendingFile& file : batch)
      if (ok) ok = write(file);
    lock.lock();
    writerBusy_ = false;
    if (!ok && !broken_) fail();
    idle_.notify_all();
  }
}

void CatalogueStore::waitForWriter(std::unique_lock<std::mutex>& lock) {
  if (!pending_.empty()) wake_.notify_one();
  idle_.wait(lock, [this] { return pending_.empty() && !writerBusy_; });
}

bool CatalogueStore::write(const PendingFile& file) {
  if (!writing_) {
    if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) return false;
    writing_ = true;
  }
  if (file.forgetFirst && !forget(file.folder, file.name)) return false;
  Statement& s =
      prepared(insert_,
               "INSERT INTO filters (folder, name, size, modified, reader, ordinal, type, "
               "category, title, position, room, architecture, modes, enable_info) "
               "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
  if (!s.ok()) return false;
  auto insert = [&](int ordinal, const plugins::CatalogueRow* row) {
    s.bind(1, file.folder);
    s.bind(2, file.name);
    s.bind(3, static_cast<std::int64_t>(file.stamp.size));
    s.bind(4, file.stamp.modified);
    s.bindText(5, file.key);
    s.bind(6, std::int64_t{ordinal});
    if (row) {
      s.bindText(7, typeOf(file.name, *row));
      s.bind(8, row->category);
      s.bindText(9, row->title);
      s.bind(10, std::int64_t{row->categoryPosition});
      s.bind(11, std::int64_t{row->categoryRoom});
      if (row->architecture) s.bindText(12, *row->architecture);
      if (row->modes) s.bind(13, std::int64_t{*row->modes});
      if (row->enableInfo) s.bind(14, *row->enableInfo);
    }
    const bool done = s.step() == SQLITE_DONE;
    s.reset();
    return done;
  };
  if (file.rows.empty()) return insert(kNoFilter, nullptr);
  for (std::size_t i = 0; i < file.rows.size(); ++i)
    if (!insert(static_cast<int>(i), &file.rows[i])) return false;
  return true;
}

bool CatalogueStore::mayHold(const fs::path& folder, const std::string& name) {
  std::lock_guard lock(mutex_);
  if (broken_) return false;
  return !haveLoaded_ || loadedFolder_ != folderKey(folder) || loaded_.contains(name);
}

void CatalogueStore::folderListed(const fs::path& folder, const std::vector<std::string>& names,
                                  const std::string& pattern) {
  std::unique_lock lock(mutex_);
  if (broken_) return;
  // One query serves both this and the folder's files the scan asks for next.
  const std::string folderText = folderKey(folder);
  loaded_ = load(folderText);
  loadedFolder_ = folderText;
  haveLoaded_ = !broken_;
  if (broken_) return;
  const std::set<std::string_view> present(names.begin(), names.end());
  std::vector<std::string> gone;
  for (const auto& [name, file] : loaded_)
    if (!present.contains(name) && plugins::matchesPattern(name, pattern)) gone.push_back(name);
  if (gone.empty()) return;
  waitForWriter(lock);
  beginWrites();
  for (const auto& name : gone) {
    if (broken_) return;
    if (!forget(folderText, name)) return fail();
    loaded_.erase(name);
  }
}

void CatalogueStore::finish() {
  std::unique_lock lock(mutex_);
  waitForWriter(lock);
  if (writing_ && sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
    writing_ = true;
    fail();
  }
  writing_ = false;
  haveLoaded_ = false;
  loaded_.clear();
}

std::optional<std::vector<plugins::CatalogueRow>> CatalogueStore::rowsUnder(const fs::path& folder,
                                                                            bool recursive) {
  std::unique_lock lock(mutex_);
  waitForWriter(lock);
  if (broken_) return std::nullopt;
  const std::string folderText = folderKey(folder);
  // Folders below sort between "folder/" and "folder0" ('0' follows '/').
  std::string sql = std::string("SELECT ") + kColumns + " FROM filters WHERE folder = ?1";
  if (recursive) sql += " OR (folder >= ?2 AND folder < ?3)";
  sql += " ORDER BY folder, name, ordinal";
  Statement s(db_, sql.c_str());
  if (!s.ok()) {
    fail();
    return std::nullopt;
  }
  s.bind(1, folderText);
  const std::string below = folderText.ends_with('/') ? folderText : folderText + '/';
  if (recursive) {
    s.bind(2, below);
    s.bind(3, below.substr(0, below.size() - 1) + '0');
  }
  std::vector<plugins::CatalogueRow> rows;
  bool any = false;
  int r;
  while ((r = s.step()) == SQLITE_ROW) {
    any = true;
    if (s.integer(4) != kNoFilter) rows.push_back(rowFrom(s, fs::path(s.bytes(12))));
  }
  if (r != SQLITE_DONE) {
    fail();
    return std::nullopt;
  }
  if (!any) return std::nullopt;
  return rows;
}

void CatalogueStore::clear() {
  std::unique_lock lock(mutex_);
  waitForWriter(lock);
  if (writing_) {
    sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    writing_ = false;
  }
  haveLoaded_ = false;
  loaded_.clear();
  execute("DELETE FROM filters");
}

}  // namespace qm::catalogue
