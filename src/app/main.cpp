// quillmark: the desktop program.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QRandomGenerator>
#include <QStringList>

#include "gui/main/app_context.h"
#include "gui/main/main_window.h"
#include "gui/main/program_style.h"
#include "gui/main/startup.h"
#include "gui/main/tip_window.h"
#include "platform/program_dir.h"
#include "platform/quit_after_first_paint.h"
#include "platform/settings_store.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quillmark");
  QApplication::setOrganizationName("Quillmark");
  QApplication::setStyle(new qm::gui::ProgramStyle);

  QCommandLineParser parser;
  parser.setApplicationDescription("Organises image-editor plugins.");
  parser.addHelpOption();
  QCommandLineOption programDirOption("program-dir", "Use DIR as the program folder.", "DIR");
  parser.addOption(programDirOption);
  parser.addPositionalArgument("FILE|FOLDER", "The file or folder to show.");
  parser.process(app);
  std::optional<std::string> programDir;
  if (parser.isSet(programDirOption)) programDir = parser.value(programDirOption).toStdString();

  auto splash = qm::gui::makeSplash();
  splash->show();
  QApplication::processEvents();

  qm::platform::QSettingsStore store;
  qm::gui::AppContext context{qm::platform::resolveProgramDir(programDir), store, {}, {}, {}, {}};
  context.catalogueCache = qm::catalogue::CatalogueStore::open(qm::catalogue::defaultStoreFile());

  qm::gui::StartupRequest request;
  request.versionMajor = QM_VERSION_MAJOR;
  request.versionMinor = QM_VERSION_MINOR;
  QStringList args = parser.positionalArguments();
  if (!args.isEmpty())
    request.argument = QDir::current().absoluteFilePath(args.front()).toStdString();
  request.firstStartFolder = qm::platform::sampleCollection(context.programDir);
  request.askFolder = qm::gui::browseForFolder;
  request.showTips = [&context] {
    qm::gui::TipWindow tips(context.programDir, context.store,
                            QRandomGenerator::global()->bounded(1000));
    tips.exec();
  };

  auto window = qm::gui::startMainWindow(context, request, splash.get());
  splash.reset();
  // bench/startup.sh measures up to the first painted window.
  if (qEnvironmentVariableIsSet("QUILLMARK_QUIT_WHEN_SHOWN"))
    qm::platform::quitAfterPainting(window.get());
  int code = QApplication::exec();
  window.reset();
  return store.sync() ? code : 1;
}
