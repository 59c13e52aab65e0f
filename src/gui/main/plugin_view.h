#pragma once
// The Plugin View of one pane: Photoshop-mode boxes, category list, filter list and status
// label over the pane's catalogue. The scan runs on a worker thread; Escape stops it.

#include <QCheckBox>
#include <QLabel>
#include <QStackedWidget>
#include <QThread>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/plugins/catalogue.h"

namespace qm::gui {

struct AppContext;
class QtProgress;
class CategoryList;
class FilterList;

class PluginView : public QWidget {
  Q_OBJECT
 public:
  PluginView(int pane, AppContext& context, QWidget* parent = nullptr);
  ~PluginView() override;

  // Entering the view: shows the catalogue again while it is up to date for folder, else
  // scans. False when nothing was started (up to date).
  bool enter(const std::filesystem::path& folder, QtProgress& progress, bool filterFactoryOnly);
  // Refresh: forgets the catalogue and scans again.
  void rescan(const std::filesystem::path& folder, QtProgress& progress, bool filterFactoryOnly);
  bool busy() const { return worker_ != nullptr; }
  // Blocks until a running scan has ended (shutdown, tests).
  void waitForScan();

  plugins::Catalogue& catalogue() { return catalogue_; }
  CategoryList* categoryList() const { return categories_; }
  FilterList* filterList() const { return filters_; }
  QCheckBox* oldModeBox() const { return oldMode_; }
  QCheckBox* newModeBox() const { return newMode_; }
  QLabel* statusLabel() const { return status_; }
  // Shown where the lists are when a scan found nothing, so walking through folders never
  // stops at a dialog; hidden while the lists have something to show.
  QLabel* noticeLabel() const { return notice_; }

  // Rebuilds the filter list from the selected categories (the category click).
  void categoryClick();
  // The rows of the selected filter entries (built-in filters left out).
  std::vector<std::size_t> selectedRows() const;
  // The selected entries without a row (built-in filters), as the list shows them.
  std::vector<std::string> selectedBuiltIns() const;
  std::vector<std::string> selectedCategories() const;
  void selectAll();
  void toggleSelection();
  // CheckPhotoshopMode after Change Category and Enable/Disable.
  void CheckPhotoshopMode();
  // The filter click: shows the current entry's file in the status label.
  void filterClick();
  // After file commands: entries whose row's file is one of files.
  void removeEntriesFor(const std::vector<std::filesystem::path>& files);
  void deselectEntriesFor(const std::vector<std::filesystem::path>& files);
  void setEntryState(const std::filesystem::path& file, bool enabled);
  // Refills the category list; with select, exactly those entries are selected and the
  // filter list is rebuilt.
  void showCategories(const std::optional<std::string>& select);

 signals:
  void scanStarted();
  void scanFinished(bool foundSomething);
  void changeCategoryWanted(const std::string& category, const std::vector<std::size_t>& rows);
  void moveFilesWanted(int sourcePane);
  void propertiesWanted();

 private:
  void startScan(const std::filesystem::path& folder, QtProgress& progress, bool filterFactoryOnly);
  void scanDone(plugins::ScanResult result);
  void fillCategories();
  // True when the catalogue row's file is one of files.
  bool entryOfFiles(std::size_t row, const std::vector<std::filesystem::path>& files) const;
  bool photoshopMode() const;

  int pane_;
  AppContext& context_;
  plugins::Catalogue catalogue_;
  QThread* worker_ = nullptr;
  QMetaObject::Connection statusConnection_;
  QCheckBox* oldMode_;
  QCheckBox* newMode_;
  CategoryList* categories_;
  FilterList* filters_;
  QLabel* status_;
  QStackedWidget* listsOrNotice_;
  QLabel* notice_;
  int categoryFills_ = 0;  // tells whether a command refilled the categories
  QString stopped_;        // set while the lists hold what a stopped scan found
};

}  // namespace qm::gui
