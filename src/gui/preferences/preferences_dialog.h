#pragma once
// "Preferences": every option of the program and its four lists, edited on a copy of the
// options that OK makes current (and saves) and Cancel throws away.

#include <QDialog>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "core/settings/options.h"

class QTabWidget;

namespace qm::gui {

struct AppContext;
struct PreferencesState;

// Pages in tab order.
enum class PreferencesPage { General, FFTF, Interface, Folders, Pictures, Apps, PluginTypes };

// What the dialog asks the desktop for; tests replace them. An empty string is Cancel.
struct PreferencesChoosers {
  std::function<QString(QWidget* parent, const QString& title)> folder;
  // filters in Qt's form ("PC FF Plugin (*.8bf);;All Files (*)").
  std::function<QString(QWidget* parent, const QString& title, const QString& filters,
                        const QString& presetName)>
      file;
  std::function<std::optional<QFont>(QWidget* parent, const QFont& current)> font;
  // Runs a program without a shell (the association steps); false when it fails.
  std::function<bool(const QStringList& argv)> run;
};

PreferencesChoosers desktopChoosers();

class PreferencesDialog final : public QDialog {
  Q_OBJECT
 public:
  PreferencesDialog(AppContext& context, PreferencesChoosers choosers, QWidget* parent = nullptr);
  ~PreferencesDialog() override;

  // Shows the dialog modally on the page; true when it was closed with OK.
  bool openOn(PreferencesPage page);
  // The copy being edited while the dialog is open.
  const PreferencesState& state() const { return *state_; }
  QTabWidget* tabs() const { return tabs_; }
  // Cancel, Escape and the close button: Load options, so the stored state is what stays.
  void reject() override;

 signals:
  // OK made the edited options current: menus, fonts and views follow them.
  void applied();
  // A list option of the File and FFL View was ticked or cleared: draft is what to show.
  void listOptionsEdited(const settings::Options& draft);
  // "Show Help File": the page of the help folder.
  void helpRequested(const QString& page);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ok();
  QString helpPage() const;

  AppContext& context_;
  std::unique_ptr<PreferencesState> state_;
  QTabWidget* tabs_;
};

}  // namespace qm::gui
