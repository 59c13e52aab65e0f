#pragma once
// A context menu acts on what the pointer is over: an item outside the selection becomes the
// selection before the menu opens; one inside a selection keeps the whole selection.

#include <QAbstractItemView>
#include <QPoint>

namespace qm::gui {

// pos is in the view's viewport; a point over no item changes nothing.
void selectForContextMenu(QAbstractItemView& view, const QPoint& pos);

}  // namespace qm::gui
