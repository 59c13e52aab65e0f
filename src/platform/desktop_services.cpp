#include "platform/desktop_services.h"

#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>

#include "core/shell/help_links.h"
#include "platform/desktop_apps.h"

namespace qm::platform {
namespace {

QString fileUrl(const std::filesystem::path& file) {
  return QUrl::fromLocalFile(QString::fromStdString(file.string())).toString();
}

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A program that names HTML itself: one for plain text would show a page's markup.
bool browserInstalled() {
  const auto apps = installedApplications();
  return std::any_of(apps.begin(), apps.end(),
                     [](const DesktopApp& app) { return app.mimeTypes.contains("text/html"); });
}

// A helper that fails may say much; the last line it wrote is the reason.
QString lastLine(const QString& said) {
  const QStringList lines = said.split('\n', Qt::SkipEmptyParts);
  return lines.isEmpty() ? QString() : lines.back().trimmed();
}

}  // namespace

bool desktopOpenerInstalled() {
  return !QStandardPaths::findExecutable("xdg-open").isEmpty();
}

UrlOpener desktopUrlOpener(MessageSink failures, PageViewer pageViewer) {
  return [failures, pageViewer](const QString& url) {
    QUrl target(url);
    const bool local = target.isLocalFile();
    QString shown = local ? target.toLocalFile() : url;
    const QString type = local ? QMimeDatabase().mimeTypeForFile(shown).name() : QString();
    // Our own help pages need no browser: without one they show in the program's viewer.
    const bool page = pageViewer && type == "text/html";
    if (page && (!browserInstalled() || !desktopOpenerInstalled())) {
      pageViewer(shown);
      return true;
    }
    // Without the desktop's opener nothing can take the address: the caller says what is
    // missing in its own words ("no HTML viewer", the Open With chooser).
    if (!desktopOpenerInstalled()) return false;
    if (local && applicationsOpening(type, installedApplications()).empty()) return false;
    // The opener runs on; a program that fails to start or ends with an error is reported
    // when it does, never passed over.
    auto* process = new QProcess;
    auto report = [failures, pageViewer, page, process, shown](const QString& reason) {
      if (page)
        pageViewer(shown);
      else if (failures)
        failures(QString("The desktop couldn't open %1:\n%2").arg(shown, reason).toStdString());
      process->deleteLater();
    };
    QObject::connect(
        process, &QProcess::finished, process,
        [process, report](int code, QProcess::ExitStatus status) {
          QString said = lastLine(QString::fromLocal8Bit(process->readAllStandardError()));
          if (status == QProcess::NormalExit && code == 0)
            process->deleteLater();
          else
            report(said.isEmpty() ? QString("it ended with code %1.").arg(code) : said);
        });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, report](QProcess::ProcessError error) {
                       if (error == QProcess::FailedToStart) report(process->errorString());
                     });
    process->start("xdg-open", {target.isLocalFile() ? shown : url});
    return true;
  };
}

bool DesktopServices::open(const QString& url) const {
  return opener_ && opener_(url);
}

void DesktopServices::ShowHelp(std::string_view page) const {
  if (!open(fileUrl(shell::helpPagePath(programDir_, page)))) sink_(shell::kNoHtmlViewer);
}

void DesktopServices::ShowMainHelp() const {
  if (!open(fileUrl(programDir_ / "Help.htm"))) sink_(shell::kNoHtmlViewer);
}

void DesktopServices::ShowURL(std::string_view address) const {
  if (!open(qs(address))) sink_(shell::kNoHtmlViewer);
}

void DesktopServices::SendEmail(std::string_view address, std::string_view subject,
                                std::string_view body) const {
  if (!open(qs(shell::mailtoAddress(address, subject, body)))) sink_(shell::kNoEmailProgram);
}

bool DesktopServices::openFile(const std::filesystem::path& file) const {
  return open(fileUrl(file));
}

}  // namespace qm::platform
