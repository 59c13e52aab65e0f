#include "core/ff/plugin_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <limits>
#include <random>
#include <system_error>

#include "core/common/cp1252.h"
#include "core/common/same_file.h"
#include "core/common/unreadable_reason.h"
#include "core/common/write_fully.h"

namespace qm::ff {
namespace {

std::string reasonOf(int error) {
  return std::generic_category().message(error);
}

// Closes the descriptor when the scope ends, whatever path the write took.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // The close of a written file can still report a failed write (NFS, quotas).
  int release() {
    int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// A short name (".qm" and six letters or digits) so a target name of any length the file
// system accepts still leaves room for the temporary one; created exclusively, so two
// writers of one folder never share it.
struct TempFile {
  std::filesystem::path path;
  int fd = -1;
  int error = 0;
};

TempFile createTemp(const std::filesystem::path& folder) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  TempFile temp;
  for (int attempt = 0; attempt < 64; ++attempt) {
    std::string name = ".qm";
    for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
    temp.path = folder / name;
    temp.fd = ::open(temp.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (temp.fd >= 0) return temp;
    temp.error = errno;
    if (temp.error != EEXIST) break;
  }
  return temp;
}

// An existing target that may not be written is refused, even where the folder would let a
// rename replace it: read-only means "keep this file".
// A pipe, socket or device is named as such rather than as a folder.
std::string refusalOfExisting(const std::filesystem::path& target, struct stat& existing) {
  if (::stat(target.c_str(), &existing) != 0) return errno == ENOENT ? "" : reasonOf(errno);
  if (S_ISDIR(existing.st_mode)) return reasonOf(EISDIR);
  if (!S_ISREG(existing.st_mode)) return "not a regular file";
  if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return reasonOf(EACCES);
  if (::access(target.c_str(), W_OK) != 0) return reasonOf(errno);
  return {};
}

}  // namespace

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& file) {
  auto bytes = readFileBytes(file, std::numeric_limits<std::uint64_t>::max(), {});
  if (!bytes) return std::nullopt;
  return std::move(*bytes);
}

Outcome<std::vector<std::uint8_t>, std::string> readFileBytes(const std::filesystem::path& file,
                                                              std::uint64_t limit,
                                                              std::string_view tooLargeText) {
  // A pipe or device could block or never end, so only regular files are read.
  if (auto reason = unreadableReason(file)) return Failure{std::move(*reason)};
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec) return Failure{ec.message()};
  if (size > limit) return Failure{std::string(tooLargeText)};
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in)
    return Failure{std::string(errno != 0 ? std::generic_category().message(errno)
                                          : std::string("cannot be opened"))};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return Failure{std::string("cannot be read")};
  // A file that grew since its size was taken is not followed past the limit.
  if (bytes.size() == size && in.peek() != std::char_traits<char>::eof() && size >= limit)
    return Failure{std::string(tooLargeText)};
  return bytes;
}

std::string replaceFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path target = fileBehindLinks(path);
  struct stat existing {};
  if (auto refusal = refusalOfExisting(target, existing); !refusal.empty()) return refusal;
  const bool replacing = existing.st_mode != 0;

  auto parent = target.parent_path();
  TempFile temp = createTemp(parent.empty() ? std::filesystem::path(".") : parent);
  if (temp.fd < 0) return reasonOf(temp.error);
  FileDescriptor fd(temp.fd);
  auto fail = [&temp](int error) {
    ::unlink(temp.path.c_str());
    return reasonOf(error);
  };
  // A replaced file keeps its permissions; a new one gets the usual ones (0666 less umask).
  if (replacing && ::fchmod(fd.get(), existing.st_mode & 07777) != 0) return fail(errno);
  if (int error = writeFully(fd.get(), bytes.data(), bytes.size())) return fail(error);
  // An existing file is only given up once its replacement is on the disk; a new file needs
  // no such wait, which keeps converting a large library fast.
  if (replacing && ::fsync(fd.get()) != 0 && errno != EINVAL) return fail(errno);
  if (fd.release() != 0) return fail(errno);
  if (::rename(temp.path.c_str(), target.c_str()) != 0) return fail(errno);
  return {};
}

std::string recordFileName(const std::filesystem::path& file) {
  return utf8ToCp1252(file.filename().string());
}

}  // namespace qm::ff
