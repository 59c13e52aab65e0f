// quillmark: the desktop program.

#include <QApplication>
#include <QDir>
#include <QStringList>

#include "gui/main/app_context.h"
#include "gui/main/main_window.h"
#include "gui/main/startup.h"
#include "platform/program_dir.h"
#include "platform/settings_store.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quillmark");
  QApplication::setOrganizationName("Quillmark");

  auto splash = qm::gui::makeSplash();
  splash->show();
  QApplication::processEvents();

  qm::platform::QSettingsStore store;
  qm::gui::AppContext context{qm::platform::resolveProgramDir(std::nullopt), store, {}, {}, {}, {}};

  qm::gui::StartupRequest request;
  request.versionMajor = QM_VERSION_MAJOR;
  request.versionMinor = QM_VERSION_MINOR;
  QStringList args = QApplication::arguments();
  if (args.size() > 1) request.argument = QDir::current().absoluteFilePath(args[1]).toStdString();
  request.firstStartFolder = qm::platform::shippedDataDir() / "samples";
  request.askFolder = qm::gui::browseForFolder;

  auto window = qm::gui::startMainWindow(context, request, splash.get());
  splash.reset();
  int code = QApplication::exec();
  window.reset();
  return store.sync() ? code : 1;
}
