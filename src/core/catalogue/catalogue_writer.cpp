#include "core/catalogue/catalogue_writer.h"

#include <sqlite3.h>

#include "core/catalogue/catalogue_schema.h"
#include "core/catalogue/sqlite_statement.h"
#include "core/plugins/text_util.h"

namespace qm::catalogue {
namespace {

// Files handed to the writer thread at a time: waking it for every file costs more than the
// insert.
constexpr std::size_t kWriterBatch = 256;
// Well within the writer's page cache (about 200 bytes a row).
constexpr std::size_t kRowsPerTransaction = 100'000;

// The kind of file a row came from, as the lists name plugin types.
std::string_view typeOf(std::string_view name, std::int32_t categoryPosition) {
  const std::string ext4 = plugins::lastLower(name, 4);
  if (ext4 == ".txt" || ext4 == ".afs" || ext4 == ".pff" || ext4 == ".ffx")
    return "Filter Factory Source";
  if (categoryPosition == -1) return "Plugin Type Table";
  const std::string ext3 = plugins::lastLower(name, 3);
  if (ext3 == "aex" || ext3 == "_ex") return "After Effects Plugin";
  if (ext3 == "prm" || ext3 == "_rm") return "Premiere Plugin";
  if (ext3 == "bin") return "Macintosh Filter Factory Plugin";
  return "Photoshop Filter Plugin";
}

}  // namespace

CatalogueWriter::CatalogueWriter(sqlite3* db) : db_(db) {
  insert_ = std::make_unique<Statement>(
      db_,
      // Another program may have stored the file since this scan began.
      "INSERT OR REPLACE INTO filters (folder, name, size, modified, reader, ordinal, type, "
      "category, title, position, room, architecture, modes, enable_info) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
  forget_ = std::make_unique<Statement>(db_, "DELETE FROM filters WHERE folder = ?1 AND name = ?2");
  findFolder_ = std::make_unique<Statement>(db_, "SELECT id FROM folders WHERE path = ?1");
  addFolder_ = std::make_unique<Statement>(db_, "INSERT INTO folders (path) VALUES (?1)");
  if (!insert_->ok() || !forget_->ok() || !findFolder_->ok() || !addFolder_->ok())
    failed_ = Outcome::Failed;
}

CatalogueWriter::~CatalogueWriter() {
  commit();
  thread_.request_stop();
  if (thread_.joinable()) thread_.join();
  insert_.reset();
  forget_.reset();
  findFolder_.reset();
  addFolder_.reset();
  sqlite3_close_v2(db_);
}

CatalogueWriter::Span CatalogueWriter::Batch::add(std::string_view text) {
  const Span span{bytes.size(), text.size()};
  bytes.append(text);
  return span;
}

void CatalogueWriter::Batch::clear() {
  bytes.clear();
  files.clear();
  rows.clear();
}

CatalogueWriter::PendingFile& CatalogueWriter::next(std::string_view folder,
                                                    std::string_view name) {
  PendingFile& item = pending_.files.emplace_back();
  if (folder != lastFolder_) {
    lastFolder_ = folder;
    item.folder = pending_.add(folder);
    item.newFolder = true;
  }
  item.name = pending_.add(name);
  return item;
}

void CatalogueWriter::handedOver() {
  if (!thread_.joinable())
    thread_ = std::jthread([this](std::stop_token stop) { writeLoop(std::move(stop)); });
  if (pending_.files.size() >= kWriterBatch) wake_.notify_one();
}

void CatalogueWriter::store(std::string_view folder, std::string_view name,
                            const plugins::FileStamp& stamp, std::string_view key,
                            const std::vector<plugins::CatalogueRow>& rows, bool forgetFirst) {
  std::lock_guard lock(mutex_);
  if (failed_ != Outcome::Kept) return;
  PendingFile& item = next(folder, name);
  if (key != lastKey_) {
    lastKey_ = key;
    item.key = pending_.add(key);
    item.newKey = true;
  }
  item.stamp = stamp;
  item.forgetFirst = forgetFirst;
  item.firstRow = pending_.rows.size();
  item.rowCount = rows.size();
  // Only what is stored is handed over: a row's path is costly to copy and is not kept.
  for (const auto& r : rows) {
    PendingRow& row = pending_.rows.emplace_back();
    row.category = pending_.add(r.category);
    row.title = pending_.add(r.title);
    row.categoryPosition = r.categoryPosition;
    row.categoryRoom = r.categoryRoom;
    if ((row.hasArchitecture = r.architecture.has_value()))
      row.architecture = pending_.add(*r.architecture);
    if ((row.hasModes = r.modes.has_value())) row.modes = *r.modes;
    if ((row.hasEnableInfo = r.enableInfo.has_value()))
      row.enableInfo = pending_.add(*r.enableInfo);
  }
  handedOver();
}

void CatalogueWriter::forget(std::string_view folder, std::string_view name) {
  std::lock_guard lock(mutex_);
  if (failed_ != Outcome::Kept) return;
  next(folder, name).forgetOnly = true;
  handedOver();
}

void CatalogueWriter::writeLoop(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  // Two batches take turns, so their buffers are grown once.
  Batch batch;
  while (wake_.wait(lock, stop, [this] { return !pending_.files.empty(); })) {
    batch.clear();
    std::swap(batch, pending_);
    busy_ = true;
    bool ok = failed_ == Outcome::Kept;
    Outcome failure = Outcome::Kept;
    lock.unlock();
    for (const PendingFile& file : batch.files)
      if (ok) ok = write(batch, file);
    // A transaction that outgrew the page cache would keep the file locked against readers
    // until its end, so a very long scan commits on the way.
    rowsInTransaction_ += batch.rows.size();
    if (ok && inTransaction_ && rowsInTransaction_ >= kRowsPerTransaction) {
      ok = execute("COMMIT");
      inTransaction_ = !ok;
    }
    if (!ok) {
      failure = this->failure();
      rollBack();
    }
    if (!inTransaction_) rowsInTransaction_ = 0;
    lock.lock();
    busy_ = false;
    if (failure != Outcome::Kept) failed_ = failure;
    idle_.notify_all();
  }
}

void CatalogueWriter::waitUntilIdle(std::unique_lock<std::mutex>& lock) {
  if (!pending_.files.empty()) wake_.notify_one();
  idle_.wait(lock, [this] { return pending_.files.empty() && !busy_; });
}

bool CatalogueWriter::execute(const char* sql) {
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

void CatalogueWriter::rollBack() {
  if (inTransaction_) execute("ROLLBACK");
  inTransaction_ = false;
  rowsInTransaction_ = 0;
}

void CatalogueWriter::forgetCurrentFolder() {
  lastFolder_.clear();
  lastKey_.clear();
  folder_.clear();
  folderId_ = 0;
}

CatalogueWriter::Outcome CatalogueWriter::failure() const {
  return lockedByAnother(db_) ? Outcome::LockedOut : Outcome::Failed;
}

CatalogueWriter::Outcome CatalogueWriter::commit() {
  std::unique_lock lock(mutex_);
  return commitWhenIdle(lock);
}

CatalogueWriter::Outcome CatalogueWriter::commitWhenIdle(std::unique_lock<std::mutex>& lock) {
  waitUntilIdle(lock);
  forgetCurrentFolder();
  if (failed_ == Outcome::LockedOut) {
    failed_ = Outcome::Kept;
    return Outcome::LockedOut;
  }
  if (failed_ == Outcome::Failed) return Outcome::Failed;
  if (inTransaction_ && !execute("COMMIT")) {
    const Outcome why = failure();
    rollBack();
    if (why == Outcome::Failed) failed_ = why;
    return why;
  }
  inTransaction_ = false;
  rowsInTransaction_ = 0;
  return Outcome::Kept;
}

CatalogueWriter::Outcome CatalogueWriter::clearAll() {
  std::unique_lock lock(mutex_);
  if (const Outcome kept = commitWhenIdle(lock); kept != Outcome::Kept) return kept;
  if (execute("BEGIN IMMEDIATE; DELETE FROM filters; DELETE FROM folders; COMMIT"))
    return Outcome::Kept;
  const Outcome why = failure();
  if (!sqlite3_get_autocommit(db_)) execute("ROLLBACK");
  if (why == Outcome::Failed) failed_ = why;
  return why;
}

bool CatalogueWriter::enterFolder(std::string_view folder) {
  folder_ = folder;
  findFolder_->bindInPlace(1, folder_);
  const int found = findFolder_->step();
  folderId_ = found == SQLITE_ROW ? findFolder_->integer(0) : 0;
  findFolder_->reset();
  if (found == SQLITE_ROW) return true;
  if (found != SQLITE_DONE) return false;
  addFolder_->bindInPlace(1, folder_);
  const bool added = addFolder_->step() == SQLITE_DONE;
  addFolder_->reset();
  folderId_ = sqlite3_last_insert_rowid(db_);
  return added;
}

bool CatalogueWriter::write(const Batch& batch, const PendingFile& file) {
  if (!inTransaction_) {
    if (!execute("BEGIN IMMEDIATE")) return false;
    inTransaction_ = true;
  }
  if (file.newFolder && !enterFolder(batch.text(file.folder))) return false;
  if (file.newKey) key_ = batch.text(file.key);
  if (file.forgetFirst || file.forgetOnly) {
    forget_->bind(1, folderId_);
    forget_->bindInPlace(2, batch.text(file.name));
    const bool done = forget_->step() == SQLITE_DONE;
    forget_->reset();
    if (!done) return false;
  }
  return file.forgetOnly || insertRows(batch, file);
}

bool CatalogueWriter::insertRows(const Batch& batch, const PendingFile& file) {
  Statement& s = *insert_;
  const std::string_view name = batch.text(file.name);
  // Every parameter is bound for every row, so none is left over from the row before.
  auto insert = [&](int ordinal, const PendingRow* row) {
    s.bind(1, folderId_);
    s.bindInPlace(2, name);
    s.bind(3, static_cast<std::int64_t>(file.stamp.size));
    s.bind(4, file.stamp.modified);
    s.bindTextInPlace(5, key_);
    s.bind(6, std::int64_t{ordinal});
    if (row) {
      s.bindTextInPlace(7, typeOf(name, row->categoryPosition));
      s.bindInPlace(8, batch.text(row->category));
      s.bindTextInPlace(9, batch.text(row->title));
      s.bind(10, std::int64_t{row->categoryPosition});
      s.bind(11, std::int64_t{row->categoryRoom});
    } else {
      for (int at = 7; at <= 11; ++at) s.bindNull(at);
    }
    if (row && row->hasArchitecture)
      s.bindTextInPlace(12, batch.text(row->architecture));
    else
      s.bindNull(12);
    if (row && row->hasModes)
      s.bind(13, std::int64_t{row->modes});
    else
      s.bindNull(13);
    if (row && row->hasEnableInfo)
      s.bindInPlace(14, batch.text(row->enableInfo));
    else
      s.bindNull(14);
    const bool done = s.step() == SQLITE_DONE;
    s.rewind();
    return done;
  };
  if (file.rowCount == 0) return insert(kNoFilter, nullptr);
  for (std::size_t i = 0; i < file.rowCount; ++i)
    if (!insert(static_cast<int>(i), &batch.rows[file.firstRow + i])) return false;
  return true;
}

}  // namespace qm::catalogue
