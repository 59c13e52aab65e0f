#pragma once
// The Filter Factory Editor: four formula boxes, eight sliders, four maps, the five texts and
// a live preview, dressed in the interface design chosen in the Preferences.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

#include "core/common/ports.h"
#include "core/editor/design_file.h"
#include "core/editor/editor_fields.h"
#include "core/editor/slider_rules.h"
#include "core/editor/snippets.h"
#include "core/ff/plugin_architecture.h"
#include "core/ff/record.h"
#include "gui/editor/editable_label.h"
#include "gui/editor/formula_edit.h"
#include "gui/editor/graphic_slider.h"
#include "gui/editor/modern_layout.h"
#include "gui/editor/preview_worker.h"
#include "gui/shell/qt_prompter.h"

namespace qm::gui {

struct AppContext;
class LargePreview;
class FormulaTools;
class OverwriteDialog;
class SelectFolderDialog;

// What the editor needs from the main window; every hook may stay empty.
struct EditorHooks {
  std::function<std::filesystem::path()> passiveFolder;
  std::function<void()> filesWritten;  // refresh the file lists
  std::function<void(std::string_view page)> showHelp;
  std::function<void(std::string_view address, std::string_view subject)> sendEmail;
  // A new preview picture chosen here: stored and listed by the program, which then calls
  // setPreviewPicture. Empty: the editor stores and lists it as the program would.
  std::function<void(const std::filesystem::path& file)> previewPictureChosen;
  // The program's Select Folder and Overwrite dialogs for "Save" (the window's own folder
  // chooser and overwrite question when null).
  SelectFolderDialog* selectFolder = nullptr;
  OverwriteDialog* overwriteDialog = nullptr;
};

inline constexpr const char* kEditorCaption = "Filter Factory Editor";
// The preview picture is kept at most this large; no preview box outgrows it.
inline constexpr QSize kLargestPreviewSource(2048, 2048);

class FFEditorWindow final : public QWidget {
  Q_OBJECT
 public:
  // prompter: null shows dialogs over this window.
  FFEditorWindow(AppContext& context, Prompter* prompter = nullptr, QWidget* parent = nullptr);
  ~FFEditorWindow() override;

  EditorHooks& hooks() { return hooks_; }

  // Scatters the record into the controls and previews it.
  void loadRecord(const ff::FFRecord& record);

  editor::EditorFields fields() const;
  ff::FFRecord gatheredRecord() const;

  // The design file of that name in the interface folder (Interfc5.des when missing).
  void applyDesign(const std::string& name);
  const editor::Design& design() const { return design_; }
  // The layout of a resizable design; null for the fixed ones.
  ModernLayout* modernLayout() const { return modern_.get(); }

  // The commands of the editor menu; the main window's "FF Editor" menu is filled with them.
  void fillEditorMenu(QMenu* menu);
  // live: a step of a slider drag (see PreviewWorker); while a full preview would take longer
  // than a frame, drag steps are drawn from a smaller copy and the full one follows the drag.
  void updatePreview(bool live = false);
  // everySlider: all eight (File > Randomize), else the editor's own rule.
  void randomize(bool everySlider = false);
  void resetFilter();
  void copyFilterToClipboard();
  void pasteFilterFromClipboard();
  void saveFilter();
  void printFilter();
  void copyPreviewToClipboard();
  // Shows file as the preview picture; storing and listing it is the caller's.
  // decoded: the picture as already read by the caller (at most kLargestPreviewSource);
  // null reads the file.
  void setPreviewPicture(const std::filesystem::path& file, const QImage& decoded = {});
  void showLargePreview();
  void setOneBoxMode(bool one);
  bool oneBoxMode() const { return oneBox_; }
  void setSliderActive(int k, bool active);
  // The slider row last focused or clicked (-1: none yet).
  int selectedSlider() const { return selectedSlider_; }

  // For tests and the main window.
  FormulaEdit* box(int index) const { return boxes_[index]; }
  QSlider* slider(int k) const { return sliders_[k]; }
  GraphicSlider* graphicSlider(int k) const { return graphics_[k]; }
  QSpinBox* valueBox(int k) const { return values_[k]; }
  EditableLabel* nameLabel(int k) const { return names_[k]; }
  EditableLabel* textLabel(int k) const { return texts_[k]; }
  QCheckBox* mapBox(int m) const { return maps_[m]; }
  QCheckBox* autoPreviewBox() const { return autoPreview_; }
  QComboBox* saveFormatBox() const { return saveFormat_; }
  QPushButton* spotButton(int k) const { return spots_[k]; }
  QPushButton* deleteSpotButton() const { return deleteSpot_; }
  QLabel* previewBox() const { return preview_; }
  QLabel* alphaLabel() const { return alpha_; }
  QLabel* hotspot() const { return hotspot_; }
  FormulaTools* formulaTools() const { return tools_; }
  // "Show Alpha Channel": previews show the alpha formula as grey (checkable, shared by menus).
  QAction* alphaViewAction() const { return alphaView_; }
  PreviewWorker& worker() { return *worker_; }
  const editor::MemorySpots& memorySpots() const { return memory_; }
  // Waits for the newest preview and hands its result to the window (tests).
  void finishPreview();

 signals:
  void previewShown();
  // The window is being closed for good ("Unload").
  void closing();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void placeControls();
  void placeCodeBoxes();
  void applyWindowShape(int width, int height);
  void orderKeyboardFocus();
  void connectControls();
  void scatter(const editor::EditorFields& fields);
  void showSliderCaptions();
  void sliderMoved(int k, int value);
  void previewDone(quint64 id, const QImage& image, const QString& message);
  void refreshDiagnostics();
  void showCaption();
  void insertIntoBox(const QString& text, bool function);
  void spotClicked(int spot);
  void showSpot(int spot);
  void largerFonts();
  void loadPreviewCopy(const QImage& decoded = {});
  // The preview copy made again for the preview box's size in device pixels; true when it
  // changed.
  bool fitPreviewCopy();
  // The picture a drag step runs on: the preview copy, or a smaller one when the copy would
  // take longer than a frame.
  std::shared_ptr<const host::Image> dragPicture();
  void choosePreviewPicture();
  void editorMenuAt(const QPoint& globalPos);
  // The Functions, Variables and Snippets submenus (editor menu and a box's right click).
  void addInsertMenus(QMenu* menu);
  editor::SliderNames sliderNamesForCompletion() const;

  AppContext& context_;
  std::unique_ptr<QtPrompter> ownPrompter_;
  Prompter* prompter_;
  EditorHooks hooks_;
  ff::FFRecord base_;  // fields the controls do not show (dialect)
  editor::Design design_;
  editor::MemorySpots memory_;
  std::vector<editor::Snippet> snippets_;
  std::array<std::string, 4> mapNames_;
  std::array<bool, 8> deactivated_{};
  bool oneBox_ = false;
  bool alphaShownPending_ = false;
  bool previewRunning_ = false;
  std::filesystem::path previewPicture_;
  // The picture as read (at most a few megapixels), and its copy scaled into the preview box.
  std::shared_ptr<const host::Image> previewSource_;
  std::shared_ptr<const host::Image> previewCopy_;
  QSize previewCopyBox_;  // device pixels the copy was made for
  QTimer boxResized_;     // the box's new size, once per round of layout
  // The copy at a fraction of its size for drag steps, and the full preview after the drag.
  std::shared_ptr<const host::Image> draftCopy_;
  int draftDivisor_ = 1;
  QTimer dragSettled_;
  quint64 lastShown_ = 0;
  QPixmap background_;
  QPoint dragFrom_;
  FormulaEdit* lastBox_ = nullptr;
  FormulaTools* tools_ = nullptr;
  int selectedSlider_ = -1;  // the row "Activate/Deactivate Slider" works on
  bool shownBefore_ = false;

  std::array<EditableLabel*, 5> texts_{};
  std::array<FormulaEdit*, 4> boxes_{};
  std::array<QLabel*, 4> boxLabels_{};
  std::array<EditableLabel*, 8> names_{};
  std::array<QSlider*, 8> sliders_{};
  std::array<GraphicSlider*, 8> graphics_{};
  std::array<QSpinBox*, 8> values_{};
  std::array<QCheckBox*, 4> maps_{};
  std::array<QPushButton*, 10> spots_{};
  QPushButton* deleteSpot_ = nullptr;
  QComboBox* functions_ = nullptr;
  QComboBox* snippetBox_ = nullptr;
  QComboBox* saveFormat_ = nullptr;
  ff::PluginArchitecture architecture_ = ff::PluginArchitecture::Stored;
  QCheckBox* autoPreview_ = nullptr;
  QPushButton* codeBoxesButton_ = nullptr;
  QPushButton* fontsButton_ = nullptr;
  QPushButton* minimizeButton_ = nullptr;
  QPushButton* hideButton_ = nullptr;
  QPushButton* unloadButton_ = nullptr;
  QPushButton* saveButton_ = nullptr;
  QLabel* preview_ = nullptr;
  QLabel* alpha_ = nullptr;
  QLabel* hotspot_ = nullptr;
  QString hotspotAddress_;
  QTimer typingTimer_;
  QMenu* menu_ = nullptr;
  QAction* alphaView_ = nullptr;
  std::unique_ptr<PreviewWorker> worker_;
  std::unique_ptr<ModernLayout> modern_;
  LargePreview* large_ = nullptr;
};

}  // namespace qm::gui
