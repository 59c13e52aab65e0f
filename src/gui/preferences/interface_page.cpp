// The Interface page: list options of the File and FFL View, the Plugin View's scan options,
// the editor's interface design, and the two fonts.

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "core/settings/startup.h"
#include "gui/main/app_context.h"
#include "gui/preferences/preferences_state.h"

namespace qm::gui {
namespace {

constexpr const char* kOriginalEditor = "Original FF Editor";

QGroupBox* fileViewFrame(PreferencesState& s, QWidget* parent) {
  auto* frame = new QGroupBox("File and FFL View", parent);
  auto* layout = new QGridLayout(frame);
  const char* captions[] = {"Hot Tracking",   "Auto Column Width", "Full Row Selection",
                            "Flat Scrollbar", "Gridlines",         "Hover Selection"};
  for (int i = 0; i < 6; ++i) {
    QCheckBox* box = boundCheck(s, frame, captions[i], QString("Check12_%1").arg(i),
                                s.draft.fileView[static_cast<std::size_t>(i)]);
    QObject::connect(box, &QCheckBox::toggled, frame, [&s] {
      if (s.listOptionsEdited) s.listOptionsEdited();
    });
    layout->addWidget(box, i % 3, i / 3);
  }
  return frame;
}

QGroupBox* pluginViewFrame(PreferencesState& s, QWidget* parent) {
  auto* frame = new QGroupBox("Plugin View", parent);
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(
      boundCheck(s, frame, "search for plugins in all sub folders", "Check1", s.draft.scanSubDirs));
  layout->addWidget(boundCheck(s, frame, "include txt, afs and pff files", "Check8",
                               s.draft.includeSources, "Slows the plugin scanning process down"));
  return frame;
}

QGroupBox* interfaceFrame(PreferencesState& s, QWidget* parent) {
  auto* frame = new QGroupBox("Choose FF Editor Interface", parent);
  auto* combo = new QComboBox(frame);
  combo->setObjectName("Combo1");
  auto* missing = new QLabel(frame);
  missing->setObjectName("interfaceMissing");
  missing->setWordWrap(true);
  QObject::connect(combo, &QComboBox::activated, frame, [&s, combo](int index) {
    s.draft.interfaceDesign = combo->itemData(index).toBool()
                                  ? std::string(settings::kPlainEditorDesign)
                                  : combo->itemText(index).toStdString();
  });
  // LookforInterface: the plain editor first, then the designs of the program folder.
  s.refreshers.push_back([&s, combo, missing] {
    combo->clear();
    combo->addItem(kOriginalEditor, true);
    auto designs = settings::findInterfaceDesigns(s.context.programDir);
    for (const auto& d : designs) combo->addItem(QString::fromStdString(d), false);
    missing->setText(designs.empty() ? qs(std::string(settings::kNoInterfaceFiles) + " " +
                                          std::string(settings::kEditorUnusable))
                                     : QString());
    missing->setVisible(designs.empty());
    const QString wanted = QString::fromStdString(s.draft.interfaceDesign);
    // A stored design that is gone falls back to the first design, not to the plain editor.
    int index = s.draft.interfaceDesign == settings::kPlainEditorDesign
                    ? 0
                    : combo->findText(wanted, Qt::MatchFixedString);
    if (index < 0) index = designs.empty() ? 0 : 1;
    combo->setCurrentIndex(index);
  });
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(combo);
  layout->addWidget(missing);
  return frame;
}

QFont toQFont(const settings::FontChoice& f) {
  QFont font = QApplication::font();
  if (!f.applies()) return font;
  font.setFamily(QString::fromStdString(f.name));
  font.setPointSize(f.size);
  font.setBold(f.bold);
  font.setItalic(f.italic);
  return font;
}

QString fontCaption(const settings::FontChoice& f) {
  if (!f.applies()) return "Font Name, Size";
  return QString("%1, %2").arg(f.size).arg(QString::fromStdString(f.name));
}

QGroupBox* fontFrame(PreferencesState& s, QWidget* parent) {
  auto* frame = new QGroupBox("Select Fonts", parent);
  auto* layout = new QGridLayout(frame);
  const char* captions[] = {"List Box Font", "Other Font"};
  settings::FontChoice* fonts[] = {&s.draft.listFont, &s.draft.otherFont};
  for (int i = 0; i < 2; ++i) {
    auto* button = namedButton(frame, captions[i], QString("Command14_%1").arg(i));
    auto* label = new QLabel(frame);
    label->setObjectName(QString("Label1_%1").arg(i));
    settings::FontChoice& font = *fonts[i];
    s.refreshers.push_back([label, &font] { label->setText(fontCaption(font)); });
    QObject::connect(button, &QPushButton::clicked, frame, [&s, &font, label, frame] {
      auto chosen = s.choosers.font(frame, toQFont(font));
      if (!chosen) return;
      font = {chosen->family().toStdString(), std::max(1, chosen->pointSize()), chosen->bold(),
              chosen->italic()};
      label->setText(fontCaption(font));
    });
    layout->addWidget(button, i, 0);
    layout->addWidget(label, i, 1);
  }
  layout->setColumnStretch(1, 1);
  return frame;
}

}  // namespace

QWidget* buildInterfacePage(PreferencesState& s, QWidget* parent) {
  auto* page = new QWidget(parent);
  page->setObjectName("pageInterface");
  auto* left = new QVBoxLayout;
  left->addWidget(fileViewFrame(s, page));
  left->addWidget(pluginViewFrame(s, page));
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(interfaceFrame(s, page));
  right->addWidget(fontFrame(s, page));
  right->addStretch();
  auto* layout = new QHBoxLayout(page);
  layout->addLayout(left, 1);
  layout->addLayout(right, 1);
  return page;
}

}  // namespace qm::gui
