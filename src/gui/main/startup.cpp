#include "gui/main/startup.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>

#include "core/settings/startup.h"
#include "gui/main/app_context.h"
#include "gui/main/file_view.h"
#include "gui/main/icons.h"
#include "gui/main/main_window.h"
#include "gui/preferences/preferences_host.h"

namespace qm::gui {
namespace {

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void show(QSplashScreen* splash, std::string_view text) {
  if (!splash) return;
  splash->showMessage(qs(text), Qt::AlignLeft | Qt::AlignBottom, QColor(40, 40, 40));
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void openArgument(MainWindow& window, const std::filesystem::path& argument) {
  QFileInfo info(QString::fromStdString(argument.string()));
  Pane* pane = window.active();
  // The pane lists its folder already when the argument names it.
  auto showFolder = [pane](const QString& folder) {
    std::filesystem::path path = QDir(folder).absolutePath().toStdString();
    if (path != pane->folder()) pane->setFolder(path);
  };
  if (info.isDir()) {
    showFolder(info.absoluteFilePath());
    return;
  }
  showFolder(info.absolutePath());
  pane->fileView()->selectName(info.fileName());
  window.openFile(info.absoluteFilePath().toStdString());
}

// What the start says when the file or folder named on the command line is not there.
QString missingArgumentText(const std::filesystem::path& argument) {
  return QString("%1 doesn't exist.").arg(QString::fromStdString(argument.string()));
}

}  // namespace

std::unique_ptr<QSplashScreen> makeSplash() {
  QPixmap picture(420, 180);
  picture.fill(QColor(245, 246, 248));
  {
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(0, 0, 420, 6), QColor(50, 80, 150));
    buttonIcon(ButtonPicture::Logo).paint(&p, QRect(24, 40, 64, 64));
    QFont title = p.font();
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(30, 40, 70));
    p.drawText(QRect(104, 40, 300, 40), Qt::AlignLeft | Qt::AlignVCenter, "Quillmark");
    QFont line = p.font();
    line.setPixelSize(13);
    line.setBold(false);
    p.setFont(line);
    p.setPen(QColor(90, 90, 100));
    p.drawText(QRect(106, 80, 300, 24), Qt::AlignLeft,
               "Plugin organiser and Filter Factory workshop");
  }
  auto splash = std::make_unique<QSplashScreen>(picture);
  splash->setObjectName("splash");
  return splash;
}

std::optional<std::filesystem::path> browseForFolder(const QString& question) {
  // The whole question in a box of its own: a folder dialog's title cuts it short.
  QMessageBox box(QMessageBox::Question, "Quillmark", question,
                  QMessageBox::Ok | QMessageBox::Cancel);
  box.setObjectName("firstStartQuestion");
  if (box.exec() != QMessageBox::Ok) return std::nullopt;
  QString folder =
      QFileDialog::getExistingDirectory(nullptr, "Select the Plugin Folder", QDir::homePath());
  if (folder.isEmpty()) return std::nullopt;
  return folder.toStdString();
}

std::unique_ptr<MainWindow> startMainWindow(AppContext& context, const StartupRequest& request,
                                            QSplashScreen* splash) {
  show(splash, settings::kSplashCheckingEditor);
  if (settings::findInterfaceDesigns(context.programDir).empty()) {
    // Shown on the splash line rather than in a box: the editor is not needed to start.
    show(splash,
         std::string(settings::kNoInterfaceFiles) + " " + std::string(settings::kEditorUnusable));
  }
  auto window = std::make_unique<MainWindow>(context);
  settings::prepareWorkingTemplate(context.programDir);

  show(splash, settings::kSplashLoadingSettings);
  loadOptions(context);
  installPreferences(*window, context);
  settings::WindowState state = settings::loadWindowState(context.store);
  bool firstStart = settings::isFirstStart(context.store);
  // Sort, pattern and mode first, so each pane lists its folder once.
  window->restorePanes(state);
  QString home = QDir::homePath();
  for (int i = 0; i < 2; ++i) {
    if (!window->pane(i)->folder().empty()) continue;
    bool samples = i == 0 && firstStart && !request.firstStartFolder.empty();
    window->pane(i)->setFolder(samples ? request.firstStartFolder
                                       : std::filesystem::path(home.toStdString()));
  }

  show(splash, settings::kSplashAdjusting);
  window->restoreGeometry(state);
  show(splash, settings::kSplashFinished);
  if (context.options.fullStartUp) show(splash, settings::kSplashLoadingEditor);
  window->setWindowTitle(qs(settings::windowTitle(request.versionMajor, request.versionMinor)));
  window->show();
  if (splash) {
    // The window's expose arrives in this pass; finish() would otherwise sleep before it
    // looks again.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    splash->finish(window.get());
  }

  // A file or folder on the command line is the user's choice: no first-start question. One
  // that is not there is said so, and the start goes on as without it.
  std::optional<std::filesystem::path> argument = request.argument;
  if (argument && !QFileInfo::exists(QString::fromStdString(argument->string()))) {
    window->prompter().warn(missingArgumentText(*argument).toStdString(), "Quillmark");
    argument.reset();
  }
  if (firstStart && !argument && request.askFolder) {
    if (auto chosen = request.askFolder(qs(settings::kFirstStartQuestion)))
      window->pane(0)->setFolder(*chosen);
  }
  if (settings::showTipsAtStartup(context.store) && request.showTips) request.showTips();
  if (argument) openArgument(*window, *argument);
  return window;
}

}  // namespace qm::gui
