#pragma once
// What the commands read from the main window's two panes and what they ask it to show
// afterwards. The main window implements it; tests use a fake over a temporary folder.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/plugins/catalogue.h"
#include "core/shell/pane.h"

namespace qm::gui {

class CommandHost {
 public:
  virtual ~CommandHost() = default;

  // Pane 0 is the left, 1 the right pane.
  virtual int activePane() const = 0;
  virtual std::filesystem::path folder(int pane) const = 0;
  virtual shell::PaneView view(int pane) const = 0;
  // File View: the selected files as full paths, in list order.
  virtual std::vector<std::filesystem::path> selectedFiles(int pane) const = 0;
  // Plugin View: the rows of the selected filter entries, in list order (built-in filters,
  // which have no row, left out).
  virtual std::vector<std::size_t> selectedRows(int pane) const = 0;
  // Plugin View: the names of the selected built-in filters, in list order.
  virtual std::vector<std::string> selectedBuiltIns(int /*pane*/) const { return {}; }
  // The folder list's selection.
  virtual std::vector<std::filesystem::path> selectedFolders(int pane) const = 0;
  // FFL View: the library shown and the byte positions of the selected entries.
  virtual std::filesystem::path fflLibrary(int pane) const = 0;
  virtual std::vector<std::uint64_t> selectedFflPositions(int pane) const = 0;
  virtual plugins::Catalogue& catalogue(int pane) = 0;

  // Re-reads the pane's folder into its file list.
  // After a rename: the File View selects these files (the renamed ones), so the next
  // command acts on them again.
  virtual void selectFiles(int pane, const std::vector<std::filesystem::path>& files) = 0;
  virtual void refreshFiles(int pane) = 0;
  virtual void showFolder(int pane, const std::filesystem::path& folder) = 0;
  // Scans the pane's folder again and shows the new catalogue (Plugin View).
  virtual void rescanPlugins(int pane) = 0;
  // Plugin View: drops or deselects the filter entries whose row's file is one of files.
  virtual void removeFilterEntries(int pane, const std::vector<std::filesystem::path>& files) = 0;
  virtual void deselectFilterEntries(int pane, const std::vector<std::filesystem::path>& files) = 0;
  // FFL View: drops the entries at these byte positions.
  virtual void removeFflEntries(int pane, const std::vector<std::uint64_t>& positions) = 0;
  // Refills the category list from the catalogue; with select, exactly the entries equal to
  // it are selected and the filter list is rebuilt (the category click).
  virtual void showCategories(int pane, const std::optional<std::string>& select) = 0;
  // Plugin View: every filter entry whose row's file is file gets the "+" or "-" prefix.
  virtual void setEntryState(int pane, const std::filesystem::path& file, bool enabled) = 0;
  virtual void checkPhotoshopMode(int pane) = 0;
  // Runs the filter click again, so the status label shows the current file.
  virtual void refreshFilterStatus(int pane) = 0;
};

}  // namespace qm::gui
