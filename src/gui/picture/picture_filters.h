#pragma once
// File-dialog filters for pictures, from the formats Qt's image plugins read and write here.

#include <QString>
#include <string>
#include <vector>

namespace qm::gui {

// "Pictures (*.bmp *.png ...);;All Files (*)": every format that can be opened.
QString readablePictureFilter();
// One entry per format that can be written, "PNG (*.png)" and so on.
QString writablePictureFilter();
// The formats that can be written, as lower-case extensions ("bmp", "jpg", ...).
std::vector<std::string> writablePictureTypes();
// The entry of writablePictureFilter for a type ("jpg" gives "JPG (*.jpg)"), and back.
QString pictureTypeFilter(const std::string& type);
std::string pictureTypeOfFilter(const QString& filter);

}  // namespace qm::gui
