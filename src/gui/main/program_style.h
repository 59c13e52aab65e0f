#pragma once
// The application style: the platform's own, except that the menu bar's overflow button gets
// a drawn picture. The stock one is a file whose decoding loads every image-format plugin
// while the main window is still being built.

#include <QProxyStyle>

namespace qm::gui {

class ProgramStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace qm::gui
