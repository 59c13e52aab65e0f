#pragma once
// The main window's side of the Preferences: the one dialog of the run, the menu entries
// that open it, and what the window does with the options after OK (ListToMenu, SetFont, the
// list options of the File View), at start-up and when the program ends.

#include <QObject>

#include "core/settings/options.h"
#include "gui/preferences/preferences_dialog.h"

namespace qm::gui {

class MainWindow;
struct AppContext;

class PreferencesHost final : public QObject {
  Q_OBJECT
 public:
  PreferencesHost(MainWindow& window, AppContext& context, PreferencesChoosers choosers);
  ~PreferencesHost() override;

  // Shows the Preferences modally on the page; true after OK.
  bool open(PreferencesPage page);
  // The dialog, made on first use.
  PreferencesDialog& dialog();
  // Applies the current options to the window: menus, fonts, list options.
  void apply();

 private:
  void folderUsed(int pane);

  MainWindow& window_;
  AppContext& context_;
  PreferencesChoosers choosers_;
  PreferencesDialog* dialog_ = nullptr;
};

// Makes the window's host (a child of the window) and connects the menu entries "Preferences...",
// "Edit Folder List...", "Edit Image List..." and "Edit Application List...".
PreferencesHost& installPreferences(MainWindow& window, AppContext& context,
                                    PreferencesChoosers choosers = desktopChoosers());
// The window's host; opens the Preferences on a page. False when the window has none or the
// dialog was cancelled.
bool openPreferences(MainWindow& window, PreferencesPage page);

// ListToMenu for the three lists: the Folders menu, the picture entries of the File menu and
// the Apps menu, from the option lists.
void rebuildListMenus(MainWindow& window, const settings::Options& options);
// SetFont: the list font for lists and combo boxes, the other font for everything else, for
// the windows open now and those opened later. Fonts that do not apply change nothing.
void applyFonts(const settings::Options& options);
// The File and FFL View options 0 to 4 on the lists of both panes.
void applyListOptions(MainWindow& window, const settings::Options& options);

}  // namespace qm::gui
