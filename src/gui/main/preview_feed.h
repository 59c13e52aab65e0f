#pragma once
// Feeds the preview panel from the active pane's selection: a file of the File View, a filter
// entry of the Plugin View or an entry of the FFL View, while View > Preview is ticked.

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstddef>
#include <filesystem>
#include <optional>

namespace qm::gui {

class MainWindow;
class Pane;
class PreviewPanel;

class PreviewFeed : public QObject {
  Q_OBJECT
 public:
  PreviewFeed(MainWindow& window, PreviewPanel& panel);
  // Switches the feed (and the panel's visibility) with the View menu's tick.
  void setEnabled(bool on);
  bool enabled() const { return enabled_; }
  // Shows the selection's preview again at once, even when it was shown last.
  void refresh();

 private:
  struct Subject {
    std::filesystem::path file;
    std::optional<std::size_t> fflPosition;
    QString caption;  // the filter's name where the view shows one
    bool operator==(const Subject&) const = default;
  };
  void watch(Pane* pane);
  void watchViews(Pane* pane);
  // What the active pane's selection stands for; an empty file for nothing to preview.
  Subject subject() const;
  // A selection signal: a new request only when the subject changed.
  void selectionMoved();
  void show(const Subject& subject);

  MainWindow& window_;
  PreviewPanel& panel_;
  QTimer pending_;  // many selection signals of one key press make one request
  bool enabled_ = false;
  std::optional<Subject> shown_;
};

}  // namespace qm::gui
