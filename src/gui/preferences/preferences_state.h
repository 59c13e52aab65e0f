#pragma once
// What the pages of the Preferences dialog share: the options being edited, the desktop's
// choosers, the message boxes, and how each page fills its controls from the options.

#include <QCheckBox>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <vector>

#include "core/settings/options.h"
#include "gui/preferences/preferences_dialog.h"
#include "gui/shell/qt_prompter.h"

namespace qm::gui {

struct PreferencesState {
  PreferencesState(AppContext& context, PreferencesChoosers choosers, QWidget* dialog)
      : context(context), choosers(std::move(choosers)), prompter(dialog) {}

  AppContext& context;
  PreferencesChoosers choosers;
  QtPrompter prompter;
  settings::Options draft;
  // Each page's way of showing `draft`; run when the dialog opens.
  std::vector<std::function<void()>> refreshers;
  // Opens a help page (the dialog's "Show Help File" path).
  std::function<void(const QString& page)> help;
  // A File and FFL View box changed: the lists show it at once.
  std::function<void()> listOptionsEdited;

  void refresh() {
    for (auto& r : refreshers) r();
  }
};

// A check box that edits one flag of the draft.
QCheckBox* boundCheck(PreferencesState& state, QWidget* parent, const QString& caption,
                      const QString& name, bool& flag, const QString& tip = {});
QPushButton* namedButton(QWidget* parent, const QString& caption, const QString& name,
                         const QString& tip = {});
QString qs(std::string_view text);

QWidget* buildGeneralPage(PreferencesState& state, QWidget* parent);
QWidget* buildFFTFPage(PreferencesState& state, QWidget* parent);
QWidget* buildInterfacePage(PreferencesState& state, QWidget* parent);
// Lists 0 to 2: folders, pictures, applications.
QWidget* buildListPage(PreferencesState& state, int list, QWidget* parent);
QWidget* buildPluginTypesPage(PreferencesState& state, QWidget* parent);

}  // namespace qm::gui
