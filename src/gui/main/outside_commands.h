#pragma once
// The main window's commands that reach outside the program: the zip archiver, the
// temporary folder, the application, folder and picture lists, the Photoshop plug-ins folder
// and the home-page shortcuts.

#include <QObject>
#include <functional>

namespace qm::platform {
class DesktopServices;
}

namespace qm::gui {

class MainWindow;
struct AppContext;

class OutsideCommands : public QObject {
  Q_OBJECT
 public:
  OutsideCommands(MainWindow& window, AppContext& context);

  // Connects the menu entries and the list entries of the Folders and Apps menus.
  void connectMenus();

  void addToZip();
  void testZip();
  void gainHarddiscSpace();
  void runApplication(int index);
  void goToListedFolder(const QString& caption);
  void goToPhotoshopPluginsFolder();
  void addHomePageBookmark();
  void addHomePageShortcutOnDesktop();
  // zip is at work; the window keeps its events going meanwhile.
  bool zipRunning() const { return zipRunning_; }

 private:
  MainWindow& window_;
  AppContext& context_;
  bool zipRunning_ = false;
};

}  // namespace qm::gui
