// The folder, picture and application pages: one list each with its buttons and keys.

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "core/preferences/list_editing.h"
#include "gui/preferences/preferences_state.h"

namespace qm::gui {
namespace {

using preferences::ItemList;

constexpr const char* kPictureFilter =
    "Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.webp *.tga);;All Files (*)";

ItemList& itemsOf(settings::Options& o, int list) {
  return list == 0 ? o.folders : list == 1 ? o.pictures : o.apps;
}

std::vector<std::size_t> selectedRows(const QListWidget* view) {
  std::vector<std::size_t> rows;
  for (int i = 0; i < view->count(); ++i)
    if (view->item(i)->isSelected()) rows.push_back(static_cast<std::size_t>(i));
  return rows;
}

// Shows the items again, with the given rows selected and `current` current.
void show(QListWidget* view, const ItemList& items, const std::vector<std::size_t>& selected,
          int current, bool editable) {
  const QSignalBlocker quiet(view);
  view->clear();
  for (const auto& item : items) {
    auto* line = new QListWidgetItem(QString::fromStdString(item), view);
    if (editable) line->setFlags(line->flags() | Qt::ItemIsEditable);
  }
  for (std::size_t row : selected)
    if (row < items.size()) view->item(static_cast<int>(row))->setSelected(true);
  if (current >= 0 && current < view->count())
    view->setCurrentRow(current, QItemSelectionModel::NoUpdate);
}

// The list's own keys: Delete removes, Alt+Up and Alt+Down move the current item.
class ListKeys final : public QObject {
 public:
  ListKeys(QObject* parent, std::function<void()> remove, std::function<void(int)> move)
      : QObject(parent), remove_(std::move(remove)), move_(std::move(move)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete) return remove_(), true;
    if (key->modifiers() & Qt::AltModifier) {
      if (key->key() == Qt::Key_Up) return move_(-1), true;
      if (key->key() == Qt::Key_Down) return move_(+1), true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> remove_;
  std::function<void(int)> move_;
};

// Return in a line being edited ends the edit there and then, and goes no further: the
// dialog's OK must not take the press and close before the edit is kept.
class LineEditing final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* editor = qobject_cast<QWidget*>(watched);
    if (editor && event->type() == QEvent::KeyPress) {
      int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        return true;
      }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
  }
};

void addItem(PreferencesState& s, int list, QWidget* page) {
  ItemList& items = itemsOf(s.draft, list);
  if (list == 0) {
    if (preferences::atLimit(items, s.draft.folderItemLimit)) {
      s.prompter.warn(preferences::kLimitReached, "Quillmark");
      return;
    }
    QString folder = s.choosers.folder(page, "Please select a plugin folder ...");
    if (!folder.isEmpty())
      preferences::addUnique(items, preferences::withTrailingSeparator(folder.toStdString()));
  } else if (list == 1) {
    QString picture = s.choosers.file(page, "Open Picture", kPictureFilter, {});
    if (!picture.isEmpty()) items.push_back(picture.toStdString());
  } else {
    // Programs on this platform carry no extension, so the filter shows every file.
    QString program = s.choosers.file(page, "Select Executable", "Executables (*)", {});
    if (!program.isEmpty())
      preferences::addUnique(items, preferences::programWord(program.toStdString()));
  }
}

QWidget* limitRow(PreferencesState& s, QWidget* page) {
  auto* row = new QWidget(page);
  auto* edit = new QLineEdit(row);
  edit->setObjectName("Text1");
  edit->setValidator(new QIntValidator(0, 99999, edit));
  edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance("99999") + 16);
  QObject::connect(edit, &QLineEdit::textEdited, row,
                   [&s](const QString& text) { s.draft.folderItemLimit = text.toInt(); });
  s.refreshers.push_back([&s, edit] { edit->setText(QString::number(s.draft.folderItemLimit)); });
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel("Limit to", row));
  layout->addWidget(edit);
  layout->addWidget(new QLabel("entries", row));
  layout->addStretch();
  return row;
}

}  // namespace

QWidget* buildListPage(PreferencesState& s, int list, QWidget* parent) {
  auto* page = new QWidget(parent);
  page->setObjectName(QString("pageList%1").arg(list));
  auto* view = new QListWidget(page);
  view->setObjectName(QString("List1_%1").arg(list));
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);  // AdaptListWidth

  auto update = [&s, list, view](const std::vector<std::size_t>& selected, int current) {
    show(view, itemsOf(s.draft, list), selected, current, list == 2);
  };
  if (list == 2) {
    // An application line is edited in place (F2, double click), so arguments can be added.
    view->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
    view->setItemDelegate(new LineEditing(view));
    QObject::connect(view, &QListWidget::itemChanged, page, [&s, view](QListWidgetItem* item) {
      auto row = static_cast<std::size_t>(view->row(item));
      std::string text = item->text().trimmed().toStdString();
      if (row >= s.draft.apps.size()) return;
      if (text.empty())
        item->setText(QString::fromStdString(s.draft.apps[row]));
      else
        s.draft.apps[row] = text;
    });
  } else {
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  }
  auto remove = [&s, list, view, update] {
    preferences::removeItems(itemsOf(s.draft, list), selectedRows(view));
    update({}, -1);
  };
  auto move = [&s, list, view, update](int step) {
    int current = view->currentRow();
    if (current < 0) return;
    auto moved =
        preferences::moveItem(itemsOf(s.draft, list), static_cast<std::size_t>(current), step);
    update({moved}, static_cast<int>(moved));
  };
  view->installEventFilter(new ListKeys(view, remove, move));
  s.refreshers.push_back([update] { update({}, -1); });

  auto* add = namedButton(page, "Add", QString("Command3_%1").arg(list));
  auto* removeButton = namedButton(page, "Remove", QString("Command6_%1").arg(list));
  auto* selectAll = namedButton(page, "Select All", QString("Command7_%1").arg(list));
  auto* up = namedButton(page, QString::fromUtf8("\u25b2"), QString("Command9_%1").arg(list),
                         "Move selected picture one row up");
  auto* down = namedButton(page, QString::fromUtf8("\u25bc"), QString("Command10_%1").arg(list),
                           "Move selected picture one row down");
  QObject::connect(add, &QPushButton::clicked, page, [&s, list, page, update] {
    addItem(s, list, page);
    update({}, -1);
  });
  QObject::connect(removeButton, &QPushButton::clicked, page, remove);
  QObject::connect(selectAll, &QPushButton::clicked, view, &QListWidget::selectAll);
  QObject::connect(up, &QPushButton::clicked, page, [move] { move(-1); });
  QObject::connect(down, &QPushButton::clicked, page, [move] { move(+1); });

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {add, removeButton, selectAll}) buttons->addWidget(b);
  if (list == 2) {
    auto* percent = namedButton(page, "Add %1", "Command11");
    auto* strip = namedButton(page, "Remove %1", "Command12");
    auto edit = [&s, view, update](auto change) {
      auto rows = selectedRows(view);
      change(s.draft.apps, rows);
      update(rows, view->currentRow());
    };
    QObject::connect(percent, &QPushButton::clicked, page,
                     [edit] { edit(preferences::appendPercentOne); });
    QObject::connect(strip, &QPushButton::clicked, page,
                     [edit] { edit(preferences::stripPercentOne); });
    buttons->addWidget(percent);
    buttons->addWidget(strip);
  }
  buttons->addStretch();
  auto* arrows = new QHBoxLayout;
  arrows->addWidget(up);
  arrows->addWidget(down);
  buttons->addLayout(arrows);

  auto* options = new QHBoxLayout;
  options->addWidget(boundCheck(s, page, "Auto Add", QString("Check10_%1").arg(list),
                                s.draft.autoAdd[static_cast<std::size_t>(list)]));
  if (list == 0) {
    options->addWidget(boundCheck(s, page, "Auto Top", "Check19", s.draft.autoTop));
    options->addWidget(limitRow(s, page));
  }
  options->addStretch();

  auto* top = new QHBoxLayout;
  top->addWidget(view, 1);
  top->addLayout(buttons);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top, 1);
  layout->addLayout(options);
  return page;
}

}  // namespace qm::gui
