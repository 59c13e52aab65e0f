#include "gui/main/pane_drag.h"

namespace qm::gui {

void tagDrag(QMimeData& data, const PaneDragSource& source) {
  QByteArray text =
      QByteArray::number(source.pane) + ' ' + QByteArray::number(static_cast<int>(source.view));
  for (std::size_t row : source.rows) text += ' ' + QByteArray::number(qulonglong(row));
  data.setData(kPaneDragFormat, text);
}

std::optional<PaneDragSource> dragSource(const QMimeData* data) {
  if (!data || !data->hasFormat(kPaneDragFormat)) return std::nullopt;
  QList<QByteArray> parts = data->data(kPaneDragFormat).split(' ');
  if (parts.size() < 2) return std::nullopt;
  bool paneOk = false, viewOk = false;
  int pane = parts[0].toInt(&paneOk);
  int view = parts[1].toInt(&viewOk);
  if (!paneOk || !viewOk || pane < 0 || pane > 1 || view < 1 || view > 3) return std::nullopt;
  PaneDragSource source{pane, static_cast<plugins::PaneView>(view), {}};
  for (qsizetype i = 2; i < parts.size(); ++i) {
    bool ok = false;
    qulonglong row = parts[i].toULongLong(&ok);
    if (ok) source.rows.push_back(static_cast<std::size_t>(row));
  }
  return source;
}

}  // namespace qm::gui
