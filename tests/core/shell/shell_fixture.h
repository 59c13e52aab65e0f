#pragma once
// Two pane folders in a temporary folder, scripted ports, and a file system whose single
// operations can be made to fail.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/batch/overwrite_check.h"
#include "core/common/forwarding_prompter.h"
#include "core/shell/file_commands.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace qm::shell::test {

namespace stdfs = std::filesystem;

// DiskFs with injected failures. `otherDevice` marks a folder that lies on another file
// system: renames into or out of it fail the way the kernel refuses them.
class FaultyFs final : public Fs {
 public:
  std::set<stdfs::path> failCopyFrom;
  std::set<stdfs::path> failRemove;
  std::set<stdfs::path> failRenameFrom;
  bool failCompare = false;
  stdfs::path otherDevice;
  int calls = 0;
  bool exists(const stdfs::path& p) override { return ++calls, disk_.exists(p); }
  bool isFolder(const stdfs::path& p) override { return ++calls, disk_.isFolder(p); }
  bool same(const stdfs::path& a, const stdfs::path& b) override {
    return ++calls, disk_.same(a, b);
  }
  std::expected<std::vector<FsEntry>, std::error_code> list(const stdfs::path& f) override {
    return ++calls, disk_.list(f);
  }
  FsStatus copyFile(const stdfs::path& from, const stdfs::path& to) override {
    ++calls;
    if (failCopyFrom.contains(from) || failCopyFrom.contains(from.parent_path() / "*")) {
      // A disk that fills up half-way leaves a partial file behind.
      (void)disk_.writeNewFile(to, "partial");
      return failure(std::errc::no_space_on_device);
    }
    return disk_.copyFile(from, to);
  }
  FsStatus rename(const stdfs::path& from, const stdfs::path& to) override {
    ++calls;
    if (failRenameFrom.contains(from)) return failure(std::errc::permission_denied);
    if (onOtherDevice(from) != onOtherDevice(to)) return failure(std::errc::cross_device_link);
    return disk_.rename(from, to);
  }
  FsStatus removeFile(const stdfs::path& p) override {
    ++calls;
    if (failRemove.contains(p)) return failure(std::errc::device_or_resource_busy);
    return disk_.removeFile(p);
  }
  FsStatus removeEmptyFolder(const stdfs::path& p) override {
    return ++calls, disk_.removeEmptyFolder(p);
  }
  FsStatus createFolder(const stdfs::path& p) override { return ++calls, disk_.createFolder(p); }
  bool sameContent(const stdfs::path& a, const stdfs::path& b) override {
    return ++calls, !failCompare && disk_.sameContent(a, b);
  }
  std::expected<std::string, std::error_code> readFile(const stdfs::path& p) override {
    return ++calls, disk_.readFile(p);
  }
  FsStatus writeNewFile(const stdfs::path& p, std::string_view bytes) override {
    return ++calls, disk_.writeNewFile(p, bytes);
  }

 private:
  static std::unexpected<std::error_code> failure(std::errc code) {
    return std::unexpected(std::make_error_code(code));
  }
  bool onOtherDevice(const stdfs::path& p) const {
    auto rest = p.lexically_relative(otherDevice);
    return !otherDevice.empty() && !rest.empty() && *rest.begin() != "..";
  }
  DiskFs disk_;
};

// Records the preset texts of askText, which the scripted prompter does not keep.
class PresetRecorder final : public ForwardingPrompter {
 public:
  using ForwardingPrompter::ForwardingPrompter;
  std::vector<std::string> presets;
  std::optional<std::string> askText(std::string_view caption, std::string_view preset) override {
    presets.emplace_back(preset);
    return inner().askText(caption, preset);
  }
};

class FakeTrash final : public Trash {
 public:
  std::set<stdfs::path> refuse;
  std::vector<stdfs::path> trashed;
  FsStatus moveToTrash(const stdfs::path& file) override {
    std::error_code ec;
    if (refuse.contains(file))
      return std::unexpected(std::make_error_code(std::errc::device_or_resource_busy));
    if (!stdfs::remove(file, ec))
      return std::unexpected(ec ? ec : std::make_error_code(std::errc::no_such_file_or_directory));
    trashed.push_back(file);
    return {};
  }
};

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() {
    stdfs::create_directories(left());
    stdfs::create_directories(right());
    request_.active = {left(), PaneView::File};
    request_.passive = {right(), PaneView::File};
  }
  stdfs::path left() const { return temp_ / "left"; }
  stdfs::path right() const { return temp_ / "right"; }
  // Writes a file into a pane folder and returns its path.
  stdfs::path put(const stdfs::path& folder, std::string_view name, std::string_view bytes) {
    return qm::test::writeFile(folder / name, bytes);
  }
  // The names in a folder, sorted.
  std::vector<std::string> names(const stdfs::path& folder) const {
    std::vector<std::string> found;
    for (const auto& entry : stdfs::directory_iterator(folder))
      found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
  }
  // The only message shown, or a failure when there is not exactly one.
  const qm::test::RecordedMessage& onlyMessage() const {
    static const qm::test::RecordedMessage none{qm::test::MessageKind::Inform, "<none>", ""};
    EXPECT_EQ(prompter_.messages.size(), 1u);
    return prompter_.messages.empty() ? none : prompter_.messages.front();
  }
  qm::test::TempFolder temp_;
  qm::test::ScriptedPrompter prompter_;
  PresetRecorder recorder_{prompter_};
  qm::test::ScriptedProgress progress_;
  FaultyFs fs_;
  batch::OverwriteCheck overwrite_{prompter_};
  FakeTrash trash_;
  ShellPorts ports_{recorder_, progress_, fs_, overwrite_, &trash_};
  ShellRequest request_;
};

}  // namespace qm::shell::test
