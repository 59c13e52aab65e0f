#pragma once
// The zip entries that read archives: View Zip, Unzip, Unzip and Run, and Repair Zip and
// Rescue Zip, which let the zip program mend a damaged archive into a new file beside it.

#include <QObject>
#include <filesystem>
#include <vector>

namespace qm::gui {

class MainWindow;
struct AppContext;

class UnzipCommands : public QObject {
  Q_OBJECT
 public:
  UnzipCommands(MainWindow& window, AppContext& context);

  void connectMenus();
  void viewZip();
  // The selected archives into the passive pane's folder; with showResult the passive pane
  // then shows the unpacked plugins, selected.
  void unzip(bool showResult);
  // zip -F (rescue false) or -FF into "NAME-repaired.zip" / "NAME-rescued.zip" beside NAME.
  void repair(bool rescue);
  bool running() const { return running_; }

 private:
  std::vector<std::filesystem::path> selectedArchives();
  void showUnpacked(const std::vector<std::filesystem::path>& written);

  MainWindow& window_;
  AppContext& context_;
  bool running_ = false;
};

}  // namespace qm::gui
