#include "core/shell/fs.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace qm::shell {
namespace {

namespace stdfs = std::filesystem;

FsStatus status(const std::error_code& ec) {
  if (ec) return std::unexpected(ec);
  return {};
}

}  // namespace

bool DiskFs::exists(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::exists(stdfs::symlink_status(p, ec));
}

bool DiskFs::isFolder(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::is_directory(stdfs::symlink_status(p, ec));
}

bool DiskFs::same(const stdfs::path& a, const stdfs::path& b) {
  std::error_code ec;
  bool equal = stdfs::equivalent(a, b, ec);
  if (!ec) return equal;
  // One of them does not exist: compare the names as written.
  return stdfs::weakly_canonical(a, ec).lexically_normal() ==
         stdfs::weakly_canonical(b, ec).lexically_normal();
}

std::expected<std::vector<FsEntry>, std::error_code> DiskFs::list(const stdfs::path& folder) {
  std::error_code ec;
  stdfs::directory_iterator it(folder, ec);
  if (ec) return std::unexpected(ec);
  std::vector<FsEntry> entries;
  for (; it != stdfs::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    bool isFolder = it->is_directory(typeError) && !it->is_symlink(typeError);
    entries.push_back({it->path(), isFolder});
  }
  if (ec) return std::unexpected(ec);
  return entries;
}

FsStatus DiskFs::copyFile(const stdfs::path& from, const stdfs::path& to) {
  std::error_code ec;
  stdfs::copy_file(from, to, stdfs::copy_options::none, ec);
  if (ec) return std::unexpected(ec);
  auto changed = stdfs::last_write_time(from, ec);
  if (!ec) stdfs::last_write_time(to, changed, ec);
  return {};  // a lost time stamp is not worth failing the copy for
}

FsStatus DiskFs::rename(const stdfs::path& from, const stdfs::path& to) {
  std::error_code ec;
  stdfs::rename(from, to, ec);
  return status(ec);
}

FsStatus DiskFs::removeFile(const stdfs::path& p) {
  std::error_code ec;
  if (isFolder(p)) return std::unexpected(std::make_error_code(std::errc::is_a_directory));
  if (!stdfs::remove(p, ec) && !ec) ec = std::make_error_code(std::errc::no_such_file_or_directory);
  return status(ec);
}

FsStatus DiskFs::removeEmptyFolder(const stdfs::path& p) {
  std::error_code ec;
  if (!isFolder(p)) return std::unexpected(std::make_error_code(std::errc::not_a_directory));
  stdfs::remove(p, ec);
  return status(ec);
}

FsStatus DiskFs::createFolder(const stdfs::path& p) {
  std::error_code ec;
  if (!stdfs::create_directory(p, ec) && !ec) ec = std::make_error_code(std::errc::file_exists);
  return status(ec);
}

bool DiskFs::sameContent(const stdfs::path& a, const stdfs::path& b) {
  std::ifstream first(a, std::ios::binary);
  std::ifstream second(b, std::ios::binary);
  if (!first || !second) return false;
  std::array<char, 64 * 1024> bufferA{};
  std::array<char, 64 * 1024> bufferB{};
  while (true) {
    first.read(bufferA.data(), bufferA.size());
    second.read(bufferB.data(), bufferB.size());
    auto count = first.gcount();
    if (count != second.gcount()) return false;
    if (!std::equal(bufferA.begin(), bufferA.begin() + count, bufferB.begin())) return false;
    // A short read means both files ended at the same byte.
    if (count < static_cast<std::streamsize>(bufferA.size())) return true;
  }
}

std::expected<std::string, std::error_code> DiskFs::readFile(const stdfs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return std::unexpected(std::make_error_code(std::errc::no_such_file_or_directory));
  std::string bytes;
  std::array<char, 64 * 1024> buffer{};
  while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0)
    bytes.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return std::unexpected(std::make_error_code(std::errc::io_error));
  return bytes;
}

FsStatus DiskFs::writeNewFile(const stdfs::path& p, std::string_view bytes) {
  if (exists(p)) return std::unexpected(std::make_error_code(std::errc::file_exists));
  std::ofstream out(p, std::ios::binary);
  if (!out) return std::unexpected(std::make_error_code(std::errc::permission_denied));
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::error_code ignored;
    stdfs::remove(p, ignored);
    return std::unexpected(std::make_error_code(std::errc::no_space_on_device));
  }
  return {};
}

}  // namespace qm::shell
