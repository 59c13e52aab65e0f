#pragma once
// File-dialog filters for pictures, from the formats Qt's image plugins read and write here.

#include <QString>

namespace qm::gui {

// "Pictures (*.bmp *.png ...);;All Files (*)": every format that can be opened.
QString readablePictureFilter();
// One entry per format that can be written, "PNG (*.png)" and so on.
QString writablePictureFilter();

}  // namespace qm::gui
