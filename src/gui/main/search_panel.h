#pragma once
// The search box above a pane's views: as the user types, the filters of the pane's folder
// (or, with "All Folders", of every folder of the Folders list) whose category, title or file
// name hold the words are listed; a result's context menu opens its folder in the pane.

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QLineEdit>
#include <QThread>
#include <QTreeView>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "core/catalogue/search.h"
#include "core/plugins/catalogue.h"

namespace qm::gui {

struct AppContext;

class SearchResultModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { Title, Category, Modes, Architecture, Folder, ColumnCount };
  using QAbstractTableModel::QAbstractTableModel;

  void setRows(std::vector<const plugins::CatalogueRow*> rows);
  const plugins::CatalogueRow* rowAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<const plugins::CatalogueRow*> rows_;
};

class SearchPanel : public QWidget {
  Q_OBJECT
 public:
  SearchPanel(AppContext& context, QWidget* parent = nullptr);
  ~SearchPanel() override;

  // The pane's folder: the scope of a search without "All Folders".
  void setFolder(const std::filesystem::path& folder);
  // Ctrl+F.
  void focusSearch();
  void clear();

  QLineEdit* searchBox() const { return box_; }
  QCheckBox* allFoldersBox() const { return allFolders_; }
  QTreeView* resultsView() const { return results_; }
  SearchResultModel* results() const { return model_; }
  // True while the rows to search are being read.
  bool indexing() const { return worker_ != nullptr; }
  // Blocks until the rows are read (tests, shutdown).
  void waitForIndex();

 signals:
  // The results replace the pane's views while the box holds words.
  void resultsShown(bool shown);
  void openFolderWanted(const std::filesystem::path& folder);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void queryChanged();
  void startIndex();
  void indexDone();
  void showMatches();
  void resultsMenu(const QPoint& at);

  AppContext& context_;
  QLineEdit* box_;
  QCheckBox* allFolders_;
  QTreeView* results_;
  SearchResultModel* model_;
  std::filesystem::path folder_;
  // The rows searched and their folded texts; replaced whole when the scope changes.
  std::shared_ptr<std::vector<plugins::CatalogueRow>> rows_;
  std::unique_ptr<catalogue::SearchIndex> index_;
  QThread* worker_ = nullptr;
  std::function<void()> stopWorker_;
  bool stale_ = true;
  bool closing_ = false;
};

}  // namespace qm::gui
