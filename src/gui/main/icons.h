#pragma once
// The program's own icon set, drawn at start-up: file type icons of the File View (indices of
// the listing) and the pictures of the pane buttons.

#include <QIcon>
#include <array>

namespace qm::gui {

// An icon for a listing icon index (plugins::IconIndex); unknown indices give the plain file.
QIcon fileTypeIcon(int index);

// Every file type icon drawn once; lists look icons up here per item.
class FileIcons {
 public:
  FileIcons();
  const QIcon& forIndex(int index) const;

 private:
  std::array<QIcon, 12> icons_;
};

enum class ButtonPicture { ViewMode, Synchronize, FolderBox, Desktop, Logo, OpenLibrary };
QIcon buttonIcon(ButtonPicture picture);

}  // namespace qm::gui
