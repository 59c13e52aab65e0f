#pragma once
// A prepared SQLite statement that finalizes itself; texts are bound as the bytes they hold.

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm::catalogue {

// The last call on db failed only because another connection held the file past the wait.
inline bool lockedByAnother(sqlite3* db) {
  const int code = sqlite3_errcode(db);
  return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) statement_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return statement_ != nullptr; }
  void bind(int at, std::string_view text) {
    sqlite3_bind_blob(statement_, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  void bindText(int at, std::string_view text) {
    sqlite3_bind_text(statement_, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  // The bytes must stay as they are until the statement is reset.
  void bindInPlace(int at, std::string_view bytes) {
    sqlite3_bind_blob(statement_, at, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
  }
  void bindTextInPlace(int at, std::string_view text) {
    sqlite3_bind_text(statement_, at, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
  }
  void bind(int at, std::int64_t value) { sqlite3_bind_int64(statement_, at, value); }
  void bindNull(int at) { sqlite3_bind_null(statement_, at); }
  // SQLITE_ROW, SQLITE_DONE or an error.
  int step() { return sqlite3_step(statement_); }
  void reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
  }
  // Ready to run again with the same parameters (or all of them bound anew).
  void rewind() { sqlite3_reset(statement_); }

  bool isNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
  std::int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
  std::string bytes(int column) const {
    const void* data = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return data && size > 0
               ? std::string(static_cast<const char*>(data), static_cast<std::size_t>(size))
               : std::string();
  }
  std::optional<std::string> optionalBytes(int column) const {
    if (isNull(column)) return std::nullopt;
    return bytes(column);
  }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace qm::catalogue
