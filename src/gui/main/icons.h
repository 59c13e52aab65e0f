#pragma once
// The program's own icon set, drawn at start-up: file type icons of the File View (indices of
// the listing) and the pictures of the pane buttons.

#include <QIcon>
#include <array>

namespace qm::gui {

// An icon for a listing icon index (plugins::IconIndex); unknown indices give the plain file.
QIcon fileTypeIcon(int index);

enum class ButtonPicture { ViewMode, Synchronize, FolderBox, Desktop, Logo, OpenLibrary };
QIcon buttonIcon(ButtonPicture picture);

// Each icon drawn once, when first asked for: lists look icons up here per item, and the
// panes share the button pictures.
class FileIcons {
 public:
  const QIcon& forIndex(int index) const;
  const QIcon& button(ButtonPicture picture) const;

 private:
  mutable std::array<QIcon, 12> icons_;
  mutable std::array<QIcon, 6> buttons_;
};

}  // namespace qm::gui
