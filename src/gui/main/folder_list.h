#pragma once
// The folder list of a pane: the path from the root down to the current folder, then its
// sub folders. Enter or a double click opens the highlighted folder, Backspace the parent.

#include <QElapsedTimer>
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
  void renameWanted();  // F2 on the list

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;
  // Type-ahead over the folder names; the list's own search would see their indentation.
  void keyboardSearch(const QString& search) override;

 private:
  const FileIcons& icons_;
  std::filesystem::path folder_;
  QString typed_;
  QElapsedTimer lastTyped_;
};

}  // namespace qm::gui
