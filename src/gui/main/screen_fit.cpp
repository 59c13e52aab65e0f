#include "gui/main/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "core/settings/startup.h"

namespace qm::gui {
namespace {

// Before the window is shown the frame is not known yet; a title bar and thin borders are
// what window managers add.
constexpr QSize kFrameGuess(8, 32);

QSize frameAllowance(const QWidget& window) {
  QSize frame = window.frameGeometry().size() - window.geometry().size();
  return frame.isEmpty() ? kFrameGuess : frame;
}

}  // namespace

QRect availableScreenAreaAt(const QPoint& at) {
  QScreen* screen = QGuiApplication::screenAt(at);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

void fitIntoScreen(QWidget& window, const settings::WindowState& state, const ScreenArea& area) {
  bool hasPlace = state.x && state.y;
  QPoint place =
      hasPlace ? QPoint(static_cast<int>(*state.x), static_cast<int>(*state.y)) : window.pos();
  QRect room = (area ? area : availableScreenAreaAt)(place);
  if (room.isEmpty()) return;
  QSize frame = frameAllowance(window);
  int width = state.width ? static_cast<int>(*state.width) : window.width();
  int height = state.height ? static_cast<int>(*state.height) : window.height();
  // The stored place is the frame's corner; the sizes are the inside's.
  auto fitted =
      settings::fitWindow({place.x(), place.y(), width + frame.width(), height + frame.height()},
                          hasPlace, {room.x(), room.y(), room.width(), room.height()});
  window.resize(std::max(fitted.width - frame.width(), 1),
                std::max(fitted.height - frame.height(), 1));
  window.move(fitted.x, fitted.y);
}

}  // namespace qm::gui
