#pragma once
// What the Plugin View scan asks of a store of rows read before: a file whose size and
// modification time are unchanged gives its rows again without being read.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/plugins/catalogue.h"
#include "core/plugins/file_bytes.h"

namespace qm::plugins {

struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // nanoseconds since the epoch
  bool operator==(const FileStamp&) const = default;
};

class ScanCache {
 public:
  virtual ~ScanCache() = default;
  // A scan of folder, and of the folders below it when recursive, begins.
  virtual void scanBegins(const std::filesystem::path& folder, bool recursive) = 0;
  // The rows stored for folder/name under this stamp and reader key (paths filled in);
  // nullopt when none. The key says what shapes the rows besides the file's bytes.
  virtual std::optional<std::vector<CatalogueRow>> rowsOf(const std::filesystem::path& folder,
                                                          const std::string& name,
                                                          const FileStamp& stamp,
                                                          const std::string& key) = 0;
  virtual void store(const std::filesystem::path& folder, const std::string& name,
                     const FileStamp& stamp, const std::string& key,
                     const std::vector<CatalogueRow>& rows) = 0;
  // False when nothing is stored for folder/name, so the file is read without asking first.
  virtual bool mayHold(const std::filesystem::path& folder, const std::string& name) = 0;
  // The folder was listed with pattern: its files that match it and are not among names are
  // gone. Called before the folder's files are asked for.
  virtual void folderListed(const std::filesystem::path& folder,
                            const std::vector<std::string_view>& names,
                            const std::string& pattern) = 0;
  // After the last file (also after a stop): what was stored is kept.
  virtual void finish() = 0;
};

// Size and modification time of a file of an open folder; nullopt when it cannot be read.
std::optional<FileStamp> stampOf(const OpenFolder* folder, const std::filesystem::path& file,
                                 const std::string& name);

// What the rows of a file depend on besides its bytes: the type table and, for a source
// file, whether sources are read.
std::string readerKey(const PlugTypeTable& table, bool sourceFile, bool includeSources);
// .txt, .afs, .pff, .ffx: files the sources option decides about.
bool isSourceFileName(std::string_view fileName);

}  // namespace qm::plugins
