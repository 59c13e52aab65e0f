#pragma once
// The catalogue cache: every filter the Plugin View scan read, one row per filter with its
// file's path, size, modification time, type, category, title, architecture and modes, kept
// in an SQLite file under the user's cache folder. A file that is damaged or not ours is
// thrown away and made anew, never trusted.

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "core/plugins/scan_cache.h"

struct sqlite3;

namespace qm::catalogue {

class Statement;

// $XDG_CACHE_HOME/Quillmark/catalogue.sqlite, else ~/.cache/Quillmark/catalogue.sqlite.
std::filesystem::path defaultStoreFile();

class CatalogueStore final : public plugins::ScanCache {
 public:
  // Opens file, or makes it (and its folder) when it is missing, damaged or foreign. nullopt
  // only when no file can be made there at all.
  static std::unique_ptr<CatalogueStore> open(const std::filesystem::path& file);
  ~CatalogueStore() override;
  CatalogueStore(const CatalogueStore&) = delete;
  CatalogueStore& operator=(const CatalogueStore&) = delete;

  // True when open() found the file unusable and made it anew.
  bool rebuilt() const { return rebuilt_; }

  std::optional<std::vector<plugins::CatalogueRow>> rowsOf(const std::filesystem::path& folder,
                                                           const std::string& name,
                                                           const plugins::FileStamp& stamp,
                                                           const std::string& key) override;
  void store(const std::filesystem::path& folder, const std::string& name,
             const plugins::FileStamp& stamp, const std::string& key,
             const std::vector<plugins::CatalogueRow>& rows) override;
  bool mayHold(const std::filesystem::path& folder, const std::string& name) override;
  void folderListed(const std::filesystem::path& folder, const std::vector<std::string>& names,
                    const std::string& pattern) override;
  void finish() override;

  // Every stored row of folder, and of the folders below it when recursive, in the order the
  // scan visits them; nullopt when none of folder's files is stored.
  std::optional<std::vector<plugins::CatalogueRow>> rowsUnder(const std::filesystem::path& folder,
                                                              bool recursive);
  // Forgets everything (Clear Cache).
  void clear();

 private:
  struct StoredFile {
    plugins::FileStamp stamp;
    std::string key;
    std::vector<plugins::CatalogueRow> rows;
  };
  using FolderFiles = std::map<std::string, StoredFile, std::less<>>;
  // A scanned file waiting for the writer thread.
  struct PendingFile {
    std::string folder, name;
    plugins::FileStamp stamp;
    std::string key;
    std::vector<plugins::CatalogueRow> rows;
    bool forgetFirst = false;
  };

  CatalogueStore(std::filesystem::path file, sqlite3* db);
  bool execute(const char* sql);
  void beginWrites();
  void fail();
  FolderFiles load(const std::string& folder);
  bool forget(const std::string& folder, const std::string& name);
  bool write(const PendingFile& file);
  void writeLoop(std::stop_token stop);
  // Every statement outside the writer waits until it has nothing left to write.
  void waitForWriter(std::unique_lock<std::mutex>& lock);
  Statement& prepared(std::unique_ptr<Statement>& slot, const char* sql);

  std::filesystem::path file_;
  sqlite3* db_;
  bool rebuilt_ = false;
  bool broken_ = false;  // a statement failed: nothing more is trusted or written
  bool writing_ = false;
  std::mutex mutex_;
  std::unique_ptr<Statement> insert_, forget_, selectFolder_;
  // The stored files of the folder the scan is in, read in one query.
  std::string loadedFolder_;
  FolderFiles loaded_;
  bool haveLoaded_ = false;
  // The scan goes on reading files while the writer stores what it read.
  std::deque<PendingFile> pending_;
  bool writerBusy_ = false;
  std::condition_variable_any wake_;
  std::condition_variable idle_;
  std::jthread writer_;
};

}  // namespace qm::catalogue
