#pragma once
// The pane's folder caption: the path with a trailing separator, right-aligned with the full
// path as tooltip when it is too wide, so the end of the path stays visible.

#include <QLabel>

namespace qm::gui {

inline constexpr const char* kCaptionTooltip = "Right click to display Folders context menu";

class FolderCaption : public QLabel {
  Q_OBJECT
 public:
  explicit FolderCaption(QWidget* parent = nullptr);
  void setPath(const QString& path);
  const QString& path() const { return path_; }

 signals:
  void contextMenuWanted(const QPoint& globalPos);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void DrawDirLabel();
  QString path_;
};

}  // namespace qm::gui
