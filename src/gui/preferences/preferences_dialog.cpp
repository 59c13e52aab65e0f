#include "gui/preferences/preferences_dialog.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QProcess>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/preferences/list_editing.h"
#include "core/preferences/preferences_model.h"
#include "core/preferences/templates.h"
#include "gui/main/app_context.h"
#include "gui/preferences/preferences_state.h"

namespace qm::gui {
namespace {

struct PageInfo {
  const char* caption;
  const char* helpPage;
};

constexpr PageInfo kPages[] = {
    {"General", "Prefs_General.htm"},
    {"FF/TF", "Prefs_FFTF.htm"},
    {"Interface", "Prefs_Interface.htm"},
    {"Folders", "Prefs_FPA.htm"},
    {"Pictures", "Prefs_FPA.htm"},
    {"Applications", "Prefs_FPA.htm"},
    {"Plugin Types", "Prefs_PluginTypes.htm"},
};

}  // namespace

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QCheckBox* boundCheck(PreferencesState& state, QWidget* parent, const QString& caption,
                      const QString& name, bool& flag, const QString& tip) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  if (!tip.isEmpty()) box->setToolTip(tip);
  QObject::connect(box, &QCheckBox::toggled, box, [&flag](bool on) { flag = on; });
  state.refreshers.push_back([box, &flag] { box->setChecked(flag); });
  return box;
}

QPushButton* namedButton(QWidget* parent, const QString& caption, const QString& name,
                         const QString& tip) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  if (!tip.isEmpty()) button->setToolTip(tip);
  return button;
}

PreferencesChoosers desktopChoosers() {
  PreferencesChoosers c;
  c.folder = [](QWidget* parent, const QString& title) {
    return QFileDialog::getExistingDirectory(parent, title, QDir::homePath());
  };
  c.file = [](QWidget* parent, const QString& title, const QString& filters,
              const QString& presetName) {
    return QFileDialog::getOpenFileName(parent, title, presetName, filters);
  };
  c.font = [](QWidget* parent, const QFont& current) -> std::optional<QFont> {
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, current, parent);
    if (!ok) return std::nullopt;
    return chosen;
  };
  c.run = [](const QStringList& argv) {
    if (argv.isEmpty()) return false;
    QProcess process;
    process.start(argv.first(), argv.mid(1));
    if (!process.waitForStarted(5000)) return false;
    process.waitForFinished(30000);
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
  };
  return c;
}

PreferencesDialog::PreferencesDialog(AppContext& context, PreferencesChoosers choosers,
                                     QWidget* parent)
    : QDialog(parent),
      context_(context),
      state_(std::make_unique<PreferencesState>(context, std::move(choosers), this)),
      tabs_(new QTabWidget(this)) {
  setObjectName("Form2");
  setWindowTitle("Preferences");
  tabs_->setObjectName("SSTab1");
  PreferencesState& s = *state_;
  s.help = [this](const QString& page) { emit helpRequested(page); };
  s.listOptionsEdited = [this] { emit listOptionsEdited(state_->draft); };
  QWidget* pages[] = {buildGeneralPage(s, tabs_),    buildFFTFPage(s, tabs_),
                      buildInterfacePage(s, tabs_),  buildListPage(s, 0, tabs_),
                      buildListPage(s, 1, tabs_),    buildListPage(s, 2, tabs_),
                      buildPluginTypesPage(s, tabs_)};
  for (std::size_t i = 0; i < std::size(pages); ++i) tabs_->addTab(pages[i], kPages[i].caption);
  // A list page gives its list the focus when it comes to the front.
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
    if (auto* list = tabs_->widget(index)->findChild<QListWidget*>()) list->setFocus();
  });

  auto* ok = namedButton(this, "OK", "Command1");
  ok->setDefault(true);
  auto* cancel = namedButton(this, "Cancel", "Command8");
  auto* help = namedButton(this, "Show Help File", "Command4");
  connect(ok, &QPushButton::clicked, this, &PreferencesDialog::ok);
  connect(cancel, &QPushButton::clicked, this, &PreferencesDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(helpPage()); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(help);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(buttons);
}

PreferencesDialog::~PreferencesDialog() = default;

bool PreferencesDialog::openOn(PreferencesPage page) {
  state_->draft = context_.options;
  state_->refresh();
  tabs_->setCurrentIndex(static_cast<int>(page));
  return exec() == QDialog::Accepted;
}

QString PreferencesDialog::helpPage() const {
  return kPages[std::clamp(tabs_->currentIndex(), 0, static_cast<int>(std::size(kPages)) - 1)]
      .helpPage;
}

void PreferencesDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    emit helpRequested(helpPage());
    return;
  }
  QDialog::keyPressEvent(event);
}

void PreferencesDialog::ok() {
  settings::Options& o = state_->draft;
  if (o.folderItemLimit <= 0) o.folderItemLimit = preferences::kDefaultFolderLimit;
  context_.options = o;
  if (!preferences::savePreferences(context_.store, context_.programDir, o))
    state_->prompter.warn("The lists could not be written to the program folder.", "Quillmark");
  context_.typeTable.GetPlugTypes(o.pluginTypes);
  context_.ffOptions = preferences::ffOptionsFrom(o, context_.programDir);
  emit applied();
  accept();
}

// Cancel, Escape and the close button: Load options, so the stored state is what stays.
void PreferencesDialog::reject() {
  const settings::Options kept = context_.options;
  context_.options = preferences::loadPreferences(context_.store, context_.programDir, kept);
  state_->draft = context_.options;
  QDialog::reject();
}

}  // namespace qm::gui
