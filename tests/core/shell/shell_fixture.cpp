#include "shell_fixture.h"

#include <algorithm>

namespace qm::shell::test {

namespace {

std::unexpected<std::error_code> failure(std::errc code) {
  return std::unexpected(std::make_error_code(code));
}

}  // namespace

bool FaultyFs::onOtherDevice(const stdfs::path& p) const {
  if (otherDevice.empty()) return false;
  auto rest = p.lexically_relative(otherDevice);
  return !rest.empty() && *rest.begin() != "..";
}

FsStatus FaultyFs::copyFile(const stdfs::path& from, const stdfs::path& to) {
  ++calls;
  if (failCopyFrom.contains(from) || failCopyFrom.contains(from.parent_path() / "*")) {
    // A disk that fills up half-way leaves a partial file behind.
    (void)disk_.writeNewFile(to, "partial");
    return failure(std::errc::no_space_on_device);
  }
  return disk_.copyFile(from, to);
}

FsStatus FaultyFs::rename(const stdfs::path& from, const stdfs::path& to) {
  ++calls;
  if (failRenameFrom.contains(from)) return failure(std::errc::permission_denied);
  if (onOtherDevice(from) != onOtherDevice(to)) return failure(std::errc::cross_device_link);
  return disk_.rename(from, to);
}

FsStatus FaultyFs::removeFile(const stdfs::path& p) {
  ++calls;
  if (failRemove.contains(p)) return failure(std::errc::device_or_resource_busy);
  return disk_.removeFile(p);
}

bool FakeTrash::moveToTrash(const stdfs::path& file) {
  if (refuse.contains(file)) return false;
  std::error_code ec;
  if (!stdfs::remove(file, ec)) return false;
  trashed.push_back(file);
  return true;
}

ShellTest::ShellTest() {
  stdfs::create_directories(left());
  stdfs::create_directories(right());
  request_.active = {left(), PaneView::File};
  request_.passive = {right(), PaneView::File};
}

stdfs::path ShellTest::put(const stdfs::path& folder, std::string_view name,
                           std::string_view bytes) {
  return qm::test::writeFile(folder / name, bytes);
}

std::vector<std::string> ShellTest::names(const stdfs::path& folder) const {
  std::vector<std::string> found;
  for (const auto& entry : stdfs::directory_iterator(folder))
    found.push_back(entry.path().filename().string());
  std::sort(found.begin(), found.end());
  return found;
}

const qm::test::RecordedMessage& ShellTest::onlyMessage() const {
  static const qm::test::RecordedMessage none{qm::test::MessageKind::Inform, "<none>", ""};
  EXPECT_EQ(prompter_.messages.size(), 1u);
  return prompter_.messages.empty() ? none : prompter_.messages.front();
}

}  // namespace qm::shell::test
