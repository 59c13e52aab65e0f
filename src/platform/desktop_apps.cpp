#include "platform/desktop_apps.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>

namespace qm::platform {

std::optional<DesktopApp> parseDesktopEntry(const QString& id, const QString& text) {
  DesktopApp app;
  app.id = id;
  bool inEntry = false;
  bool application = false;
  bool hidden = false;
  for (const QString& raw : text.split('\n')) {
    QString line = raw.trimmed();
    if (line.startsWith('[')) {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    auto equals = line.indexOf('=');
    if (!inEntry || equals < 0) continue;
    QString key = line.left(equals).trimmed();
    QString value = line.mid(equals + 1).trimmed();
    if (key == "Type") application = value == "Application";
    if (key == "Name") app.name = value;
    if (key == "Exec") app.exec = value;
    if (key == "MimeType") app.mimeTypes = value.split(';', Qt::SkipEmptyParts);
    if ((key == "NoDisplay" || key == "Hidden") && value == "true") hidden = true;
  }
  if (!application || hidden || app.name.isEmpty() || app.exec.isEmpty()) return std::nullopt;
  return app;
}

std::vector<DesktopApp> installedApplications() {
  std::vector<DesktopApp> apps;
  QSet<QString> seen;
  // The user's folder comes first in the list, so its entries win.
  for (const QString& folder :
       QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
    QDirIterator it(folder, {"*.desktop"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      QString path = it.next();
      // Entries in sub folders have ids with "-" in place of the separators.
      QString id = QDir(folder).relativeFilePath(path).replace('/', '-');
      if (seen.contains(id)) continue;
      seen.insert(id);
      QFile file(path);
      if (!file.open(QIODevice::ReadOnly)) continue;
      if (auto app = parseDesktopEntry(id, QString::fromUtf8(file.readAll())))
        apps.push_back(std::move(*app));
    }
  }
  std::sort(apps.begin(), apps.end(), [](const DesktopApp& a, const DesktopApp& b) {
    return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
  });
  return apps;
}

std::vector<DesktopApp> applicationsOpening(const QString& mimeType,
                                            const std::vector<DesktopApp>& apps) {
  QMimeType type = QMimeDatabase().mimeTypeForName(mimeType);
  QStringList accepted{mimeType};
  if (type.isValid()) accepted << type.aliases() << type.allAncestors();
  // Every file is a byte stream; an application for that says nothing about this type.
  accepted.removeAll("application/octet-stream");
  std::vector<DesktopApp> opening;
  for (const DesktopApp& app : apps)
    if (std::any_of(accepted.begin(), accepted.end(),
                    [&app](const QString& t) { return app.mimeTypes.contains(t); }))
      opening.push_back(app);
  return opening;
}

QStringList launchCommand(const DesktopApp& app, const QString& file) {
  QStringList command;
  bool fileGiven = false;
  for (const QString& token : QProcess::splitCommand(app.exec)) {
    if (token == "%f" || token == "%F" || token == "%u" || token == "%U") {
      command << (token.endsWith('u', Qt::CaseInsensitive) ? QUrl::fromLocalFile(file).toString()
                                                           : file);
      fileGiven = true;
      continue;
    }
    if (token == "%i" || token == "%k" || token == "%c") continue;
    QString expanded;
    for (qsizetype i = 0; i < token.size(); ++i) {
      if (token[i] != '%' || i + 1 == token.size()) {
        expanded += token[i];
        continue;
      }
      QChar code = token[++i];
      if (code == '%') expanded += '%';
      if (code == 'c') expanded += app.name;
      // Other codes are deprecated or need nothing here: they go.
    }
    if (!expanded.isEmpty()) command << expanded;
  }
  // An entry without a file code still gets the file, as the desktops do.
  if (!fileGiven && !command.isEmpty()) command << file;
  return command;
}

std::optional<QString> launchApplication(const DesktopApp& app, const QString& file) {
  QStringList command = launchCommand(app, file);
  if (command.isEmpty()) return QString("%1 has no command to run.").arg(app.name);
  QProcess process;
  process.setProgram(command.takeFirst());
  process.setArguments(command);
  if (!process.startDetached()) return process.errorString();
  return std::nullopt;
}

}  // namespace qm::platform
