#pragma once
// The start-up sequence of the main window, and the splash window that shows its steps.

#include <QSplashScreen>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace qm::gui {

struct AppContext;
class MainWindow;

struct StartupRequest {
  int versionMajor = 1;
  int versionMinor = 0;
  // The file or folder named on the command line.
  std::optional<std::filesystem::path> argument;
  // The folder a first start shows before the question and after Cancel: the sample
  // collection of the program folder in use.
  std::filesystem::path firstStartFolder;
  // The first-start question; nullopt = Cancel. Tests replace the folder browser.
  std::function<std::optional<std::filesystem::path>(const QString& question)> askFolder;
  // Shows the tip window; called when "Show Tips at Startup" is set.
  std::function<void()> showTips;
};

// A splash window drawn by the program, with a status line for the start-up texts.
std::unique_ptr<QSplashScreen> makeSplash();

// Runs the steps up to a shown main window; splash may be null.
std::unique_ptr<MainWindow> startMainWindow(AppContext& context, const StartupRequest& request,
                                            QSplashScreen* splash);

// The first-start question in a message box, then a folder browser opened in the home folder.
std::optional<std::filesystem::path> browseForFolder(const QString& question);

}  // namespace qm::gui
