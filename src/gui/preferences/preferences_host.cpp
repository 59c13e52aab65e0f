#include "gui/preferences/preferences_host.h"

#include <QApplication>
#include <QHeaderView>

#include "core/preferences/list_editing.h"
#include "core/preferences/preferences_model.h"
#include "gui/batch/convert_dialog.h"
#include "gui/editor/ff_editor_window.h"
#include "gui/main/app_context.h"
#include "gui/main/ffl_view.h"
#include "gui/main/file_view.h"
#include "gui/main/main_window.h"
#include "gui/main/window_commands.h"
#include "gui/shell/help_viewer.h"

namespace qm::gui {

PreferencesHost::PreferencesHost(MainWindow& window, AppContext& context,
                                 PreferencesChoosers choosers)
    : QObject(&window), window_(window), context_(context), choosers_(std::move(choosers)) {
  setObjectName("preferencesHost");
  const std::pair<const char*, PreferencesPage> entries[] = {
      {"mnuOptions", PreferencesPage::General},
      {"mnuEditFolders", PreferencesPage::Folders},
      {"mnuEditImageList", PreferencesPage::Pictures},
      {"mnuEditApps", PreferencesPage::Apps}};
  for (auto [name, page] : entries) {
    QAction* action = window.menus().action(name);
    if (!action) continue;
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, [this, page] { open(page); });
  }
  for (int i = 0; i < 2; ++i) {
    connect(window.pane(i), &Pane::folderChanged, this, &PreferencesHost::folderUsed);
    connect(window.pane(i), &Pane::fflViewMade, this,
            [this] { applyListOptions(window_, context_.options); });
  }
  // "Output Settings" of the Convert dialog: the page that chooses the plugin format.
  connect(&window.windowCommands().runner.convertDialog(), &ConvertDialog::outputSettingsRequested,
          this, [this] { open(PreferencesPage::FFTF); });
}

// The lists are written once more when the program ends.
PreferencesHost::~PreferencesHost() {
  preferences::saveListFiles(context_.programDir, context_.options);
}

PreferencesDialog& PreferencesHost::dialog() {
  if (!dialog_) {
    dialog_ = new PreferencesDialog(context_, choosers_, &window_);
    connect(dialog_, &PreferencesDialog::applied, this, &PreferencesHost::apply);
    // The File and FFL View boxes show at once; Cancel puts back what was in force.
    connect(dialog_, &PreferencesDialog::listOptionsEdited, this,
            [this](const settings::Options& draft) { applyListOptions(window_, draft); });
    // Cancel reloads the lists from their files: the menus show them again.
    connect(dialog_, &QDialog::rejected, this, [this] {
      rebuildListMenus(window_, context_.options);
      applyListOptions(window_, context_.options);
    });
    connect(dialog_, &PreferencesDialog::helpRequested, this, [this](const QString& page) {
      auto warn = [this](std::string_view text) { window_.prompter().warn(text, "Quillmark"); };
      platform::DesktopServices help(
          context_.programDir,
          context_.urlOpener
              ? context_.urlOpener
              : platform::desktopUrlOpener(
                    warn, [this](const QString& file) { showHelpPage(file, &window_); }),
          warn);
      help.ShowHelp(page.toStdString());
    });
  }
  return *dialog_;
}

bool PreferencesHost::open(PreferencesPage page) {
  return dialog().openOn(page);
}

void PreferencesHost::apply() {
  rebuildListMenus(window_, context_.options);
  applyFonts(context_.options);
  applyListOptions(window_, context_.options);
  if (FFEditorWindow* editor = window_.ffEditorIfMade())
    editor->applyDesign(context_.options.interfaceDesign);
  // The Plugin View lists by the type table's pattern and the scan options.
  window_.refresh();
}

void PreferencesHost::folderUsed(int pane) {
  const auto& o = context_.options;
  preferences::FolderUseRules rules{o.autoAdd[0], o.autoTop, o.folderItemLimit};
  if (preferences::noteFolderUse(context_.options.folders, window_.pane(pane)->folder().string(),
                                 rules))
    rebuildListMenus(window_, context_.options);
}

PreferencesHost& installPreferences(MainWindow& window, AppContext& context,
                                    PreferencesChoosers choosers) {
  auto* host = new PreferencesHost(window, context, std::move(choosers));
  rebuildListMenus(window, context.options);
  applyFonts(context.options);
  applyListOptions(window, context.options);
  return *host;
}

bool openPreferences(MainWindow& window, PreferencesPage page) {
  auto* host = window.findChild<PreferencesHost*>("preferencesHost", Qt::FindDirectChildrenOnly);
  return host && host->open(page);
}

void rebuildListMenus(MainWindow& window, const settings::Options& options) {
  QStringList folders;
  for (const auto& f : options.folders) folders << QString::fromStdString(f);
  window.rebuildListMenus(folders);
}

namespace {

QFont fontOf(const settings::FontChoice& choice) {
  QFont font(QString::fromStdString(choice.name));
  font.setPointSize(choice.size);
  font.setBold(choice.bold);
  font.setItalic(choice.italic);
  return font;
}

}  // namespace

void applyFonts(const settings::Options& options) {
  if (options.otherFont.applies()) QApplication::setFont(fontOf(options.otherFont));
  if (options.listFont.applies()) {
    for (const char* kind : {"QAbstractItemView", "QComboBox"})
      QApplication::setFont(fontOf(options.listFont), kind);
  }
}

namespace {

// Options 0 to 4 on one list; a flat scroll bar has no counterpart in today's styles, so
// option 3 is only kept and stored.
void applyToList(QAbstractItemView* list, const settings::Options& options) {
  using settings::FileViewOption;
  bool hot = options.fileViewOption(FileViewOption::HotTracking);
  list->setMouseTracking(hot);
  list->viewport()->setAttribute(Qt::WA_Hover, hot);
  auto* tree = qobject_cast<QTreeView*>(list);
  if (!tree) return;
  tree->header()->setSectionResizeMode(options.fileViewOption(FileViewOption::AutoColumnWidth)
                                           ? QHeaderView::ResizeToContents
                                           : QHeaderView::Interactive);
  tree->setAllColumnsShowFocus(options.fileViewOption(FileViewOption::FullRowSelection));
  tree->setStyleSheet(options.fileViewOption(FileViewOption::Gridlines)
                          ? "QTreeView::item { border-right: 1px solid palette(midlight);"
                            " border-bottom: 1px solid palette(midlight); }"
                          : QString());
}

}  // namespace

void applyListOptions(MainWindow& window, const settings::Options& options) {
  for (int i = 0; i < 2; ++i) {
    FileView* view = window.pane(i)->fileView();
    for (QAbstractItemView* list : {static_cast<QAbstractItemView*>(view->detailsView()),
                                    static_cast<QAbstractItemView*>(view->iconView()),
                                    static_cast<QAbstractItemView*>(view->classicList())})
      applyToList(list, options);
    // The FFL View is made when first shown; one made later gets the options then.
    if (auto* ffl = window.pane(i)->findChild<FflView*>()) applyToList(ffl->list(), options);
  }
}

}  // namespace qm::gui
