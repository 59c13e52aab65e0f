// The floor of the start-up timing: a Qt Widgets program that shows one empty window and
// ends once it has been painted, the same way quillmark does under bench/startup.sh. With
// --text the window holds one line of text, which adds the font set-up every program with
// text pays once.

#include <QApplication>
#include <QLabel>

#include "platform/quit_after_first_paint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  bool text = argc > 1 && QString(argv[1]) == "--text";
  QLabel window(text ? "Quillmark" : "");
  window.resize(1100, 720);
  window.show();
  qm::platform::quitAfterPainting(&window);
  return QApplication::exec();
}
