#pragma once
// A stand-in for the main window's panes and a trash that records.

#include <array>
#include <map>

#include "core/shell/trash.h"
#include "gui/commands/command_host.h"
#include "gui/modal.h"

namespace qm::test {

struct FakePane {
  std::filesystem::path folder;
  shell::PaneView view = shell::PaneView::File;
  std::vector<std::filesystem::path> files;
  std::vector<std::size_t> rows;
  std::filesystem::path library;
  std::vector<std::uint64_t> positions;
  plugins::Catalogue catalogue;
  // What the commands asked for.
  int refreshes = 0;
  int photoshopChecks = 0;
  int statusRefreshes = 0;
  std::vector<std::uint64_t> removedFfl;
  std::vector<std::optional<std::string>> shownCategories;
  std::map<std::filesystem::path, bool> entryStates;
};

class FakeHost final : public gui::CommandHost {
 public:
  std::array<FakePane, 2> panes;
  int active = 0;

  int activePane() const override { return active; }
  std::filesystem::path folder(int p) const override { return pane(p).folder; }
  shell::PaneView view(int p) const override { return pane(p).view; }
  std::vector<std::filesystem::path> selectedFiles(int p) const override { return pane(p).files; }
  std::vector<std::size_t> selectedRows(int p) const override { return pane(p).rows; }
  std::vector<std::filesystem::path> selectedFolders(int) const override { return {}; }
  std::filesystem::path fflLibrary(int p) const override { return pane(p).library; }
  std::vector<std::uint64_t> selectedFflPositions(int p) const override {
    return pane(p).positions;
  }
  plugins::Catalogue& catalogue(int p) override { return pane(p).catalogue; }
  void refreshFiles(int p) override { ++pane(p).refreshes; }
  void showFolder(int p, const std::filesystem::path& f) override { pane(p).folder = f; }
  void rescanPlugins(int) override {}
  void removeFilterEntries(int, const std::vector<std::filesystem::path>&) override {}
  void deselectFilterEntries(int, const std::vector<std::filesystem::path>&) override {}
  void removeFflEntries(int p, const std::vector<std::uint64_t>& positions) override {
    pane(p).removedFfl = positions;
  }
  void showCategories(int p, const std::optional<std::string>& select) override {
    pane(p).shownCategories.push_back(select);
  }
  void setEntryState(int p, const std::filesystem::path& file, bool enabled) override {
    pane(p).entryStates[file] = enabled;
  }
  void checkPhotoshopMode(int p) override { ++pane(p).photoshopChecks; }
  void refreshFilterStatus(int p) override { ++pane(p).statusRefreshes; }

 private:
  FakePane& pane(int p) { return panes[static_cast<std::size_t>(p)]; }
  const FakePane& pane(int p) const { return panes[static_cast<std::size_t>(p)]; }
};

class RecordingTrash final : public shell::Trash {
 public:
  std::vector<std::filesystem::path> trashed;
  bool moveToTrash(const std::filesystem::path& file) override {
    trashed.push_back(file);
    return std::filesystem::remove(file);
  }
};

}  // namespace qm::test
