// The General page: "Misc", "Preview Cache" and "Associate File Types with Qumo".

#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "core/preferences/associations.h"
#include "core/preferences/preview_cache.h"
#include "core/shell/delete_tree.h"
#include "gui/main/app_context.h"
#include "gui/preferences/preferences_state.h"

namespace qm::gui {
namespace {

constexpr const char* kTitle = "Quillmark";

QGroupBox* miscFrame(PreferencesState& s, QWidget* parent) {
  auto* frame = new QGroupBox("Misc", parent);
  auto* layout = new QVBoxLayout(frame);
  settings::Options& o = s.draft;
  layout->addWidget(
      boundCheck(s, frame, "Load all components on startup", "Check16", o.fullStartUp));
  layout->addWidget(
      boundCheck(s, frame, "Suppress the Select Folder dialog", "Check4", o.passivePaneFolder));
  layout->addWidget(boundCheck(s, frame, "No FF Code Optimization", "Check2", o.noFFOptimize));
  layout->addWidget(boundCheck(s, frame, "Enable Cooperative Multithreading", "Check7",
                               o.cooperativeMultithreading,
                               "Lets you do more than one task at the same time"));
  layout->addWidget(boundCheck(s, frame, "Write FFL 1.0 Files (recommended)", "Check17",
                               o.writeFFL10, "For compatibility reasons keep it activated"));
  layout->addStretch();
  return frame;
}

void clearCache(PreferencesState& s) {
  if (s.prompter.ask(preferences::kClearCacheQuestion, kTitle, Buttons::YesNo, Icon::Exclamation) !=
      Button::Yes)
    return;
  shell::DiskFs fs;
  int failures = preferences::clearPreviewCache(fs, s.context.programDir);
  // The catalogue cache goes too: the next scan reads every file again.
  if (s.context.catalogueCache) s.context.catalogueCache->clear();
  if (failures > 0) s.prompter.warn(shell::deleteTreeFailureText(failures), kTitle);
}

QGroupBox* cacheFrame(PreferencesState& s, QWidget* parent) {
  auto* frame = new QGroupBox("Preview Cache", parent);
  auto* enabled = boundCheck(s, frame, "Enabled", "Check15", s.draft.previewCacheEnabled,
                             "Activate for faster plugin previewing");
  auto* quality = new QScrollBar(Qt::Horizontal, frame);
  quality->setObjectName("HScroll2");
  quality->setRange(1, 100);
  quality->setMinimumWidth(140);
  auto* percent = new QLabel(frame);
  percent->setObjectName("jpgCompressionValue");
  percent->setMinimumWidth(percent->fontMetrics().horizontalAdvance("100%") + 4);
  QObject::connect(quality, &QScrollBar::valueChanged, frame, [&s, percent](int value) {
    s.draft.previewJpgQuality = value;
    percent->setText(QString("%1%").arg(value));
  });
  s.refreshers.push_back([&s, quality, percent] {
    quality->setValue(s.draft.previewJpgQuality);
    percent->setText(QString("%1%").arg(s.draft.previewJpgQuality));
  });
  auto* windowsPlugins = boundCheck(
      s, frame, "Run Windows plugins for previews", "windowsPluginPreviews",
      s.draft.windowsPluginPreviews,
      "Previews of plugins that are not Filter Factory filters run the plugin's own code under "
      "Wine as soon as it is selected");
  auto* clear =
      namedButton(frame, "Clear Cache", "Command5", "Delete all files from the cache sub folder");
  QObject::connect(clear, &QPushButton::clicked, frame, [&s] { clearCache(s); });

  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("JPG Compression", frame));
  row->addWidget(quality, 1);
  row->addWidget(percent);
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(enabled);
  layout->addLayout(row);
  layout->addWidget(windowsPlugins);
  layout->addWidget(clear, 0, Qt::AlignLeft);
  layout->addStretch();
  return frame;
}

// How the desktop entry names the program: by name when that is what PATH finds.
std::string programCommand() {
  const QString self = QCoreApplication::applicationFilePath();
  const QString name = QFileInfo(self).fileName();
  if (QFileInfo(QStandardPaths::findExecutable(name)).canonicalFilePath() ==
      QFileInfo(self).canonicalFilePath())
    return name.toStdString();
  return preferences::execQuoted(self.toStdString());
}

std::filesystem::path dataHome() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
}

preferences::RunProgram runner(PreferencesState& s) {
  return [&s](const std::vector<std::string>& argv) {
    QStringList args;
    for (const auto& a : argv) args << QString::fromStdString(a);
    return s.choosers.run && s.choosers.run(args);
  };
}

QGroupBox* associationFrame(PreferencesState& s, QWidget* parent) {
  auto* frame = new QGroupBox("Associate File Types with Qumo", parent);
  auto* boxes = new QHBoxLayout;
  QList<QCheckBox*> checks;
  for (std::size_t i = 0; i < preferences::kAssociations.size(); ++i) {
    auto* box = boundCheck(s, frame, qs(preferences::kAssociations[i].extension), "Check18",
                           s.draft.associate[i]);
    checks << box;
    boxes->addWidget(box);
  }
  boxes->addStretch();
  auto* set =
      namedButton(frame, "Set Associations", "Command13",
                  "Press it to be able to run Qumo by double clicking the selected file types");
  QObject::connect(set, &QPushButton::clicked, frame, [&s, checks] {
    std::vector<std::string_view> chosen;
    for (std::size_t i = 0; i < preferences::kAssociations.size(); ++i)
      if (checks[static_cast<qsizetype>(i)]->isChecked())
        chosen.push_back(preferences::kAssociations[i].extension);
    preferences::setAssociations(dataHome(), programCommand(), chosen, runner(s));
    s.prompter.inform(preferences::kAssociationsSet, kTitle);
  });
  // What Set Associations wrote for this user stays after the program is removed; this
  // takes it away.
  auto* remove = namedButton(frame, "Remove Associations", "removeAssociations",
                             "Forget the file types Quillmark was set to open");
  QObject::connect(remove, &QPushButton::clicked, frame, [&s] {
    std::string reason = preferences::removeAssociations(dataHome(), runner(s));
    if (reason.empty())
      s.prompter.inform(preferences::kAssociationsRemoved, kTitle);
    else
      s.prompter.warn(reason, kTitle);
  });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(set);
  buttons->addWidget(remove);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(frame);
  layout->addLayout(boxes);
  layout->addLayout(buttons);
  return frame;
}

}  // namespace

QWidget* buildGeneralPage(PreferencesState& s, QWidget* parent) {
  auto* page = new QWidget(parent);
  page->setObjectName("pageGeneral");
  auto* top = new QHBoxLayout;
  top->addWidget(miscFrame(s, page), 1);
  top->addWidget(cacheFrame(s, page), 1);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addWidget(associationFrame(s, page));
  layout->addStretch();
  return page;
}

}  // namespace qm::gui
