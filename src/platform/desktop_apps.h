#pragma once
// The desktop's installed applications, read from the freedesktop .desktop entries of the
// data folders, for Open With and for telling whether a file has a program at all.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace qm::platform {

struct DesktopApp {
  QString id;    // the entry's file name, e.g. "org.example.Viewer.desktop"
  QString name;  // its Name=
  QString exec;  // its Exec= with the field codes still in
  QStringList mimeTypes;
};

// One .desktop entry's text; nullopt for entries that are not shown applications.
std::optional<DesktopApp> parseDesktopEntry(const QString& id, const QString& text);

// Every shown application once (the user's entries hide the system's of the same id),
// sorted by name.
std::vector<DesktopApp> installedApplications();

// The applications that declare mimeType or a type it belongs to, in the order of apps.
std::vector<DesktopApp> applicationsOpening(const QString& mimeType,
                                            const std::vector<DesktopApp>& apps);

// The program and arguments that open file with app: Exec's field codes filled in.
QStringList launchCommand(const DesktopApp& app, const QString& file);

// Starts app on file, apart from this program; the system's reason when it could not start.
std::optional<QString> launchApplication(const DesktopApp& app, const QString& file);

}  // namespace qm::platform
