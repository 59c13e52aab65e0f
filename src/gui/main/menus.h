#pragma once
// The main window's menu bar, built from one table: every entry with its caption and name.
// Entries whose command comes with a later window are present but disabled until it connects
// them; entries without a command stay disabled for good, with the tooltip "Not available".

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QMenuBar>

namespace qm::gui {

struct MainMenus {
  QHash<QString, QAction*> actions;  // by entry name (mnuRefresh, ...)
  QHash<QString, QMenu*> menus;      // by menu name (mnuFile, mnuDirs, mnuZip, ...)
  QAction* action(const QString& name) const { return actions.value(name); }
  QMenu* menu(const QString& name) const { return menus.value(name); }
};

MainMenus buildMenus(QMenuBar& bar);

inline constexpr const char* kNotAvailable = "Not available";
// False for an entry that has no command: nothing may enable it.
bool hasCommand(const QAction& action);

// Replaces the list entries of a menu (folder, application or picture entries) that follow
// the marker action; an empty list shows no entry (the menu hides the separator left last).
void fillListEntries(QMenu& menu, const QString& entryName, const QStringList& captions);

// The pop-up menu of the five file view modes, entries named mnuFileViewMode with the mode
// as data.
QMenu* buildFileViewModeMenu(QWidget* parent);

}  // namespace qm::gui
