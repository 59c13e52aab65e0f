#pragma once
// View > Show Duplicates: the files of a folder (or of every folder of the Folders list) that
// hold the same filter, grouped, those with identical bytes marked; a file's context menu
// opens its folder in the active pane.

#include <QDialog>
#include <QThread>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/catalogue/duplicates.h"

class QCheckBox;
class QLabel;
class QTreeWidget;

namespace qm::gui {

struct AppContext;

class DuplicatesWindow : public QDialog {
  Q_OBJECT
 public:
  DuplicatesWindow(AppContext& context, std::filesystem::path folder,
                   std::function<void(const std::filesystem::path&)> openFolder,
                   QWidget* parent = nullptr);
  ~DuplicatesWindow() override;

  QTreeWidget* groupsView() const { return groups_; }
  bool busy() const { return worker_ != nullptr; }
  // Blocks until the groups are shown (tests).
  void waitForGroups();

 private:
  void start();
  void showGroups(const std::vector<catalogue::DuplicateGroup>& groups);
  void menu(const QPoint& at);

  AppContext& context_;
  std::filesystem::path folder_;
  std::function<void(const std::filesystem::path&)> openFolder_;
  QCheckBox* allFolders_;
  QLabel* summary_;
  QTreeWidget* groups_;
  std::vector<std::filesystem::path> paths_;  // of the file entries, by their item data
  QThread* worker_ = nullptr;
  bool restart_ = false;
};

}  // namespace qm::gui
