#pragma once
// The help pages shown by the program itself, for a desktop without a web browser.

#include <QString>

class QWidget;

namespace qm::gui {

// Opens file (an HTML page of the help folder) in a help window of its own over parent; links
// between help pages are followed inside it.
void showHelpPage(const QString& file, QWidget* parent);

}  // namespace qm::gui
