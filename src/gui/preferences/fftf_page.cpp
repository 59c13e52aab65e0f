// The FF/TF page: how created Photoshop and Premiere Filter Factory plugins are built.

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/ff/options.h"
#include "core/preferences/templates.h"
#include "gui/preferences/preferences_state.h"

namespace qm::gui {
namespace {

struct TemplateBox {
  const char* title;
  const char* filters;
  const char* presetName;
  const char* tip;
  std::string settings::Options::*member;
  bool checkSize;
};

const TemplateBox kTemplates[] = {
    {"Choose Photoshop Filter Factory plugin",
     "PC FF Plugin (*.8bf);;Mac FF Plugin (*.bin);;All Files (*)", "", "",
     &settings::Options::photoshopTemplate, true},
    {"Choose Premiere Filter Factory plugin", "Premiere Plugins (*.prm)", "fl-fact.prm",
     "Select fl-fact.prm from your Adobe Premiere Plugin folder",
     &settings::Options::premiereFFTemplate, false},
    {"Choose Premiere Transition Factory plugin", "Premiere Plugins (*.prm)", "fx-fact.prm",
     "Select fx-fact.prm from your Adobe Premiere Plugin folder",
     &settings::Options::premiereTFTemplate, false},
};

void selectPath(QComboBox* combo, const QString& path) {
  if (path.isEmpty()) return;
  int index = combo->findText(path);
  if (index < 0) {
    combo->addItem(path);
    index = combo->count() - 1;
  }
  combo->setCurrentIndex(index);
}

// A template box with its Browse button; index 0 is the Photoshop one.
QHBoxLayout* templateRow(PreferencesState& s, int index, QWidget* parent, QButtonGroup* option4) {
  const TemplateBox& t = kTemplates[index];
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QString("Combo2_%1").arg(index + 1));
  combo->setEditable(false);
  combo->setMinimumContentsLength(28);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  if (*t.tip) combo->setToolTip(t.tip);
  auto* browse = namedButton(parent, "Browse", QString("Command2_%1").arg(index + 1), t.tip);
  std::string& chosen = s.draft.*t.member;
  QObject::connect(combo, &QComboBox::currentTextChanged, parent,
                   [&chosen](const QString& text) { chosen = text.toStdString(); });
  s.refreshers.push_back([combo, &chosen] { selectPath(combo, QString::fromStdString(chosen)); });
  QObject::connect(browse, &QPushButton::clicked, parent, [&s, &t, combo, option4, parent] {
    // A template chosen for Photoshop plugins is one to use: the user template choice. Cancel
    // or a refused file leaves the choice as it was.
    QString file = s.choosers.file(parent, t.title, t.filters, t.presetName);
    if (file.isEmpty()) return;
    if (t.checkSize && !preferences::isKnownTemplate(file.toStdString())) {
      s.prompter.warn(preferences::kUnknownFFTemplate, "Quillmark");
      return;
    }
    selectPath(combo, file);
    if (option4) option4->button(static_cast<int>(ff::FFTemplate::User))->setChecked(true);
  });
  auto* row = new QHBoxLayout;
  row->addWidget(combo, 1);
  row->addWidget(browse);
  return row;
}

QGroupBox* photoshopFrame(PreferencesState& s, QWidget* parent) {
  auto* frame = new QGroupBox("Photoshop FF Compilation", parent);
  auto* option4 = new QButtonGroup(frame);
  const char* captions[] = {
      "Filter Factory 3.0", "Filter Factory 3.04 (needs plugin.dll from Adobe)",
      "User template:", "Macintosh FF (Mac Binary)", "Quillmark runtime, 64-bit (photo64.dll)"};
  auto* layout = new QVBoxLayout(frame);
  for (int i = 0; i < 5; ++i) {
    auto* radio = new QRadioButton(captions[i], frame);
    radio->setObjectName(QString("Option4_%1").arg(i));
    option4->addButton(radio, i);
    layout->addWidget(radio);
    if (i == 2) {
      auto* row = templateRow(s, 0, frame, option4);
      row->insertSpacing(0, 24);
      layout->addLayout(row);
    }
  }
  QObject::connect(option4, &QButtonGroup::idToggled, frame, [&s](int id, bool on) {
    if (on) s.draft.usedFF = id;
  });
  s.refreshers.push_back([&s, option4] {
    if (auto* b = option4->button(std::clamp(s.draft.usedFF, 0, 4))) b->setChecked(true);
  });
  auto* boxes = new QGridLayout;
  settings::Options& o = s.draft;
  boxes->addWidget(boundCheck(s, frame, "No Dialog", "Check9", o.noDialog), 0, 0);
  boxes->addWidget(boundCheck(s, frame, "All Modes", "Check3", o.allModes), 0, 1);
  boxes->addWidget(boundCheck(s, frame, "Editor Plugin", "Check5_0", o.editorPlugin[0]), 0, 2);
  boxes->addWidget(boundCheck(s, frame, "Big Preview", "Check11", o.bigPreview), 1, 0);
  boxes->addWidget(boundCheck(s, frame, "Mega Preview", "Check11_mega", o.megaPreview), 1, 1);
  layout->addLayout(boxes);
  return frame;
}

QGroupBox* premiereFrame(PreferencesState& s, QWidget* parent) {
  auto* frame = new QGroupBox("Premiere FF Compilation", parent);
  auto* layout = new QGridLayout(frame);
  const char* kinds[] = {"Filter Factory:", "Transition Factory:"};
  for (int i = 1; i <= 2; ++i) {
    int row = (i - 1) * 2;
    layout->addWidget(new QLabel(kinds[i - 1], frame), row, 0);
    layout->addLayout(templateRow(s, i, frame, nullptr), row, 1);
    layout->addWidget(boundCheck(s, frame, "Editor Plugin", QString("Check5_%1").arg(i),
                                 s.draft.editorPlugin[static_cast<std::size_t>(i)]),
                      row + 1, 1);
  }
  layout->setColumnStretch(1, 1);
  return frame;
}

}  // namespace

QWidget* buildFFTFPage(PreferencesState& s, QWidget* parent) {
  auto* page = new QWidget(parent);
  page->setObjectName("pageFFTF");
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(photoshopFrame(s, page));
  layout->addWidget(premiereFrame(s, page));
  layout->addStretch();
  return page;
}

}  // namespace qm::gui
