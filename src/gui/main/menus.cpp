#include "gui/main/menus.h"

#include <QActionGroup>

namespace qm::gui {
namespace {

enum class Kind { Working, Later, NoAction, Separator, Submenu, SubmenuEnd, ListMarker };

struct Entry {
  Kind kind;
  const char* caption = "";
  const char* name = "";
};

struct MenuTable {
  const char* title;
  const char* name;
  std::initializer_list<Entry> entries;
};

constexpr Entry kSep{Kind::Separator};

const MenuTable kMenus[] = {
    {"&File",
     "mnuFile",
     {{Kind::Working, "Open Preview Image...", "mnuOpen"},
      {Kind::Working, "Update", "mnuUpdateCache"},
      kSep,
      {Kind::Working, "Randomize", "mnuRandomize"},
      {Kind::Later, "Save Preview...", "mnuSavePreview"},
      {Kind::NoAction, "Set as Wallpaper", "mnuSetWallpaper"},
      kSep,
      {Kind::Working, "Edit Image List...", "mnuEditImageList"},
      {Kind::ListMarker, "", "mnuPictures"},
      kSep,
      {Kind::NoAction, "Apply Setting...", "mnuApplySetting"},
      {Kind::NoAction, "Save Setting...", "mnuSaveSetting"},
      kSep,
      {Kind::Later, "Preferences...", "mnuOptions"},
      kSep,
      {Kind::Working, "Exit", "mnuExiting"}}},
    {"&Edit",
     "mnuEdit",
     {{Kind::Working, "Refresh", "mnuRefresh"},
      {Kind::Working, "Toggle Select", "mnuToggleselect"},
      {Kind::Working, "Select All", "mnuSelectAll"},
      kSep,
      {Kind::Later, "Copy Filter to Clipboard", "mnuFilter2Clip"},
      kSep,
      {Kind::Working, "Gain Harddisc Space", "mnuClearTmp"}}},
    {"&View",
     "mnuView",
     {{Kind::Working, "Preview", "mnuPluginPreview"},
      kSep,
      {Kind::Working, "File View", "mnuFileView"},
      {Kind::Working, "Plugin View", "mnuFilterview"},
      {Kind::Working, "FFL View", "mnuFflview"},
      {Kind::Working, "Show Duplicates", "mnuShowDuplicates"},
      kSep,
      {Kind::Working, "FF Editor", "mnuFFE"},
      {Kind::Working, "Open in FF Editor", "mnuOpenInFFE"},
      {Kind::Working, "Picture Editor", "mnuPictureView"},
      {Kind::Working, "FX Download", "mnuFilterDownload"}}},
    {"&Commands",
     "mnuCommands",
     {{Kind::Later, "Rename...", "mnuRename"},
      {Kind::Later, "Copy", "mnuCopy"},
      {Kind::Later, "Move", "mnuMove"},
      {Kind::Later, "Delete", "mnuDelete"},
      {Kind::Later, "Kill", "mnuKill"},
      kSep,
      {Kind::Working, "Properties", "mnuFileInformation"},
      kSep,
      {Kind::Submenu, "Zip", "mnuZip"},
      {Kind::Working, "Add to Zip...", "mnuAddtoZip"},
      {Kind::Working, "Test Zip", "mnuTestZip"},
      {Kind::Later, "View Zip", "mnuViewZip"},
      {Kind::Later, "Unzip", "mnuZipUnzip"},
      {Kind::Later, "Repair Zip", "mnuRepairZip"},
      {Kind::Later, "Rescue Zip", "mnuRescueZip"},
      {Kind::SubmenuEnd},
      {Kind::Later, "Unzip", "mnuUnzipit"},
      {Kind::Later, "Unzip and Run", "mnuUnzipInstall"},
      kSep,
      {Kind::Later, "Convert...", "mnuConvert"},
      {Kind::Later, "Enable/Disable", "mnuEnable"},
      {Kind::Later, "Change Category...", "mnuChangeCat"},
      kSep,
      {Kind::Working, "Plugin About Dialog", "mnuPluginAbout"},
      {Kind::Working, "Execute Plugin", "mnuInvoke"},
      {Kind::Later, "Plugin Information", "mnuPlugInfo"},
      {Kind::Later, "Plugin List...", "mnuListtoFile"},
      kSep,
      {Kind::Later, "Create FFL...", "mnuCreateLibrary"},
      {Kind::Later, "Add to FFL", "mnuAdd"},
      {Kind::Later, "Thumbnail", "mnuCreateBMPs"}}},
    {"&Folders",
     "mnuDirs",
     {{Kind::Later, "Rename Folder...", "mnuRenameFolder"},
      {Kind::Later, "Move Folder", "mnuMoveFolder"},
      {Kind::Later, "Kill Folder(s)", "mnuKillFolder"},
      {Kind::Later, "Create Folder ...", "mnuCreateFolder"},
      kSep,
      {Kind::Working, "Photoshop Plug-Ins Folder", "mnuPhotoshopPluginsFolder"},
      {Kind::Working, "Edit Folder List...", "mnuEditFolders"},
      kSep,
      {Kind::ListMarker, "", "mnuDirectorys"}}},
    {"&Apps",
     "mnuAppsMenu",
     {{Kind::Working, "Edit Application List...", "mnuEditApps"},
      kSep,
      {Kind::ListMarker, "", "mnuApps"}}},
    {"&Help",
     "mnuHelpMenu",
     {{Kind::Working, "Help", "mnuHelp"},
      {Kind::Working, "Tutorials", "mnuHelpTutorials"},
      {Kind::Working, "Tip of the Day", "mnuTip"},
      kSep,
      {Kind::Working, "Add URL to Favorites", "mnuAddURL0"},
      {Kind::Working, "Add URL on Desktop", "mnuAddURL1"},
      {Kind::Submenu, "Send Email", "mnuSendEmail"},
      {Kind::Working, "Comment", "mnuEmailAuthor"},
      {Kind::Working, "Technical Support", "mnuEmailTechSupport"},
      {Kind::SubmenuEnd},
      kSep,
      {Kind::Working, "About...", "mnuAbout"}}},
};

constexpr const char* kListMarkerProperty = "qmListEntries";
constexpr const char* kNoCommandProperty = "qmNoCommand";

}  // namespace

MainMenus buildMenus(QMenuBar& bar) {
  MainMenus result;
  for (const auto& table : kMenus) {
    QMenu* top = bar.addMenu(table.title);
    top->setObjectName(table.name);
    top->setToolTipsVisible(true);
    result.menus.insert(table.name, top);
    QMenu* current = top;
    for (const Entry& e : table.entries) {
      switch (e.kind) {
        case Kind::Separator:
          current->addSeparator();
          break;
        case Kind::Submenu:
          current = top->addMenu(e.caption);
          current->setObjectName(e.name);
          current->setToolTipsVisible(true);
          result.menus.insert(e.name, current);
          break;
        case Kind::SubmenuEnd:
          current = top;
          break;
        case Kind::ListMarker: {
          // An invisible marker; list entries are inserted after it.
          QAction* marker = current->addAction(QString());
          marker->setObjectName(QString(e.name) + "Marker");
          marker->setVisible(false);
          marker->setProperty(kListMarkerProperty, true);
          fillListEntries(*current, e.name, {});
          break;
        }
        default: {
          QAction* action = current->addAction(e.caption);
          action->setObjectName(e.name);
          action->setEnabled(e.kind == Kind::Working);
          if (e.kind == Kind::NoAction) {
            action->setToolTip(kNotAvailable);
            action->setProperty(kNoCommandProperty, true);
          }
          result.actions.insert(e.name, action);
        }
      }
    }
  }
  result.action("mnuPluginPreview")->setCheckable(true);
  return result;
}

bool hasCommand(const QAction& action) {
  return !action.property(kNoCommandProperty).toBool();
}

void fillListEntries(QMenu& menu, const QString& entryName, const QStringList& captions) {
  for (QAction* action : menu.actions())
    if (action->objectName() == entryName) menu.removeAction(action), action->deleteLater();
  QAction* marker = menu.findChild<QAction*>(entryName + "Marker");
  QList<QAction*> all = menu.actions();
  qsizetype at = marker ? all.indexOf(marker) + 1 : all.size();
  QAction* before = at < all.size() ? all[at] : nullptr;
  for (qsizetype i = 0; i < captions.size(); ++i) {
    auto* action = new QAction(captions[i], &menu);
    action->setObjectName(entryName);
    action->setData(static_cast<int>(i));
    menu.insertAction(before, action);
  }
}

QMenu* buildFileViewModeMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->setObjectName("mnuFileViewMenu");
  auto* group = new QActionGroup(menu);
  int mode = 0;
  for (const char* caption : {"Large Icons", "Small Icons", "List", "Details", "Classic"}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName("mnuFileViewMode");
    action->setCheckable(true);
    action->setData(mode++);
    group->addAction(action);
  }
  return menu;
}

}  // namespace qm::gui
