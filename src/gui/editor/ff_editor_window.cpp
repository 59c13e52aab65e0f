#include "gui/editor/ff_editor_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRandomGenerator>
#include <QShortcut>
#include <QTextDocument>

#include "core/common/cp1252.h"
#include "core/editor/diagnostics.h"
#include "core/editor/formula_catalogue.h"
#include "core/editor/formula_errors.h"
#include "core/editor/preview_formulas.h"
#include "core/editor/save_filter.h"
#include "core/ff/sources.h"
#include "core/host/image_library.h"
#include "core/host/preview_picture.h"
#include "core/picture/preview_choice.h"
#include "core/settings/startup.h"
#include "gui/batch/batch_prompter.h"
#include "gui/editor/design_look.h"
#include "gui/editor/error_list.h"
#include "gui/editor/find_bar.h"
#include "gui/editor/formula_tools.h"
#include "gui/editor/large_preview.h"
#include "gui/editor/modern_layout.h"
#include "gui/main/app_context.h"
#include "gui/picture/picture_filters.h"
#include "gui/picture/picture_loading.h"
#include "platform/image_codec.h"

namespace qm::gui {
namespace {

QString qs(std::string_view cp1252) {
  return QString::fromStdString(cp1252ToUtf8(cp1252));
}
std::string bytes(const QString& text) {
  return utf8ToCp1252(text.toStdString());
}

// The plain layout; designs are drawn to fit it. A caption strip runs along the top.
constexpr int kCaptionHeight = 24;
constexpr int kPlainWidth = 780, kPlainHeight = 540;
// The preview box: the original's 1920 x 1320 twips at twice its pixel size, for today's
// denser screens.
constexpr int kPreviewWidth = 256, kPreviewHeight = 176;
constexpr const char* kBoxNames[4] = {"A=", "R=", "G=", "B="};

// A picture to preview on when the chosen one cannot be read: colour ramps and a grey wedge.
host::Image fallbackPicture() {
  host::Image img = host::Image::blank(kPreviewWidth, kPreviewHeight, false);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      auto* p = img.pixel(x, y);
      p[0] = static_cast<std::uint8_t>(x * 255 / (img.width - 1));
      p[1] = static_cast<std::uint8_t>(y * 255 / (img.height - 1));
      p[2] = static_cast<std::uint8_t>(255 - (x + y) * 255 / (img.width + img.height - 2));
    }
  return img;
}

}  // namespace

FFEditorWindow::FFEditorWindow(AppContext& context, Prompter* prompter, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      context_(context),
      ownPrompter_(prompter ? nullptr : std::make_unique<QtPrompter>(this)),
      prompter_(prompter ? prompter : ownPrompter_.get()),
      worker_(std::make_unique<PreviewWorker>()) {
  setObjectName("FFEditorType1");
  setWindowTitle(kEditorCaption);
  buildControls();
  connectControls();
  snippets_ = editor::readSnippetFile(context_.programDir / "Snipets.db");
  for (const auto& s : snippets_) snippetBox_->addItem(qs(s.name));
  previewPicture_ = host::previewPicturePath(context_.options.previewPicture, context_.programDir);
  scatter(editor::EditorFields::reset());
  applyDesign(context_.options.interfaceDesign);
  loadPreviewCopy();
}

void FFEditorWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The texts come first in the Tab order, but a filter writer opens the editor to type.
  if (!shownBefore_) boxes_[editor::kBoxRed]->setFocus();
  shownBefore_ = true;
}

FFEditorWindow::~FFEditorWindow() = default;

void FFEditorWindow::buildControls() {
  static constexpr const char* kTextTips[5] = {"File name", "Category", "Filter name", "Author",
                                               "Copyright"};
  for (int k = 0; k < 5; ++k) {
    texts_[k] = new EditableLabel(this);
    texts_[k]->setObjectName("Label6");
    texts_[k]->setFrameShape(QFrame::StyledPanel);
    texts_[k]->setAutoFillBackground(true);
    texts_[k]->setToolTip(QString("%1 (click or F2 to edit)").arg(kTextTips[k]));
  }
  for (int b = 0; b < 4; ++b) {
    boxes_[b] = new FormulaEdit(this);
    boxes_[b]->setObjectName("Text5");
    boxLabels_[b] = new QLabel(kBoxNames[b], this);
    boxLabels_[b]->setAlignment(Qt::AlignRight | Qt::AlignTop);
    QFont bold = boxLabels_[b]->font();
    bold.setBold(true);
    boxLabels_[b]->setFont(bold);
  }
  lastBox_ = boxes_[editor::kBoxRed];
  tools_ = new FormulaTools(this, boxes_, [this] { return oneBox_; });
  for (auto* box : boxes_) {
    box->setSliderNames([this] { return sliderNamesForCompletion(); });
    box->setContextMenuHook([this](QMenu* menu) { addInsertMenus(menu); });
  }
  for (int k = 0; k < 8; ++k) {
    names_[k] = new EditableLabel(this);
    names_[k]->setObjectName("Label7");
    sliders_[k] = new QSlider(Qt::Horizontal, this);
    sliders_[k]->setObjectName("HScroll1");
    sliders_[k]->setRange(0, 255);
    graphics_[k] = new GraphicSlider(this);
    graphics_[k]->setObjectName("Picture2");
    graphics_[k]->hide();
    values_[k] = new QSpinBox(this);
    values_[k]->setObjectName("Label1");
    values_[k]->setRange(0, 255);
    values_[k]->setToolTip("Type a value or use the arrow keys; F2 renames the slider");
    for (QWidget* part : {static_cast<QWidget*>(sliders_[k]), static_cast<QWidget*>(graphics_[k]),
                          static_cast<QWidget*>(values_[k]), static_cast<QWidget*>(names_[k])}) {
      part->setProperty("sliderRow", k);
      part->installEventFilter(this);
    }
  }
  for (int m = 0; m < 4; ++m) {
    maps_[m] = new QCheckBox(QString("Activate Map %1").arg(m + 1), this);
    maps_[m]->setObjectName("Check1");
  }
  functions_ = new QComboBox(this);
  functions_->setObjectName("Combo1");
  // A short first entry fits the box; the whole sentence is its tooltip.
  functions_->addItem("Paste a function...");
  functions_->setToolTip("FF functions ready to paste into a code window");
  for (const auto& f : editor::functionEntries()) {
    functions_->addItem(QString::fromStdString(editor::signature(f)),
                        QString::fromStdU16String(editor::insertionText(f)));
    functions_->setItemData(functions_->count() - 1, QString::fromStdString(std::string(f.meaning)),
                            Qt::ToolTipRole);
  }
  snippetBox_ = new QComboBox(this);
  snippetBox_->setObjectName("Combo1_1");
  snippetBox_->addItem("Code Snipet Database");
  snippetBox_->setToolTip("Code Snipet Database");  // readable where a narrow window clips it
  saveFormat_ = new QComboBox(this);
  saveFormat_->setObjectName("Combo2");
  saveFormat_->addItems({"Photoshop Plug", "AFS File", "PFF File", "Text File"});
  saveFormat_->setToolTip("Choose Save Format");
  saveButton_ = new QPushButton("Save Filter...", this);
  autoPreview_ = new QCheckBox("Auto Preview", this);
  autoPreview_->setObjectName("Check2");
  autoPreview_->setChecked(true);
  autoPreview_->setToolTip("Activate/Deactivate Auto Refresh of Preview");
  codeBoxesButton_ = new QPushButton("1", this);
  codeBoxesButton_->setObjectName("Command10");
  codeBoxesButton_->setToolTip("One/Three code boxes");
  fontsButton_ = new QPushButton("Larger Fonts", this);
  fontsButton_->setObjectName("Command14");
  for (int k = 0; k < 10; ++k) {
    spots_[k] = new QPushButton(QString::number(k + 1), this);
    spots_[k]->setObjectName("Command7");
    spots_[k]->setToolTip("Memory Spot: click to store the sliders, click again to recall");
  }
  deleteSpot_ = new QPushButton("Delete", this);
  deleteSpot_->setObjectName("Command8");
  deleteSpot_->setToolTip("Click, then select a Spot to delete");
  minimizeButton_ = new QPushButton("Minimize", this);
  minimizeButton_->setObjectName("Command12");
  minimizeButton_->setToolTip("Minimize Window");
  hideButton_ = new QPushButton("Hide", this);
  hideButton_->setObjectName("Command9");
  hideButton_->setToolTip("Hide FF Editor");
  unloadButton_ = new QPushButton("Unload", this);
  unloadButton_->setObjectName("Command16");
  unloadButton_->setToolTip("Unload FF Editor from Memory");
  preview_ = new QLabel(this);
  preview_->setObjectName("Picture1");
  preview_->setFrameShape(QFrame::Box);
  preview_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  preview_->setToolTip("Click me to update preview!");
  preview_->installEventFilter(this);
  alpha_ = new QLabel("Alpha", preview_);
  QFont alphaFont("Arial", 8);
  alphaFont.setBold(true);
  alpha_->setFont(alphaFont);
  alpha_->setStyleSheet("color: rgb(255, 0, 0); background: transparent;");
  alpha_->adjustSize();
  alpha_->hide();
  hotspot_ = new QLabel(this);
  hotspot_->setObjectName("Label10");
  hotspot_->setCursor(Qt::PointingHandCursor);
  hotspot_->setText("\u2709 Design");
  hotspot_->setAlignment(Qt::AlignCenter);
  hotspot_->setStyleSheet("QLabel { color: white; } QLabel:focus { border: 1px solid white; }");
  hotspot_->setFocusPolicy(Qt::StrongFocus);
  hotspot_->installEventFilter(this);
  hotspot_->hide();
  typingTimer_.setSingleShot(true);
  typingTimer_.setInterval(2000);
  boxResized_.setSingleShot(true);
  boxResized_.setInterval(0);
  dragSettled_.setSingleShot(true);
  dragSettled_.setInterval(150);
  alphaView_ = new QAction("Show Alpha Channel", this);
  alphaView_->setObjectName("mnuAlphaChannel");
  alphaView_->setCheckable(true);
  connect(alphaView_, &QAction::toggled, this, [this] { updatePreview(); });
  menu_ = new QMenu(this);
  fillEditorMenu(menu_);
  placeControls();
}

void FFEditorWindow::placeControls() {
  const int top = kCaptionHeight + 8;
  for (int k = 0; k < 5; ++k) texts_[k]->setGeometry(16 + k * 150, top, 142, 22);
  preview_->setGeometry(16, top + 32, kPreviewWidth + 2, kPreviewHeight + 2);
  alpha_->move(preview_->width() - alpha_->width() - 6, preview_->height() - alpha_->height() - 6);
  for (int k = 0; k < 8; ++k) {
    const int y = top + 220 + k * 28;
    names_[k]->setGeometry(16, y, 100, 24);
    sliders_[k]->setGeometry(120, y, 112, 24);
    graphics_[k]->setGeometry(120, y + 2, 112, 20);
    values_[k]->setGeometry(236, y, 54, 24);
  }
  functions_->setGeometry(306, top + 276, 226, 26);
  snippetBox_->setGeometry(538, top + 276, 226, 26);
  for (int m = 0; m < 4; ++m) maps_[m]->setGeometry(306, top + 312 + m * 26, 150, 22);
  saveFormat_->setGeometry(466, top + 312, 148, 26);
  saveButton_->setGeometry(620, top + 312, 144, 26);
  autoPreview_->setGeometry(466, top + 346, 148, 22);
  tools_->errorList()->setGeometry(466, top + 376, 298, 66);
  codeBoxesButton_->setGeometry(620, top + 344, 30, 26);
  fontsButton_->setGeometry(656, top + 344, 108, 26);
  const int bottom = top + 450;
  for (int k = 0; k < 10; ++k) spots_[k]->setGeometry(16 + k * 36, bottom, 32, 28);
  deleteSpot_->setGeometry(380, bottom, 70, 28);
  minimizeButton_->setGeometry(500, bottom, 84, 28);
  hideButton_->setGeometry(590, bottom, 80, 28);
  unloadButton_->setGeometry(676, bottom, 88, 28);
}

void FFEditorWindow::placeCodeBoxes() {
  if (modern_) {
    modern_->showCodeBoxes(oneBox_);
    boxLabels_[editor::kBoxRed]->setText(oneBox_ ? "C=" : "R=");
    return;
  }
  const auto& r = design_.codeBoxes;
  const int left = r.left + 26, width = std::max(40, r.right - r.left - 26);
  const int height = std::max(40, r.bottom - r.top);
  // One-box mode: "C=" over three quarters, alpha below; three boxes: a quarter each.
  const int rows = 4;
  const int gap = 4, row = (height - gap * (rows - 1)) / rows;
  auto place = [&](int box, int y, int h) {
    boxes_[box]->setGeometry(left, y, width, h);
    boxLabels_[box]->setGeometry(r.left, y + 3, 22, 20);
    boxes_[box]->show();
    boxLabels_[box]->show();
  };
  if (oneBox_) {
    const int big = row * 3 + gap * 2;
    place(editor::kBoxRed, r.top, big);
    place(editor::kBoxAlpha, r.top + big + gap, row);
    for (int b : {editor::kBoxGreen, editor::kBoxBlue}) boxes_[b]->hide(), boxLabels_[b]->hide();
    boxLabels_[editor::kBoxRed]->setText("C=");
  } else {
    int y = r.top;
    for (int b : {editor::kBoxRed, editor::kBoxGreen, editor::kBoxBlue, editor::kBoxAlpha}) {
      place(b, y, row);
      y += row + gap;
    }
    boxLabels_[editor::kBoxRed]->setText("R=");
  }
}

void FFEditorWindow::connectControls() {
  for (int k = 0; k < 8; ++k) {
    connect(sliders_[k], &QSlider::valueChanged, this, [this, k](int v) { sliderMoved(k, v); });
    connect(graphics_[k], &QAbstractSlider::valueChanged, this,
            [this, k](int v) { sliderMoved(k, v); });
    connect(values_[k], &QSpinBox::valueChanged, this, [this, k](int v) { sliderMoved(k, v); });
    connect(names_[k], &EditableLabel::edited, this, [this, k](const QString& text) {
      const int m = k / 2;
      if (maps_[m]->isChecked())
        mapNames_[m] = bytes(text);
      else
        base_.controlNames[k] = bytes(text);
      showSliderCaptions();
      if (autoPreview_->isChecked()) updatePreview();
    });
  }
  for (auto* label : texts_)
    connect(label, &EditableLabel::edited, this, [this] {
      if (autoPreview_->isChecked()) updatePreview();
    });
  for (int m = 0; m < 4; ++m)
    connect(maps_[m], &QCheckBox::toggled, this, [this, m](bool on) {
      if (on && mapNames_[m].empty()) mapNames_[m] = "Map " + std::to_string(m + 1);
      showSliderCaptions();
      if (autoPreview_->isChecked()) updatePreview();
    });
  for (auto* box : boxes_) {
    connect(box, &FormulaEdit::focused, this, [this](FormulaEdit* b) { lastBox_ = b; });
    connect(box, &FormulaEdit::typed, this, [this] { typingTimer_.start(); });
    connect(box, &QPlainTextEdit::textChanged, this, &FFEditorWindow::refreshDiagnostics);
  }
  connect(&typingTimer_, &QTimer::timeout, this, [this] {
    if (autoPreview_->isChecked()) updatePreview();
  });
  connect(autoPreview_, &QCheckBox::toggled, this, [this] { updatePreview(); });
  connect(&dragSettled_, &QTimer::timeout, this, [this] {
    if (autoPreview_->isChecked()) updatePreview();
  });
  // A box of another size (or on a denser screen) gets a copy made for it.
  connect(&boxResized_, &QTimer::timeout, this, [this] {
    if (previewSource_ && fitPreviewCopy()) updatePreview();
  });
  connect(functions_, &QComboBox::activated, this, [this](int index) {
    if (index > 0) insertIntoBox(functions_->itemData(index).toString(), true);
    functions_->setCurrentIndex(0);
  });
  connect(snippetBox_, &QComboBox::activated, this, [this](int index) {
    if (index > 0 && index - 1 < static_cast<int>(snippets_.size()))
      insertIntoBox(qs(snippets_[index - 1].code), false);
    snippetBox_->setCurrentIndex(0);
  });
  connect(saveButton_, &QPushButton::clicked, this, &FFEditorWindow::saveFilter);
  connect(codeBoxesButton_, &QPushButton::clicked, this, [this] { setOneBoxMode(!oneBox_); });
  connect(fontsButton_, &QPushButton::clicked, this, &FFEditorWindow::largerFonts);
  for (int k = 0; k < 10; ++k)
    connect(spots_[k], &QPushButton::clicked, this, [this, k] { spotClicked(k); });
  connect(deleteSpot_, &QPushButton::clicked, this, [this] {
    memory_.armDelete();
    deleteSpot_->setEnabled(false);
    setCursor(Qt::CrossCursor);
  });
  connect(minimizeButton_, &QPushButton::clicked, this, &QWidget::showMinimized);
  connect(hideButton_, &QPushButton::clicked, this, &QWidget::hide);
  connect(unloadButton_, &QPushButton::clicked, this, &QWidget::close);
  connect(worker_.get(), &PreviewWorker::finished, this, &FFEditorWindow::previewDone,
          Qt::QueuedConnection);
  // The editor menu without the mouse: F10 opens it over the preview.
  connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
          [this] { editorMenuAt(preview_->mapToGlobal(preview_->rect().center())); });
  // What a click on the preview does.
  connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this,
          [this] { updatePreview(); });
}

editor::EditorFields FFEditorWindow::fields() const {
  editor::EditorFields f;
  for (int k = 0; k < 5; ++k) f.texts[k] = bytes(texts_[k]->text());
  for (int b = 0; b < 4; ++b) f.boxes[b] = boxes_[b]->formula();
  for (int k = 0; k < 8; ++k) {
    // A mapped pair shows the map's name; the sliders keep their own names underneath.
    f.sliders.names[k] = base_.controlNames[k];
    f.sliders.values[k] = static_cast<std::uint8_t>(values_[k]->value());
    f.sliders.deactivated[k] = deactivated_[k];
  }
  for (int m = 0; m < 4; ++m) f.sliders.mapActive[m] = maps_[m]->isChecked();
  f.mapNames = mapNames_;
  f.oneBox = oneBox_;
  return f;
}

ff::FFRecord FFEditorWindow::gatheredRecord() const {
  return editor::gather(fields(), base_);
}

void FFEditorWindow::scatter(const editor::EditorFields& f) {
  setEnabled(false);
  for (int k = 0; k < 5; ++k) texts_[k]->setText(qs(f.texts[k]));
  for (int b = 0; b < 4; ++b) boxes_[b]->setFormula(f.boxes[b]);
  for (int k = 0; k < 8; ++k) {
    base_.controlNames[k] = f.sliders.names[k];
    sliders_[k]->setValue(f.sliders.values[k]);
    graphics_[k]->setValue(f.sliders.values[k]);
    values_[k]->setValue(f.sliders.values[k]);
  }
  mapNames_ = f.mapNames;
  for (int m = 0; m < 4; ++m) {
    QSignalBlocker quiet(maps_[m]);
    maps_[m]->setChecked(f.sliders.mapActive[m]);
  }
  showSliderCaptions();
  setEnabled(true);
}

void FFEditorWindow::showSliderCaptions() {
  editor::EditorFields f;
  f.sliders.names = base_.controlNames;
  for (int m = 0; m < 4; ++m) f.sliders.mapActive[m] = maps_[m]->isChecked();
  f.mapNames = mapNames_;
  for (int k = 0; k < 8; ++k) {
    // The second slider of an active map shows the name too, dimmed, so the pair reads as one.
    names_[k]->setText(qs(editor::sliderCaption(f, k)));
    names_[k]->setEnabled(!(f.sliders.mapActive[k / 2] && k % 2 == 1));
    names_[k]->setStruckThrough(deactivated_[k]);
  }
}

void FFEditorWindow::loadRecord(const ff::FFRecord& record) {
  // A filter whose colours differ needs its three boxes: one box would hide two of them.
  const auto& rgb = record.formulas;
  if (oneBox_ && (rgb[0] != rgb[1] || rgb[0] != rgb[2])) setOneBoxMode(false);
  base_ = record;
  editor::EditorFields f = fields();
  editor::scatter(record, f);
  scatter(f);
  updatePreview();
}

void FFEditorWindow::sliderMoved(int k, int value) {
  // The three controls of a slider follow each other without echoing back.
  for (QAbstractSlider* s :
       {static_cast<QAbstractSlider*>(sliders_[k]), static_cast<QAbstractSlider*>(graphics_[k])}) {
    QSignalBlocker quiet(s);
    s->setValue(value);
  }
  {
    QSignalBlocker quiet(values_[k]);
    values_[k]->setValue(value);
  }
  // Dragging previews all the way, not just on release.
  if (isEnabled() && autoPreview_->isChecked()) updatePreview(true);
}

void FFEditorWindow::refreshDiagnostics() {
  tools_->refresh();
  showCaption();
}

void FFEditorWindow::showCaption() {
  // A standing formula error takes the caption's place, with its column.
  const QString caption = !tools_->errors().empty()
                              ? qs(editor::errorCaption(tools_->errors().front()))
                              : QString(previewRunning_ ? "Calculating..." : kEditorCaption);
  if (caption == windowTitle()) return;
  setWindowTitle(caption);
  // Only the caption strip of a design is painted by us; repainting the whole window on every
  // slider step would take the time a drag needs for its frames.
  if (!modern_) update(QRect(0, 0, width(), kCaptionHeight + 4));
}

void FFEditorWindow::loadPreviewCopy(const QImage& decoded) {
  QImage picture = decoded;
  if (picture.isNull()) {
    QWidget* over = isVisible() ? this : parentWidget();
    picture =
        loadPicture(over, previewPicture_, "Reading the preview picture", kLargestPreviewSource)
            .image;
  }
  if (!picture.isNull()) {
    if (picture.width() > kLargestPreviewSource.width() ||
        picture.height() > kLargestPreviewSource.height())
      picture =
          picture.scaled(kLargestPreviewSource, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    previewSource_ = std::make_shared<const host::Image>(platform::fromQImage(picture, 24, false));
  } else {
    previewSource_ = std::make_shared<const host::Image>(fallbackPicture());
  }
  previewCopyBox_ = {};
  fitPreviewCopy();
}

bool FFEditorWindow::fitPreviewCopy() {
  if (!previewSource_) return false;
  // The box's inner size in device pixels, so a preview is drawn one pixel for one.
  const qreal ratio = devicePixelRatioF();
  const QSize inner = preview_->contentsRect().size();
  const QSize box(std::max(1, qRound(inner.width() * ratio)),
                  std::max(1, qRound(inner.height() * ratio)));
  if (box == previewCopyBox_ && previewCopy_) return false;
  previewCopyBox_ = box;
  draftCopy_.reset();
  const host::Size size =
      host::thumbSize({previewSource_->width, previewSource_->height}, {box.width(), box.height()});
  if (size.width == previewSource_->width && size.height == previewSource_->height) {
    previewCopy_ = previewSource_;
  } else {
    platform::QtImageCodec codec;
    previewCopy_ = std::make_shared<const host::Image>(
        codec.scale(*previewSource_, std::max(1, size.width), std::max(1, size.height)));
  }
  return true;
}

void FFEditorWindow::updatePreview(bool live) {
  if (!isEnabled()) return;
  editor::EditorFormulas typed;
  for (int b = 0; b < 4; ++b) typed[b] = boxes_[b]->formula();
  if (editor::fillEmptyBoxes(typed))
    for (int b = 0; b < 4; ++b)
      if (boxes_[b]->toPlainText().isEmpty()) boxes_[b]->setFormula(typed[b]);
  previewRunning_ = true;
  showCaption();
  ff::FFRecord rec = gatheredRecord();
  const bool alphaView = alphaView_->isChecked();
  auto shown = editor::previewFormulas(rec.formulas, oneBox_, alphaView);
  rec.formulas = shown.record;
  alphaShownPending_ = shown.alphaShown;
  worker_->submit({std::move(rec), live ? dragPicture() : previewCopy_, context_.ffOptions, {}},
                  live);
}

std::shared_ptr<const host::Image> FFEditorWindow::dragPicture() {
  // A frame budget that leaves the window time to draw: 30 frames a second with room to spare.
  constexpr double kFrameBudgetMs = 22;
  const double pixels = double(previewCopy_->width) * previewCopy_->height;
  const double estimate = worker_->msPerMegapixel() * pixels / 1e6;
  int divisor = 1;
  while (divisor < 4 && estimate / (divisor * divisor) > kFrameBudgetMs) ++divisor;
  // Within one drag the copy only gets smaller: going back and forth would scale it anew.
  if (dragSettled_.isActive()) divisor = std::max(divisor, draftDivisor_);
  if (divisor == 1) return previewCopy_;
  dragSettled_.start();
  if (!draftCopy_ || draftDivisor_ != divisor) {
    platform::QtImageCodec codec;
    draftCopy_ = std::make_shared<const host::Image>(
        codec.scale(*previewCopy_, std::max(1, previewCopy_->width / divisor),
                    std::max(1, previewCopy_->height / divisor)));
    draftDivisor_ = divisor;
  }
  return draftCopy_;
}

void FFEditorWindow::previewDone(quint64 id, const QImage& image, const QString& message) {
  // Frames of a drag come in order; anything older than what is shown is dropped.
  if (id < lastShown_) return;
  lastShown_ = id;
  previewRunning_ = id != worker_->latest();
  if (!image.isNull()) {
    QPixmap shown = QPixmap::fromImage(image);
    // A drag frame from the smaller copy is drawn at the size of the full one.
    const qreal scale = image.width() > 0 ? qreal(previewCopy_->width) / image.width() : 1;
    shown.setDevicePixelRatio(devicePixelRatioF() / scale);
    preview_->setPixmap(shown);
    alpha_->setVisible(alphaShownPending_);
    preview_->setToolTip("Click me to update preview!");
  } else {
    // The box keeps its previous picture; the reason is a tooltip away.
    preview_->setToolTip(message);
  }
  showCaption();
  emit previewShown();
}

void FFEditorWindow::finishPreview() {
  worker_->waitIdle();
  QCoreApplication::sendPostedEvents(this);
}

void FFEditorWindow::insertIntoBox(const QString& text, bool function) {
  FormulaEdit* box = lastBox_ && lastBox_->isVisible() ? lastBox_ : boxes_[editor::kBoxRed];
  // A box that still shows its channel letter is replaced, not added to.
  const int index = static_cast<int>(std::find(boxes_.begin(), boxes_.end(), box) - boxes_.begin());
  if (editor::insertionReplacesBox(box->formula(), index)) box->selectAll();
  box->insertEntry(text, function);
  if (autoPreview_->isChecked()) updatePreview();
}

void FFEditorWindow::randomize(bool everySlider) {
  editor::EditorFields f = fields();
  auto* random = QRandomGenerator::global();
  auto unit = [random] { return random->generateDouble(); };
  if (everySlider)
    editor::randomizeAllSliders(f.sliders, unit);
  else
    editor::randomizeSliders(f.sliders, unit);
  setEnabled(false);
  for (int k = 0; k < 8; ++k) sliderMoved(k, f.sliders.values[k]);
  setEnabled(true);
  updatePreview();
}

void FFEditorWindow::resetFilter() {
  if (prompter_->ask("Delete the current filter?", "Attention", Buttons::OkCancel,
                     Icon::Question) != Button::Ok)
    return;
  editor::EditorFields f = fields();
  const auto blank = editor::EditorFields::reset();
  f.texts = blank.texts;
  f.boxes = blank.boxes;
  f.sliders.values = {};
  f.sliders.mapActive = {};
  scatter(f);
  updatePreview();
}

void FFEditorWindow::copyFilterToClipboard() {
  QGuiApplication::clipboard()->setText(qs(ff::textSourceText(gatheredRecord())));
}

void FFEditorWindow::pasteFilterFromClipboard() {
  constexpr const char* kTitle = "Paste Filter from Clipboard";
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) {
    prompter_->warn("The clipboard holds no text, so no filter to paste.", kTitle);
    return;
  }
  const std::string text = bytes(data->text());
  // Read as a source file would be, size limit included; the record takes the name Temp.tmp.
  if (text.size() > ff::kLargestSource) {
    prompter_->warn("The clipboard text is too large for a Filter Factory source.", kTitle);
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ff::FFRecord rec = base_;
  const bool read =
      ff::ReadTXTBytes(ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                       "Temp.tmp", rec, context_.ffOptions);
  QApplication::restoreOverrideCursor();
  if (!read) {
    prompter_->warn(
        "The clipboard text is not a Filter Factory source: it needs the formulas under the "
        "lines \"R:\", \"G:\" and \"B:\", as \"Copy Filter to Clipboard\" writes them.",
        kTitle);
    return;
  }
  loadRecord(rec);
}

void FFEditorWindow::saveFilter() {
  editor::SaveRequest request;
  request.record = gatheredRecord();
  request.format = editor::saveFormatAt(saveFormat_->currentIndex());
  request.usePassiveFolder = context_.options.passivePaneFolder;
  if (hooks_.passiveFolder) request.passiveFolder = hooks_.passiveFolder();
  request.options = context_.ffOptions;
  request.architecture = architecture_;
  std::optional<std::filesystem::path> written;
  if (hooks_.selectFolder && hooks_.overwriteDialog) {
    BatchPrompter dialogs(*prompter_, *hooks_.selectFolder, *hooks_.overwriteDialog);
    written = editor::saveFilter(request, dialogs);
    // The program's dialogs belong to the main window, which comes up with them and may be
    // brought up again by the window manager once they close.
    auto comeBack = [this] {
      raise();
      activateWindow();
    };
    comeBack();
    QTimer::singleShot(50, this, comeBack);
  } else {
    written = editor::saveFilter(request, *prompter_);
  }
  if (written && hooks_.filesWritten) hooks_.filesWritten();
}

void FFEditorWindow::printFilter() {
  const ff::FFRecord rec = gatheredRecord();
  QString text;
  auto line = [&text](const QString& s) { text += s.toHtmlEscaped() + "<br>"; };
  line("   Category: " + qs(rec.category));
  line("   Title: " + qs(rec.title));
  line("   Copyright: " + qs(rec.copyright));
  line("   Author: " + qs(rec.author));
  line("   Filename: " + qs(rec.fileName));
  line("");
  static constexpr const char* kLabels[4] = {"   A: ", "   R: ", "   G: ", "   B: "};
  static constexpr int kRecord[4] = {3, 0, 1, 2};
  for (int k = 0; k < 4; ++k) line(kLabels[k] + qs(rec.formulas[kRecord[k]]));
  line("");
  for (int m = 0; m < 4; ++m)
    if (!rec.mapNames[m].empty()) line(QString("   map[%1]: ").arg(m) + qs(rec.mapNames[m]));
  for (int k = 0; k < 8; ++k)
    if (!rec.controlNames[k].empty())
      line(QString("   ctl[%1]: ").arg(k) + qs(rec.controlNames[k]));
  for (int k = 0; k < 8; ++k)
    if (!rec.controlNames[k].empty() || !rec.mapNames[k / 2].empty())
      line(QString("   val[%1]: %2").arg(k).arg(rec.sliderValues[k]));
  QPrinter printer;
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  QTextDocument document;
  document.setHtml("<pre>" + text + "</pre>");
  document.print(&printer);
}

void FFEditorWindow::copyPreviewToClipboard() {
  QGuiApplication::clipboard()->clear();
  QGuiApplication::clipboard()->setPixmap(preview_->pixmap());
}

void FFEditorWindow::setPreviewPicture(const std::filesystem::path& file, const QImage& decoded) {
  previewPicture_ = file;
  loadPreviewCopy(decoded);
  updatePreview();
}

void FFEditorWindow::choosePreviewPicture() {
  QString file = QFileDialog::getOpenFileName(
      this, "Open new BMP picture as preview source",
      QString::fromStdString(previewPicture_.parent_path().string()), readablePictureFilter());
  if (file.isEmpty()) return;
  if (hooks_.previewPictureChosen) {
    hooks_.previewPictureChosen(file.toStdString());
    return;
  }
  const LoadedPicture loaded =
      loadPicture(this, file.toStdString(), "Reading the preview picture", kLargestPreviewSource);
  if (loaded.image.isNull()) {
    if (!loaded.stopped)
      prompter_->error(previewPictureRefusal(file.toStdString(), loaded.error), kEditorCaption);
    return;
  }
  picture::choosePreviewPicture(context_.options, context_.store, file.toStdString());
  setPreviewPicture(file.toStdString(), loaded.image);
}

void FFEditorWindow::showLargePreview() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  setWindowTitle("Calculating ...");
  platform::QtImageCodec codec;
  auto picture = codec.read(previewPicture_);
  auto original = std::make_shared<host::Image>(picture ? std::move(*picture) : *previewCopy_);
  original->hasAlpha = false;
  ff::FFRecord rec = gatheredRecord();
  rec.formulas = editor::previewFormulas(rec.formulas, oneBox_, false).record;
  // The large picture runs on the window's own worker, so it never overtakes a slider preview.
  auto result = editor::runPreview({rec, original, context_.ffOptions, {}}, nullptr);
  QApplication::restoreOverrideCursor();
  showCaption();
  if (!result.image) {
    prompter_->error(result.message, kEditorCaption);
    return;
  }
  if (!large_) large_ = new LargePreview(this);
  large_->setImages(platform::toQImage(std::move(*original)),
                    platform::toQImage(std::move(*result.image)));
  large_->show();
  large_->raise();
}

void FFEditorWindow::setOneBoxMode(bool one) {
  oneBox_ = one;
  codeBoxesButton_->setText(one ? "3" : "1");
  placeCodeBoxes();
  showCaption();
  if (autoPreview_->isChecked()) updatePreview();
}

void FFEditorWindow::setSliderActive(int k, bool active) {
  if (k < 0 || k >= 8) return;
  deactivated_[k] = !active;
  names_[k]->setStruckThrough(!active);
}

void FFEditorWindow::spotClicked(int spot) {
  editor::SliderValues current{};
  for (int k = 0; k < 8; ++k) current[k] = static_cast<std::uint8_t>(values_[k]->value());
  switch (memory_.click(spot, current)) {
    case editor::MemorySpots::Action::Emptied:
      deleteSpot_->setEnabled(true);
      unsetCursor();
      break;
    case editor::MemorySpots::Action::Recalled:
      setEnabled(false);
      for (int k = 0; k < 8; ++k) sliderMoved(k, current[k]);
      setEnabled(true);
      updatePreview();
      break;
    default:
      break;
  }
  showSpot(spot);
}

void FFEditorWindow::showSpot(int spot) {
  QFont f = spots_[spot]->font();
  f.setBold(memory_.inUse(spot));
  spots_[spot]->setFont(f);
}

void FFEditorWindow::largerFonts() {
  bool ok = false;
  QFont font = QFontDialog::getFont(&ok, boxes_[0]->font(), this, "Larger Fonts");
  if (!ok) return;
  for (auto* box : boxes_) box->setFont(font);
}

void FFEditorWindow::applyDesign(const std::string& name) {
  const auto folder = settings::interfaceFolder(context_.programDir);
  design_ = editor::readDesignFile(editor::designPath(folder, name));
  background_ = QPixmap();
  if (!design_.background.empty())
    background_.load(QString::fromStdString((folder / design_.background).string()));
  const int w = design_.width.value_or(kPlainWidth), h = design_.height.value_or(kPlainHeight);
  applyWindowShape(w, h);
  const bool graphicSliders = design_.sliderStyle.has_value() && !modern_;
  for (int k = 0; k < 8; ++k) {
    sliders_[k]->setVisible(!graphicSliders);
    graphics_[k]->setVisible(graphicSliders);
    if (graphicSliders) graphics_[k]->setStyleIndex(*design_.sliderStyle);
  }
  switch (design_.hotspotField) {
    case editor::Presence::EndOfFile:
      hotspot_->hide();
      hotspot_->setToolTip({});
      break;
    case editor::Presence::Given: {
      const auto& r = design_.hotspot.rect;
      hotspot_->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
      hotspotAddress_ = qs(design_.hotspot.address);
      hotspot_->setToolTip(qs(design_.hotspot.tooltip));
      hotspot_->show();
      hotspot_->raise();
      break;
    }
    case editor::Presence::Other:
      break;
  }
  placeCodeBoxes();
  if (!modern_) setMask(designOutline(design_.outline ? &*design_.outline : nullptr, w, h));
  setWindowTitle(kEditorCaption);
  orderKeyboardFocus();
  update();
  boxResized_.start();
}

// Tab follows the window as it reads: the texts, the slider rows, the formula boxes, then the
// tools under them, whichever design placed them.
void FFEditorWindow::orderKeyboardFocus() {
  std::vector<QWidget*> order(texts_.begin(), texts_.end());
  for (int k = 0; k < 8; ++k)
    order.insert(order.end(), {names_[k], sliders_[k], graphics_[k], values_[k]});
  for (int b : {editor::kBoxRed, editor::kBoxGreen, editor::kBoxBlue, editor::kBoxAlpha})
    order.push_back(boxes_[b]);
  order.insert(order.end(), {tools_->errorList(), functions_, snippetBox_});
  order.insert(order.end(), maps_.begin(), maps_.end());
  order.insert(order.end(),
               {saveFormat_, saveButton_, autoPreview_, codeBoxesButton_, fontsButton_});
  order.insert(order.end(), spots_.begin(), spots_.end());
  order.insert(order.end(), {deleteSpot_, minimizeButton_, hideButton_, unloadButton_, hotspot_});
  for (std::size_t k = 1; k < order.size(); ++k) setTabOrder(order[k - 1], order[k]);
}

// A resizable design gets a framed window whose controls follow its size; the fixed ones a
// frameless window of the design's size, cut to its outline, with the controls placed by hand.
void FFEditorWindow::applyWindowShape(int width, int height) {
  const bool resizable = design_.resizable.has_value();
  if (resizable == static_cast<bool>(modern_)) {
    if (!resizable) setFixedSize(width, height);
    return;
  }
  const bool shown = isVisible();
  if (resizable) {
    EditorParts parts;
    for (int k = 0; k < 5; ++k) parts.texts[k] = texts_[k];
    for (int b = 0; b < 4; ++b) parts.boxes[b] = boxes_[b], parts.boxLabels[b] = boxLabels_[b];
    for (int k = 0; k < 8; ++k)
      parts.names[k] = names_[k], parts.sliders[k] = sliders_[k], parts.values[k] = values_[k];
    for (int m = 0; m < 4; ++m) parts.maps[m] = maps_[m];
    parts.preview = preview_;
    parts.underBoxes = {tools_->errorList()};
    parts.insertTools = {functions_, snippetBox_};
    parts.saveTools = {saveFormat_, saveButton_, autoPreview_, codeBoxesButton_, fontsButton_};
    parts.spots.assign(spots_.begin(), spots_.end());
    parts.spots.push_back(deleteSpot_);
    parts.windowTools = {minimizeButton_, hideButton_, unloadButton_};
    modern_ = std::make_unique<ModernLayout>(*this, parts);
    preview_->setAlignment(Qt::AlignCenter);
    hotspot_->hide();
    clearMask();
    setWindowFlags(Qt::Window);
    setMinimumSize(design_.resizable->right, design_.resizable->bottom);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(std::max(width, minimumWidth()), std::max(height, minimumHeight()));
  } else {
    modern_.reset();
    preview_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setMinimumSize(0, 0);
    setFixedSize(width, height);
    placeControls();
  }
  if (shown) show();
}

void FFEditorWindow::fillEditorMenu(QMenu* menu) {
  auto add = [this, menu](const char* caption, const char* name, auto slot) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  add("Update Preview\tF5", "mnuFfeUpdatePreview_FFE", [this] { updatePreview(); });
  add("Show large preview", "mnuBigView_FFE", [this] { showLargePreview(); });
  add("Save filtered picture", "mnuSaveFiltered_FFE", [this] {
    if (!large_ || !large_->isVisible()) showLargePreview();
    if (large_) large_->saveAs();
  });
  add("Copy Preview to Clipboard", "mnuCopyPreview_FFE", [this] { copyPreviewToClipboard(); });
  add("Open new BMP picture as preview source", "mnuFfeOpenPic_FFE",
      [this] { choosePreviewPicture(); });
  menu->addAction(alphaView_);
  menu->addSeparator();
  add("Create random slider values", "mnuRandomize_FFE", [this] { randomize(); });
  add("Reset all settings", "mnuFfeReset_FFE", [this] { resetFilter(); });
  add("Activate Slider", "mnuActivate_FFE", [this] { setSliderActive(selectedSlider_, true); });
  add("Deactivate Slider", "mnuDeactivate_FFE",
      [this] { setSliderActive(selectedSlider_, false); });
  menu->addSeparator();
  add("Copy Filter to Clipboard", "mnuCopyFilter2Clip_FFE", [this] { copyFilterToClipboard(); });
  add("Paste Filter from Clipboard", "mnuPasteFilter_FFE", [this] { pasteFilterFromClipboard(); });
  QMenu* save = menu->addMenu("Save filter in different formats");
  for (int i = 0; i < 4; ++i) {
    QAction* a = save->addAction(saveFormat_ ? saveFormat_->itemText(i) : QString());
    a->setObjectName("mnuSaveType_FFE");
    connect(a, &QAction::triggered, this, [this, i] {
      saveFormat_->setCurrentIndex(i);
      saveFilter();
    });
  }
  // Plugins for 64-bit hosts, 32-bit ones, or both, as the Convert window offers.
  QMenu* architectures = save->addMenu("Plugin Architecture");
  architectures->setObjectName("mnuArchitecture_FFE");
  auto* group = new QActionGroup(architectures);
  for (const auto& choice : ff::kArchitectureChoices) {
    QAction* a = architectures->addAction(choice.caption);
    a->setCheckable(true);
    a->setChecked(choice.value == architecture_);
    group->addAction(a);
    connect(a, &QAction::triggered, this, [this, value = choice.value] { architecture_ = value; });
  }
  add("Print Filter", "mnuPrintFilter_FFE", [this] { printFilter(); });
  add("Print Setup...", "mnuPrinterSetup_FFE", [] {});
  menu->addSeparator();
  add("Delete only one Memory Spot", "mnuDeleteSpot_FFE", [this] { deleteSpot_->click(); });
  add("Clear all Memory Spots", "mnuClearSpots_FFE", [this] {
    memory_.clearAll();
    for (int k = 0; k < 10; ++k) showSpot(k);
  });
  menu->addSeparator();
  addInsertMenus(menu);
  // Shortcut texts only: the keys themselves belong to the editor window.
  add("Find and Replace...\tCtrl+F", "mnuFind_FFE", [this] { tools_->findBar()->open(false); });
  add("Find Next\tF3", "mnuFindNext_FFE", [this] { tools_->findBar()->findNext(true); });
  add("Next Error\tF8", "mnuNextError_FFE", [this] { tools_->goToError(true); });
  add("Previous Error\tShift+F8", "mnuPreviousError_FFE", [this] { tools_->goToError(false); });
  add("Complete Name\tCtrl+Space", "mnuComplete_FFE", [this] {
    FormulaEdit* box = tools_->lastBox();
    box->setFocus();
    box->complete();
  });
  menu->addSeparator();
  add("One/Three code boxes", "mnuCodeBoxes_FFE", [this] { setOneBoxMode(!oneBox_); });
  add("Larger Fonts", "mnuFonts_FFE", [this] { largerFonts(); });
  add("Minimize Window", "mnuMinimize_FFE", [this] { showMinimized(); });
  add("Hide FF Editor", "mnuHide_FFE", [this] { hide(); });
  add("Unload FF Editor from Memory", "mnuUnload_FFE", [this] { close(); });
  add("Help", "mnuHelp_FFE", [this] {
    if (hooks_.showHelp) hooks_.showHelp("ffe.htm");
  });
}

void FFEditorWindow::addInsertMenus(QMenu* menu) {
  // Short entries that fit any screen; the meaning is the tooltip.
  auto entries = [this, menu](const char* title, const char* name,
                              std::span<const editor::CatalogueEntry> list) {
    QMenu* sub = menu->addMenu(title);
    sub->setObjectName(name);
    sub->setToolTipsVisible(true);
    for (const auto& e : list) {
      QAction* a = sub->addAction(QString::fromStdString(editor::signature(e)));
      a->setToolTip(QString::fromStdString(std::string(e.meaning)));
      const QString text = QString::fromStdU16String(editor::insertionText(e));
      const bool function = e.isFunction();
      connect(a, &QAction::triggered, this,
              [this, text, function] { insertIntoBox(text, function); });
    }
  };
  entries("Functions", "mnuFunc", editor::functionEntries());
  entries("Variables", "mnuVars", editor::variableEntries());
  QMenu* snippets = menu->addMenu("Snippets");
  snippets->setObjectName("mnuSnipet_FFE");
  snippets->setToolTipsVisible(true);
  connect(snippets, &QMenu::aboutToShow, this, [this, snippets] {
    snippets->clear();
    for (const auto& s : snippets_) {
      QString code = qs(s.code);
      QAction* a = snippets->addAction(qs(s.name).trimmed().isEmpty() ? code : qs(s.name));
      a->setToolTip(code);
      connect(a, &QAction::triggered, this, [this, code] { insertIntoBox(code, false); });
    }
  });
}

editor::SliderNames FFEditorWindow::sliderNamesForCompletion() const {
  editor::SliderNames names;
  names.controls = base_.controlNames;
  for (int m = 0; m < 4; ++m)
    if (maps_[m]->isChecked()) names.maps[m] = mapNames_[m];
  return names;
}

void FFEditorWindow::editorMenuAt(const QPoint& globalPos) {
  // The slider row under the pointer is the one the activate commands work on.
  const QPoint local = mapFromGlobal(globalPos);
  for (int k = 0; k < 8; ++k)
    if (names_[k]->geometry().united(values_[k]->geometry()).contains(local)) selectedSlider_ = k;
  menu_->popup(globalPos);
}

void FFEditorWindow::contextMenuEvent(QContextMenuEvent* event) {
  editorMenuAt(event->globalPos());
}

void FFEditorWindow::mousePressEvent(QMouseEvent* event) {
  // A frameless window moves by its background.
  if (event->button() == Qt::LeftButton && !modern_)
    dragFrom_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void FFEditorWindow::mouseMoveEvent(QMouseEvent* event) {
  if ((event->buttons() & Qt::LeftButton) && !modern_)
    move(event->globalPosition().toPoint() - dragFrom_);
}

void FFEditorWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (modern_) {
    // The window's frame shows the caption.
    p.fillRect(rect(), palette().window());
    return;
  }
  if (!background_.isNull()) {
    p.drawPixmap(0, 0, background_);
  } else {
    // A design without a picture still gets a caption strip and an edge, as a frame would.
    p.fillRect(rect(), palette().window());
    p.fillRect(QRect(0, 0, width(), kCaptionHeight + 2), palette().highlight());
    p.setPen(palette().dark().color());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  QFont f = font();
  f.setBold(true);
  p.setFont(f);
  const bool normal = windowTitle() == kEditorCaption || windowTitle().startsWith("Calculating");
  p.setPen(normal ? QColor(Qt::white) : QColor(255, 190, 190));
  p.drawText(QRect(16, 0, width() - 32, kCaptionHeight + 4), Qt::AlignLeft | Qt::AlignVCenter,
             windowTitle());
}

void FFEditorWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    if (hooks_.showHelp) hooks_.showHelp("ffe.htm");
    return;
  }
  QWidget::keyPressEvent(event);
}

void FFEditorWindow::closeEvent(QCloseEvent* event) {
  context_.options.previewPicture = previewPicture_.string();
  context_.store.set(settings::kSettings, "PreviewPic", previewPicture_.string());
  emit closing();
  QWidget::closeEvent(event);
}

bool FFEditorWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == preview_ && event->type() == QEvent::Resize) {
    alpha_->move(preview_->width() - alpha_->width() - 6,
                 preview_->height() - alpha_->height() - 6);
    boxResized_.start();
  }
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress)
    if (QVariant row = watched->property("sliderRow"); row.isValid()) selectedSlider_ = row.toInt();
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    // F2 anywhere in a slider row renames that slider.
    if (QVariant row = watched->property("sliderRow"); row.isValid() && key == Qt::Key_F2) {
      names_[row.toInt()]->beginEdit();
      return true;
    }
    if (watched == hotspot_ && hooks_.sendEmail &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
      hooks_.sendEmail(hotspotAddress_.toStdString(), "Your Design");
      return true;
    }
  }
  if (event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (watched == preview_) {
      editorMenuAt(mouse->globalPosition().toPoint());
      return true;
    }
    if (watched == hotspot_ && hooks_.sendEmail) {
      hooks_.sendEmail(hotspotAddress_.toStdString(), "Your Design");
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace qm::gui
