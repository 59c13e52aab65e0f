#pragma once
// The main window: two panes, the menus, the command buttons and the status line. Commands
// take their input from the active pane and use the passive pane as destination.

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "core/ff/record.h"
#include "core/settings/window_state.h"
#include "gui/main/icons.h"
#include "gui/main/menus.h"
#include "gui/main/pane.h"
#include "gui/shell/qt_progress.h"
#include "gui/shell/qt_prompter.h"
#include "platform/desktop_apps.h"
#include "platform/desktop_services.h"

namespace qm::gui {

struct AppContext;
struct WindowCommands;
class CommandRunner;
class OutsideCommands;
class UnzipCommands;
class DownloadWindow;
class PictureEditor;
class PreviewFeed;
class PreviewPanel;
class FFEditorWindow;
class WindowsPlugins;

// Commands the window runs; tests and later windows may replace them.
struct MainCommands {
  std::function<void(int pane, const std::string& category, const std::vector<std::size_t>& rows)>
      changeCategory;
  // LoadintoFFEditor with the "Original FF Editor!" interface: run the filter's temporary
  // plugin with the host's own Filter Factory dialog. Empty: the file opens in the editor.
  std::function<void(const ff::FFRecord& record)> openInHostDialog;
};

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(AppContext& context, QWidget* parent = nullptr);
  ~MainWindow() override;

  Pane* pane(int index) const { return panes_[static_cast<std::size_t>(index)]; }
  int activePane() const { return active_; }
  Pane* active() const { return pane(active_); }
  Pane* passive() const { return pane(1 - active_); }
  void setActivePane(int index);

  const MainMenus& menus() const { return menus_; }
  QMenu* fileViewModeMenu() const { return fileViewModeMenu_; }
  QtPrompter& prompter() { return prompter_; }
  QtProgress& progress() { return progress_; }
  MainCommands& commands() { return commands_; }
  QPushButton* halfModeButton() const { return halfMode_; }
  QLabel* statusText() const { return statusText_; }
  QProgressBar* progressBar() const { return progressBar_; }

  // Start-up: per pane sort, pattern, file view mode, folder; then the window geometry.
  void restorePanes(const settings::WindowState& state);
  void restoreGeometry(const settings::WindowState& state);
  // What the window saves when it closes.
  settings::WindowState currentState() const;
  // Rebuilds the Apps, picture and Folders menus from the option lists.
  void rebuildListMenus(const QStringList& folders);
  const QStringList& folderEntries() const { return folders_; }
  WindowCommands& windowCommands() { return *windowCommands_; }

  // The file view mode command for the active pane (mnuFileViewMode index).
  void setFileViewMode(int mode);
  void synchronizePanes();
  void refresh();
  void selectAll();
  void toggleSelect();
  void showProperties();
  // Double click on a file of the File View (and a file named on the command line).
  void openFile(const std::filesystem::path& file);
  // A file for the desktop's programs: the one chosen for its type this session, else its own
  // program, else the Open With chooser.
  void openWithDesktop(const std::filesystem::path& file);
  // Makes the view of the active pane current (menu View entries, tabs).
  void showView(View view);
  // A command or a scan is running: no other command may start.
  bool busy() const;
  // Enables the selection-dependent entries of the Commands menu from the active pane's
  // selection (when the menu opens).
  void updateCommandAvailability();
  AppContext& context() const { return context_; }
  PreviewPanel* previewPanel() const { return previewPanel_; }
  PreviewFeed* previewFeed() const { return previewFeed_; }
  // The Picture Editor window, made when first asked for.
  PictureEditor* pictureEditor();
  // A new preview picture ("Open Preview Image...", the picture entries, "Use as Preview
  // Image"): it is stored, listed, and the plugin preview shows it.
  void setPreviewPicture(const std::filesystem::path& file);
  // The file the active pane's selection stands for (File View or Plugin View); empty when
  // none.
  std::filesystem::path selectedFile() const;
  // The Filter Factory Editor, made on first use; null until then.
  FFEditorWindow* ffEditorIfMade() const;
  FFEditorWindow& ffEditor();
  // LoadintoFFEditor: a Filter Factory file into the editor (or the host dialog with the
  // "Original FF Editor!" interface); false when the file is no Filter Factory filter.
  bool openInFFEditor(const std::filesystem::path& file);
  // LoadIt for an FFL View: the pane's first selected library entry into the editor.
  bool openFflEntryInFFEditor(int pane);
  // "Open in FF Editor": the active pane's selected file or library entry.
  void openSelectionInFFEditor();
  // Commands > Execute Plugin: the selected filter on the Picture Editor's picture, with the
  // host's Filter Factory dialog or a Windows plugin's own (main_window_execute.cpp).
  void executePlugin();
  // Windows plugins that are not Filter Factory filters, run under Wine; made on first use.
  WindowsPlugins& windowsPlugins();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildCentral();
  void openRecordInFFEditor(const ff::FFRecord& record);
  QWidget* buildButtonRow();
  void connectPane(Pane* pane);
  void connectPluginView(int pane);
  void connectMenus();
  void viewChanged(int pane, View view);
  void popUpViewModeMenu(int pane);
  void scanStarted(int pane);
  void scanFinished(int pane, bool found);
  void showDesktopFolder(int pane);
  void showAbout();
  void openLibraryDialog(int pane);
  void showDownloadWindow();
  void connectCommands();
  CommandRunner& commandRunner();
  // main_window_filter_commands.cpp: Copy Filter to Clipboard, Save Preview, the "<<" button.
  void connectFilterCommands();
  void copySelectedFilter();
  void savePreviewPicture();
  void setHalfMode(bool collapsed);
  // main_window_pictures.cpp: the preview panel, the Picture Editor and the about box.
  QWidget* buildPreviewPanel(QWidget* beside);
  // The toolbar button of View > Preview: pressed while the preview is shown.
  QWidget* buildPreviewButton(QWidget* row);
  void connectPictureCommands();
  void showPluginAbout();
  void updatePreviewCache();
  void tickPictureEntries();
  void connectEditorMenus();
  void runInHostDialog(const ff::FFRecord& rec);

  AppContext& context_;
  FileIcons icons_;
  MainMenus menus_;
  MainCommands commands_;
  QtPrompter prompter_;
  QtProgress progress_;
  platform::DesktopServices desktop_;
  std::array<Pane*, 2> panes_{};
  int active_ = 0;
  QMenu* fileViewModeMenu_ = nullptr;
  QPushButton* halfMode_ = nullptr;
  QLabel* statusText_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QStringList folders_;
  std::unique_ptr<WindowCommands> windowCommands_;
  OutsideCommands* outside_ = nullptr;
  UnzipCommands* unzip_ = nullptr;
  QPointer<DownloadWindow> download_;
  std::map<QString, platform::DesktopApp> openWith_;  // by MIME type, for this session
  PreviewPanel* previewPanel_ = nullptr;
  PreviewFeed* previewFeed_ = nullptr;
  PictureEditor* pictureEditor_ = nullptr;
  // Shared with preview jobs that may outlive the window's own members.
  std::shared_ptr<WindowsPlugins> windowsPlugins_;
  bool dialogHelpConnected_ = false;
  QPointer<FFEditorWindow> ffEditor_;  // null again once "Unload" closed it
  QMenu* ffEditorMenu_ = nullptr;
  bool closing_ = false;  // no questions and no new scans while the window closes
};

}  // namespace qm::gui
