#pragma once
// Drags between the panes' lists carry the source pane and view, so a drop can decide what
// it means.

#include <QMimeData>
#include <optional>
#include <vector>

#include "core/plugins/drop_rules.h"

namespace qm::gui {

inline constexpr const char* kPaneDragFormat = "application/x-quillmark-pane-selection";

struct PaneDragSource {
  int pane = 0;
  plugins::PaneView view = plugins::PaneView::File;
  // Plugin View: the rows of the dragged filter entries. Hovering over categories rebuilds
  // the filter list, so the selection travels with the drag.
  std::vector<std::size_t> rows;
};

void tagDrag(QMimeData& data, const PaneDragSource& source);
std::optional<PaneDragSource> dragSource(const QMimeData* data);

}  // namespace qm::gui
