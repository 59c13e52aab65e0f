#include "core/shell/file_transfer.h"

#include <string>

namespace qm::shell {
namespace {

namespace stdfs = std::filesystem;

// Every sibling name is tried at most this often; a folder full of our own leftovers is an
// error, not a reason to loop for ever.
constexpr int kTempNameAttempts = 1000;

FsStatus copyIntoPlace(Fs& fs, const stdfs::path& from, const stdfs::path& to) {
  auto temp = siblingTempName(fs, to, "part");
  if (temp.empty()) return std::unexpected(std::make_error_code(std::errc::file_exists));
  if (auto copied = fs.copyFile(from, temp); !copied) {
    if (fs.exists(temp)) (void)fs.removeFile(temp);
    return copied;
  }
  if (!fs.sameContent(from, temp)) {
    (void)fs.removeFile(temp);
    return std::unexpected(std::make_error_code(std::errc::io_error));
  }
  if (auto placed = fs.rename(temp, to); !placed) {
    (void)fs.removeFile(temp);
    return placed;
  }
  return {};
}

}  // namespace

stdfs::path siblingTempName(Fs& fs, const stdfs::path& target, std::string_view tag) {
  auto base = "." + target.filename().string() + "." + std::string(tag);
  for (int i = 0; i < kTempNameAttempts; ++i) {
    auto candidate = target.parent_path() / (i == 0 ? base : base + std::to_string(i));
    if (!fs.exists(candidate)) return candidate;
  }
  return {};
}

FsStatus copyReplacing(Fs& fs, const stdfs::path& from, const stdfs::path& to) {
  return copyIntoPlace(fs, from, to);
}

FsStatus moveReplacing(Fs& fs, const stdfs::path& from, const stdfs::path& to) {
  auto renamed = fs.rename(from, to);
  if (renamed || renamed.error() != std::errc::cross_device_link) return renamed;

  // Across file systems. The original first steps aside under a name in its own folder: that
  // proves it can be removed later, and it can always step back if the copy fails.
  auto held = siblingTempName(fs, from, "moving");
  if (held.empty()) return std::unexpected(std::make_error_code(std::errc::file_exists));
  if (auto aside = fs.rename(from, held); !aside) return aside;
  if (auto copied = copyIntoPlace(fs, held, to); !copied) {
    (void)fs.rename(held, from);
    return copied;
  }
  (void)fs.removeFile(held);
  return {};
}

}  // namespace qm::shell
