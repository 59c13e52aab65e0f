#pragma once
// The catalogue cache: every filter the Plugin View scan read, one row per filter with its
// file's path, size, modification time, type, category, title, architecture and modes, kept
// in an SQLite file under the user's cache folder. A file that is damaged or not ours is
// thrown away and made anew, never trusted.

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/plugins/scan_cache.h"

struct sqlite3;

namespace qm::catalogue {

class CatalogueWriter;
class Statement;

// $XDG_CACHE_HOME/Quillmark/catalogue.sqlite, else ~/.cache/Quillmark/catalogue.sqlite.
std::filesystem::path defaultStoreFile();

class CatalogueStore final : public plugins::ScanCache {
 public:
  // Opens file, or makes it (and its folder) when it is missing, damaged or foreign. nullptr
  // when no file can be made there at all, or while another program holds it locked past the
  // wait.
  static std::unique_ptr<CatalogueStore> open(const std::filesystem::path& file);
  ~CatalogueStore() override;
  CatalogueStore(const CatalogueStore&) = delete;
  CatalogueStore& operator=(const CatalogueStore&) = delete;

  // True when open() found the file unusable and made it anew.
  bool rebuilt() const { return rebuilt_; }

  void scanBegins(const std::filesystem::path& folder, bool recursive) override;
  std::optional<std::vector<plugins::CatalogueRow>> rowsOf(const std::filesystem::path& folder,
                                                           const std::string& name,
                                                           const plugins::FileStamp& stamp,
                                                           const std::string& key) override;
  void store(const std::filesystem::path& folder, const std::string& name,
             const plugins::FileStamp& stamp, const std::string& key,
             const std::vector<plugins::CatalogueRow>& rows) override;
  bool mayHold(const std::filesystem::path& folder, const std::string& name) override;
  void folderListed(const std::filesystem::path& folder, const std::vector<std::string_view>& names,
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
    std::size_t rowsRead = 0;
    bool trusted = true;  // its rows belong together
  };
  using FolderFiles = std::map<std::string, StoredFile, std::less<>>;

  CatalogueStore(std::filesystem::path file, sqlite3* db, std::unique_ptr<CatalogueWriter> writer);
  void fail();
  // A read of db_ failed.
  void readFailed();
  void forgetLoaded();
  // The stored files of folder, read once for the folder's files the scan asks for next.
  void loadFolder(const std::string& folder);
  FolderFiles load(const std::string& folder);
  Statement& prepared(std::unique_ptr<Statement>& slot, const char* sql);

  std::filesystem::path file_;
  sqlite3* db_;  // reads; the writer has a connection of its own
  std::unique_ptr<CatalogueWriter> writer_;
  bool rebuilt_ = false;
  bool broken_ = false;  // a statement failed: nothing more is trusted or written
  std::mutex mutex_;
  std::unique_ptr<Statement> selectFolder_;
  std::string loadedFolder_;
  FolderFiles loaded_;
  bool haveLoaded_ = false;
  // The folders the cache knew when the scan began; the others are not asked about.
  std::optional<std::set<std::string, std::less<>>> knownFolders_;
};

}  // namespace qm::catalogue
