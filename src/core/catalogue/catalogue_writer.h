#pragma once
// Writes what a scan read into the catalogue cache on a thread and a connection of its own,
// so the scan reads on meanwhile. What is handed over stays in one transaction until commit()
// (a very long scan commits on the way); a failed statement rolls it back.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/plugins/scan_cache.h"

struct sqlite3;

namespace qm::catalogue {

class Statement;

class CatalogueWriter {
 public:
  // Takes db over; no one else may use it.
  explicit CatalogueWriter(sqlite3* db);
  ~CatalogueWriter();
  CatalogueWriter(const CatalogueWriter&) = delete;
  CatalogueWriter& operator=(const CatalogueWriter&) = delete;

  // Stores rows for folder/name; forgetFirst when rows may be stored for it already.
  void store(std::string_view folder, std::string_view name, const plugins::FileStamp& stamp,
             std::string_view key, const std::vector<plugins::CatalogueRow>& rows,
             bool forgetFirst);
  // The file is gone: its rows are deleted.
  void forget(std::string_view folder, std::string_view name);
  enum class Outcome {
    Kept,
    // Another program held the file for longer than the wait: what was handed over since the
    // last commit is dropped, the file is as it was, and the next pass tries again.
    LockedOut,
    // A statement failed: nothing of the transaction is kept, and nothing more is written.
    Failed,
  };
  // Waits until everything handed over is written, then commits it.
  Outcome commit();
  // Commits what is pending, then deletes every stored row.
  Outcome clearAll();

 private:
  // Where a text of a batch lies in its bytes.
  struct Span {
    std::size_t at = 0, size = 0;
  };
  // A row as stored: the file's folder and name stand for its path.
  struct PendingRow {
    Span category, title, architecture, enableInfo;
    std::int32_t categoryPosition = 0;
    std::uint32_t categoryRoom = 0;
    std::uint32_t modes = 0;
    bool hasArchitecture = false, hasModes = false, hasEnableInfo = false;
  };
  // Folder and key come only when they change: a scan hands over a folder's files one after
  // another.
  struct PendingFile {
    Span folder, key, name;
    bool newFolder = false, newKey = false;
    plugins::FileStamp stamp;
    std::size_t firstRow = 0, rowCount = 0;
    bool forgetFirst = false, forgetOnly = false;
  };
  // What the scan handed over since the writer took the last batch. Every text is kept in one
  // buffer, so handing a file over costs no allocation once the buffers have grown.
  struct Batch {
    std::string bytes;
    std::vector<PendingFile> files;
    std::vector<PendingRow> rows;
    Span add(std::string_view text);
    std::string_view text(const Span& span) const { return {bytes.data() + span.at, span.size}; }
    void clear();
  };

  PendingFile& next(std::string_view folder, std::string_view name);
  void handedOver();
  void writeLoop(std::stop_token stop);
  void waitUntilIdle(std::unique_lock<std::mutex>& lock);
  // The connection is the caller's while it holds lock and the thread is idle.
  Outcome commitWhenIdle(std::unique_lock<std::mutex>& lock);
  // Why the last statement failed.
  Outcome failure() const;
  bool write(const Batch& batch, const PendingFile& file);
  bool insertRows(const Batch& batch, const PendingFile& file);
  bool enterFolder(std::string_view folder);
  bool execute(const char* sql);
  void rollBack();
  // Written items name their folder again (ids change with a clear or a rollback).
  void forgetCurrentFolder();

  sqlite3* db_;
  std::unique_ptr<Statement> insert_, forget_, findFolder_, addFolder_;

  std::mutex mutex_;
  Batch pending_;
  std::string lastFolder_, lastKey_;  // of the last item handed over
  bool busy_ = false;
  // LockedOut until commit() tells of it; Failed for good.
  Outcome failed_ = Outcome::Kept;
  std::condition_variable_any wake_;
  std::condition_variable idle_;
  // The thread's own, and commit()'s while the thread is idle.
  std::string folder_, key_;
  std::int64_t folderId_ = 0;
  bool inTransaction_ = false;
  std::size_t rowsInTransaction_ = 0;
  std::jthread thread_;
};

}  // namespace qm::catalogue
