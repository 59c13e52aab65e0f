// quillmark: the desktop program.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QRandomGenerator>
#include <QStringList>
#include <string_view>

#include "gui/main/app_context.h"
#include "gui/main/main_window.h"
#include "gui/main/program_style.h"
#include "gui/main/startup.h"
#include "gui/main/tip_window.h"
#include "platform/program_dir.h"
#include "platform/quit_after_first_paint.h"
#include "platform/settings_store.h"

namespace {

void describeArguments(QCommandLineParser& parser, const QCommandLineOption& programDir) {
  parser.setApplicationDescription(
      "Organises image-editor plugins and reads, converts and edits Filter Factory filters.\n"
      "quillmark-cli does the same from a terminal.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOption(programDir);
  parser.addPositionalArgument("FILE|FOLDER", "The file or folder to show.");
}

void nameApplication() {
  QCoreApplication::setApplicationName("Quillmark");
  QCoreApplication::setOrganizationName("Quillmark");
  QCoreApplication::setApplicationVersion(QM_VERSION);
}

// --help and --version answer in the terminal, without a display to connect to.
bool onlyAsksForText(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == "--") break;
    if (word == "-h" || word == "--help" || word == "--help-all" || word == "-v" ||
        word == "--version")
      return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QCommandLineOption programDirOption("program-dir", "Use DIR as the program folder.", "DIR");
  if (onlyAsksForText(argc, argv)) {
    QCoreApplication terminal(argc, argv);
    nameApplication();
    QCommandLineParser parser;
    describeArguments(parser, programDirOption);
    parser.process(terminal);  // prints and exits
    return 0;
  }
  QApplication app(argc, argv);
  nameApplication();
  QApplication::setStyle(new qm::gui::ProgramStyle);

  QCommandLineParser parser;
  describeArguments(parser, programDirOption);
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
