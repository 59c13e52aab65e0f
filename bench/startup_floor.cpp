// The floor of the start-up timing: a Qt Widgets program that shows one empty window and
// quits as soon as it is shown, the same way quillmark does under bench/startup.sh.

#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.resize(1100, 720);
  window.show();
  QTimer::singleShot(0, &app, &QApplication::quit);
  return QApplication::exec();
}
