#pragma once
// The file system as the file and folder commands see it. Commands never call
// std::filesystem directly, so tests can make single operations fail (a locked file, a full
// disk, a refused rename) and check that nothing was left half-done.

#include <expected>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace qm::shell {

using FsStatus = std::expected<void, std::error_code>;

struct FsEntry {
  std::filesystem::path path;
  bool isFolder = false;  // a real folder; a link to one counts as a file
};

class Fs {
 public:
  virtual ~Fs() = default;
  virtual bool exists(const std::filesystem::path& p) = 0;
  virtual bool isFolder(const std::filesystem::path& p) = 0;
  // True when both name the same existing folder or file (links and ".." resolved).
  virtual bool same(const std::filesystem::path& a, const std::filesystem::path& b) = 0;
  virtual std::expected<std::vector<FsEntry>, std::error_code> list(
      const std::filesystem::path& folder) = 0;
  // Fails when `to` exists. Keeps the time of last change, as the desktop's copy does.
  virtual FsStatus copyFile(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  // Replaces a file at `to`. Fails with std::errc::cross_device_link across file systems.
  virtual FsStatus rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  virtual FsStatus removeFile(const std::filesystem::path& p) = 0;
  virtual FsStatus removeEmptyFolder(const std::filesystem::path& p) = 0;
  virtual FsStatus createFolder(const std::filesystem::path& p) = 0;
  virtual bool sameContent(const std::filesystem::path& a, const std::filesystem::path& b) = 0;
  virtual std::expected<std::string, std::error_code> readFile(const std::filesystem::path& p) = 0;
  // Fails when `p` exists.
  virtual FsStatus writeNewFile(const std::filesystem::path& p, std::string_view bytes) = 0;
};

// The real disk through std::filesystem.
class DiskFs final : public Fs {
 public:
  bool exists(const std::filesystem::path& p) override;
  bool isFolder(const std::filesystem::path& p) override;
  bool same(const std::filesystem::path& a, const std::filesystem::path& b) override;
  std::expected<std::vector<FsEntry>, std::error_code> list(
      const std::filesystem::path& folder) override;
  FsStatus copyFile(const std::filesystem::path& from, const std::filesystem::path& to) override;
  FsStatus rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
  FsStatus removeFile(const std::filesystem::path& p) override;
  FsStatus removeEmptyFolder(const std::filesystem::path& p) override;
  FsStatus createFolder(const std::filesystem::path& p) override;
  bool sameContent(const std::filesystem::path& a, const std::filesystem::path& b) override;
  std::expected<std::string, std::error_code> readFile(const std::filesystem::path& p) override;
  FsStatus writeNewFile(const std::filesystem::path& p, std::string_view bytes) override;
};

}  // namespace qm::shell
