#pragma once
// The folder list of a pane: the path from the root down to the current folder, then its
// sub folders. Enter or a double click opens the highlighted folder, Backspace the parent.

#include <QListWidget>
#include <filesystem>

namespace qm::gui {

class FileIcons;

class FolderList : public QListWidget {
  Q_OBJECT
 public:
  FolderList(const FileIcons& icons, QWidget* parent = nullptr);

  void showFolder(const std::filesystem::path& folder);
  const std::filesystem::path& folder() const { return folder_; }
  // The highlighted folder (the selected folder of the commands).
  std::filesystem::path highlighted() const;

 signals:
  void folderChosen(const QString& path);
  void contextMenuWanted(const QPoint& globalPos);
  void filesDropped(const QString& path);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  const FileIcons& icons_;
  std::filesystem::path folder_;
};

}  // namespace qm::gui
