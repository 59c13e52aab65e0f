#include "gui/editor/modern_layout.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace qm::gui {
namespace {

constexpr int kBoxOrder[4] = {1, 2, 3, 0};  // R, G, B, then A, as the fixed designs stack them

bool explicitlyHidden(const QWidget* w) {
  return w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->isHidden();
}

// A new parent hides a widget; it keeps the state it had.
void reparent(QWidget* w, QWidget* parent) {
  const bool hidden = explicitlyHidden(w);
  w->setParent(parent);
  w->setVisible(!hidden);
}

}  // namespace

ModernLayout::ModernLayout(QWidget& window, const EditorParts& parts)
    : window_(window), parts_(parts) {
  body_ = new QWidget(&window);
  body_->setObjectName("modernBody");
  auto* outer = new QVBoxLayout(&window);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(body_);

  auto* column = new QVBoxLayout(body_);
  column->setContentsMargins(8, 8, 8, 8);
  column->setSpacing(6);

  auto* texts = new QHBoxLayout;
  for (QWidget* t : parts.texts) {
    adopt(t, body_);
    t->setMinimumWidth(60);
    t->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    texts->addWidget(t, 1);
  }
  column->addLayout(texts);

  splitter_ = new QSplitter(Qt::Horizontal, body_);
  splitter_->setObjectName("modernSplitter");
  splitter_->setChildrenCollapsible(false);
  splitter_->setHandleWidth(8);
  column->addWidget(splitter_, 1);

  // Left: the preview takes whatever room there is, the sliders stay under it at any width.
  auto* left = new QWidget(splitter_);
  auto* leftColumn = new QVBoxLayout(left);
  leftColumn->setContentsMargins(0, 0, 0, 0);
  adopt(parts.preview, left);
  parts.preview->setMinimumSize(160, 110);
  parts.preview->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  leftColumn->addWidget(parts.preview, 1);
  auto* sliders = new QGridLayout;
  sliders->setHorizontalSpacing(6);
  sliders->setVerticalSpacing(2);
  for (int k = 0; k < 8; ++k) {
    for (QWidget* w : {parts.names[k], parts.sliders[k], parts.values[k]}) adopt(w, left);
    parts.names[k]->setMinimumWidth(50);
    parts.names[k]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    parts.sliders[k]->setMinimumWidth(90);
    parts.sliders[k]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    sliders->addWidget(parts.names[k], k, 0);
    sliders->addWidget(parts.sliders[k], k, 1);
    sliders->addWidget(parts.values[k], k, 2);
  }
  sliders->setColumnStretch(0, 2);
  sliders->setColumnStretch(1, 5);
  leftColumn->addLayout(sliders);

  // Right: the formula boxes fill it; the tools that work on them sit below.
  auto* right = new QWidget(splitter_);
  auto* rightColumn = new QVBoxLayout(right);
  rightColumn->setContentsMargins(0, 0, 0, 0);
  codeGrid_ = new QGridLayout;
  codeGrid_->setColumnStretch(1, 1);
  for (int row = 0; row < 4; ++row) {
    const int b = kBoxOrder[row];
    adopt(parts.boxLabels[b], right);
    adopt(parts.boxes[b], right);
    parts.boxes[b]->setMinimumSize(160, 40);
    parts.boxes[b]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    codeGrid_->addWidget(parts.boxLabels[b], row, 0, Qt::AlignTop);
    codeGrid_->addWidget(parts.boxes[b], row, 1);
  }
  rightColumn->addLayout(codeGrid_, 1);
  for (QWidget* w : parts.underBoxes) {
    adopt(w, right);
    w->setMaximumHeight(90);
    rightColumn->addWidget(w);
  }
  auto* insert = new QHBoxLayout;
  for (QWidget* w : parts.insertTools) {
    adopt(w, right);
    w->setMinimumWidth(80);
    w->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    insert->addWidget(w, 1);
  }
  rightColumn->addLayout(insert);
  auto* maps = new QGridLayout;
  for (int m = 0; m < 4; ++m) {
    adopt(parts.maps[m], right);
    maps->addWidget(parts.maps[m], m / 2, m % 2);
  }
  rightColumn->addLayout(maps);
  // The save pair over the switches: on one row they would hold the code side so wide that a
  // narrow window leaves the slider names no room.
  auto* save = new QHBoxLayout;
  auto* switches = new QHBoxLayout;
  for (std::size_t k = 0; k < parts.saveTools.size(); ++k) {
    adopt(parts.saveTools[k], right);
    (k < 2 ? save : switches)->addWidget(parts.saveTools[k]);
  }
  save->addStretch(1);
  switches->insertStretch(1, 1);
  rightColumn->addLayout(save);
  rightColumn->addLayout(switches);
  showCodeBoxes(false);

  // The preview gets the larger share, now and as the window grows.
  splitter_->setStretchFactor(0, 3);
  splitter_->setStretchFactor(1, 2);
  splitter_->setSizes({3000, 2000});
  // The bar between them moves from the keyboard too, a tenth of the width a press.
  for (const auto& [keys, step] :
       {std::pair(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Right), 1),
        std::pair(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Left), -1)}) {
    auto* shortcut = new QShortcut(keys, body_);
    QObject::connect(shortcut, &QShortcut::activated, splitter_, [this, step = step] {
      QList<int> sizes = splitter_->sizes();
      const int move = step * (sizes[0] + sizes[1]) / 10;
      splitter_->setSizes({sizes[0] + move, sizes[1] - move});
    });
  }

  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(4);
  for (QWidget* w : parts.spots) {
    adopt(w, body_);
    // The numbered spots may narrow to their digits; a word ("Delete") keeps room for itself.
    const auto* button = qobject_cast<QAbstractButton*>(w);
    const int textWidth = button ? button->fontMetrics().horizontalAdvance(button->text()) : 0;
    w->setMinimumWidth(std::max(28, textWidth + 16));
    bottom->addWidget(w);
  }
  bottom->addStretch(1);
  for (QWidget* w : parts.windowTools) {
    adopt(w, body_);
    bottom->addWidget(w);
  }
  column->addLayout(bottom);
  body_->show();
}

ModernLayout::~ModernLayout() {
  // Back to the window, each as shown or hidden as it was; the fixed designs place them.
  for (QWidget* w : adopted_) {
    reparent(w, &window_);
    w->setMinimumSize(0, 0);
    w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    w->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  }
  delete window_.layout();
  delete body_.data();
}

void ModernLayout::adopt(QWidget* part, QWidget* container) {
  reparent(part, container);
  adopted_.push_back(part);
}

void ModernLayout::showCodeBoxes(bool oneBox) {
  for (int row = 0; row < 4; ++row) {
    const int b = kBoxOrder[row];
    const bool hidden = oneBox && (row == 1 || row == 2);
    parts_.boxes[b]->setVisible(!hidden);
    parts_.boxLabels[b]->setVisible(!hidden);
    codeGrid_->setRowStretch(row, hidden ? 0 : (oneBox && row == 0 ? 3 : 1));
  }
}

}  // namespace qm::gui
