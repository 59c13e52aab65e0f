#pragma once
// FX Download: two lists of named web addresses, one per tab, kept in text files of the
// program folder; an entry opens in the browser.

#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QTabBar>
#include <filesystem>
#include <functional>
#include <optional>

#include "core/outside/url_list.h"
#include "gui/shell/qt_prompter.h"

namespace qm::platform {
class DesktopServices;
}

namespace qm::gui {

class DownloadWindow : public QMainWindow {
  Q_OBJECT
 public:
  DownloadWindow(std::filesystem::path programDir, const platform::DesktopServices& desktop,
                 QWidget* parent = nullptr);

  QTabBar* tabs() const { return tabs_; }
  QListWidget* list() const { return list_; }
  QLabel* urlLabel() const { return url_; }
  bool changed() const { return changed_; }
  const std::vector<outside::UrlEntry>& entries() const { return entries_; }

  void connectSelected();
  // Asks first; false when the user cancelled or the file could not be written.
  bool save();
  void share();
  void copyUrl();
  void add();
  void edit(bool url);
  void deleteSelected();
  // Swaps the selected entry with its neighbour (-1 up, +1 down).
  void moveSelected(int step);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenus();
  void load(outside::UrlListKind kind);
  void tabChanged(int tab);
  void showUrl();
  int selected() const { return list_->currentRow(); }
  std::filesystem::path listFile() const;
  std::optional<QString> askText(const QString& title, const QString& prompt,
                                 const QString& preset);
  // askText until the answer is one the list can hold (refusal names why not) or cancelled.
  std::optional<QString> askValid(const QString& title, const QString& prompt,
                                  const QString& preset,
                                  std::optional<std::string> (*refusal)(std::string_view));
  void elideUrl();
  QListWidgetItem* itemFor(const QString& name);

  std::filesystem::path programDir_;
  const platform::DesktopServices& desktop_;
  QtPrompter prompter_;
  QTabBar* tabs_;
  QListWidget* list_;
  QLabel* url_;
  std::vector<outside::UrlEntry> entries_;
  outside::UrlListKind kind_ = outside::UrlListKind::Plugins;
  bool changed_ = false;
  bool incomplete_ = false;  // lines were left out in reading: the list is never saved
  QString fullUrl_;          // the label shows it elided to its width
  QPoint dragOffset_;
};

}  // namespace qm::gui
