#pragma once
// The Picture Editor's rules: its title, the colour depths it offers, when Save asks for a name.

#include <optional>
#include <string>
#include <vector>

namespace qm::picture {

struct ShownPicture {
  std::string fileName;  // without folder; empty for a pasted picture
  int width = 0;
  int height = 0;
  int zoom = 100;
  int bitsPerPixel = 24;
};

// "Picture Editor - Name.png - 640x480 (100%), 16 Milion Colors (24bit)", or "Picture Editor"
// without a picture.
std::string pictureEditorTitle(const std::optional<ShownPicture>& picture);

struct ColorDepthEntry {
  int bitsPerPixel;
  std::string caption;
};
// The entries of the Colors menu, in menu order.
const std::vector<ColorDepthEntry>& colorDepthEntries();
// A depth entry can only raise a picture's depth: it is enabled above the picture's own.
bool colorDepthEnabled(int entryBits, int pictureBits);

// "Save" asks for a name and format instead when the picture has no file or came from a GIF
// (written back as GIF it would lose colours).
bool saveNeedsChooser(const std::string& path);

// The file Save As writes for the name typed and the type chosen (its extension, lower case):
// a name that already ends in the extension of a format in writable (lower case) keeps it,
// any other name gets the chosen type's extension added.
std::string savedPictureName(const std::string& typed, const std::string& typeExtension,
                             const std::vector<std::string>& writable);

// The type Save As starts on: the extension of the picture's file when writable has it,
// else "png".
std::string startingPictureType(const std::string& path, const std::vector<std::string>& writable);

}  // namespace qm::picture
