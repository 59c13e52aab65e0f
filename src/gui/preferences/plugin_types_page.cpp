// The Plugin Types page: the type list with its ticks, and Add, Edit, Remove, Toggle, Reset.

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>

#include "core/common/cp1252.h"
#include "core/preferences/plugin_type_form.h"
#include "gui/preferences/plugin_type_dialog.h"
#include "gui/preferences/preferences_state.h"

namespace qm::gui {
namespace {

void show(QListWidget* view, const plugins::TypeList& types, int current) {
  QSignalBlocker quiet(view);
  view->clear();
  for (const auto& entry : types) {
    auto* item = new QListWidgetItem(QString::fromStdString(cp1252ToUtf8(entry.text)), view);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(entry.ticked ? Qt::Checked : Qt::Unchecked);
  }
  if (current >= 0 && current < view->count()) view->setCurrentRow(current);
}

// Opens the editor; the accepted fields, or nothing after Cancel or with both texts empty.
std::optional<preferences::PluginTypeFields> editType(PreferencesState& s, QWidget* parent,
                                                      std::string_view caption,
                                                      const preferences::PluginTypeFields& start,
                                                      const plugins::TypeList& types,
                                                      std::optional<std::size_t> editing) {
  PluginTypeDialog dialog(qs(caption), start, types, editing, parent);
  QObject::connect(&dialog, &PluginTypeDialog::helpRequested, parent, [&s](const QString& page) {
    if (s.help) s.help(page);
  });
  dialog.exec();
  auto fields = dialog.fields();
  if (fields.label.empty() && fields.extension.empty()) return std::nullopt;
  return fields;
}

class DeleteKey final : public QObject {
 public:
  DeleteKey(QObject* parent, std::function<void()> remove)
      : QObject(parent), remove_(std::move(remove)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete)
      return remove_(), true;
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> remove_;
};

}  // namespace

QWidget* buildPluginTypesPage(PreferencesState& s, QWidget* parent) {
  auto* page = new QWidget(parent);
  page->setObjectName("pageList3");
  auto* view = new QListWidget(page);
  view->setObjectName("List1_3");
  plugins::TypeList& types = s.draft.pluginTypes;
  s.refreshers.push_back([view, &types] { show(view, types, -1); });
  QObject::connect(view, &QListWidget::itemChanged, page, [view, &types](QListWidgetItem* item) {
    auto row = static_cast<std::size_t>(view->row(item));
    if (row < types.size()) types[row].ticked = item->checkState() == Qt::Checked;
  });

  auto* add = namedButton(page, "Add", "Command3_3");
  auto* remove = namedButton(page, "Remove", "Command6_3");
  auto* edit = namedButton(page, "Edit", "Command15", "Edit a plugin type");
  auto* toggle = namedButton(page, "Toggle", "Command17", "Turn all items on or off");
  auto* reset = namedButton(page, "Reset", "Command16", "Restore the default plugin types");
  auto removeCurrent = [view, &types] {
    int row = view->currentRow();
    if (row < 0 || row >= static_cast<int>(types.size())) return;
    types.erase(types.begin() + row);
    show(view, types, std::min(row, static_cast<int>(types.size()) - 1));
  };
  view->installEventFilter(new DeleteKey(view, removeCurrent));
  QObject::connect(remove, &QPushButton::clicked, page, removeCurrent);
  QObject::connect(add, &QPushButton::clicked, page, [&s, page, view, &types] {
    if (auto fields = editType(s, page, preferences::kAddPluginTypeCaption, {}, types, {}))
      show(view, types, static_cast<int>(preferences::addTypeEntry(types, *fields)));
  });
  QObject::connect(edit, &QPushButton::clicked, page, [&s, page, view, &types] {
    int row = view->currentRow();
    if (row < 0 || row >= static_cast<int>(types.size())) return;
    auto start = preferences::splitEntry(types[static_cast<std::size_t>(row)].text);
    if (auto fields = editType(s, page, preferences::kEditPluginTypeCaption, start, types,
                               static_cast<std::size_t>(row)))
      show(view, types,
           static_cast<int>(
               preferences::replaceTypeEntry(types, static_cast<std::size_t>(row), *fields)));
  });
  QObject::connect(toggle, &QPushButton::clicked, page, [view, &types] {
    preferences::toggleAllTypes(types);
    show(view, types, view->currentRow());
  });
  QObject::connect(reset, &QPushButton::clicked, page, [view, &types] {
    preferences::mergeDefaultTypes(types);
    show(view, types, -1);
  });

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {add, edit, remove, toggle, reset}) buttons->addWidget(b);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(view, 1);
  layout->addLayout(buttons);
  return page;
}

}  // namespace qm::gui
