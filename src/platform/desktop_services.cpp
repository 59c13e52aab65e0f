#include "platform/desktop_services.h"

#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

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

}  // namespace

bool desktopOpenerInstalled() {
  return !QStandardPaths::findExecutable("xdg-open").isEmpty();
}

UrlOpener desktopUrlOpener(MessageSink failures) {
  return [failures](const QString& url) {
    // Without the desktop's opener nothing can take the address: the caller says what is
    // missing in its own words ("no HTML viewer", the Open With chooser).
    if (!desktopOpenerInstalled()) return false;
    QUrl target(url);
    QString shown = target.isLocalFile() ? target.toLocalFile() : url;
    if (target.isLocalFile()) {
      QString type = QMimeDatabase().mimeTypeForFile(shown).name();
      if (applicationsOpening(type, installedApplications()).empty()) return false;
    }
    // The opener runs on; a program that fails to start or ends with an error is reported
    // when it does, never passed over.
    auto* process = new QProcess;
    auto report = [failures, process, shown](const QString& reason) {
      if (failures)
        failures(QString("The desktop couldn't open %1:\n%2").arg(shown, reason).toStdString());
      process->deleteLater();
    };
    QObject::connect(process, &QProcess::finished, process,
                     [process, report](int code, QProcess::ExitStatus status) {
                       QString said = QString::fromLocal8Bit(process->readAllStandardError());
                       if (status == QProcess::NormalExit && code == 0)
                         process->deleteLater();
                       else
                         report(said.trimmed().isEmpty()
                                    ? QString("it ended with code %1.").arg(code)
                                    : said.trimmed());
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
