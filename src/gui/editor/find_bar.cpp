#include "gui/editor/find_bar.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "gui/editor/formula_edit.h"

namespace qm::gui {

FindBar::FindBar(ShownBoxes shown, CurrentBox current, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      shown_(std::move(shown)),
      current_(std::move(current)),
      find_(new QLineEdit(this)),
      replace_(new QLineEdit(this)),
      matchCase_(new QCheckBox("&Match case", this)),
      wholeName_(new QCheckBox("&Whole names", this)),
      status_(new QLabel(this)) {
  setObjectName("findBar");
  setWindowTitle("Find and Replace");
  find_->setObjectName("findText");
  replace_->setObjectName("replaceText");
  find_->setPlaceholderText("Find in the formulas");
  replace_->setPlaceholderText("Replace with");
  wholeName_->setToolTip("Only whole names and numbers: x finds x, not the x in max");
  status_->setObjectName("findStatus");
  auto button = [this](const QString& caption, const QString& tip) {
    auto* b = new QPushButton(caption, this);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
  };
  QPushButton* next = button("Find &Next", "Next match (F3)");
  QPushButton* previous = button("Find &Previous", "Previous match (Shift+F3)");
  QPushButton* one = button("&Replace", "Replace this match and find the next");
  QPushButton* all = button("Replace &All", "Replace every match in the formulas shown");
  QPushButton* close = button("Close", "Close (Escape)");
  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel("Fi&nd:", this), 0, 0);
  fields->addWidget(find_, 0, 1);
  fields->addWidget(next, 0, 2);
  fields->addWidget(previous, 0, 3);
  fields->addWidget(new QLabel("Replace &with:", this), 1, 0);
  fields->addWidget(replace_, 1, 1);
  fields->addWidget(one, 1, 2);
  fields->addWidget(all, 1, 3);
  static_cast<QLabel*>(fields->itemAtPosition(0, 0)->widget())->setBuddy(find_);
  static_cast<QLabel*>(fields->itemAtPosition(1, 0)->widget())->setBuddy(replace_);
  auto* options = new QHBoxLayout;
  options->addWidget(matchCase_);
  options->addWidget(wholeName_);
  options->addWidget(status_, 1);
  options->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(options);

  connect(next, &QPushButton::clicked, this, [this] { findNext(true); });
  connect(previous, &QPushButton::clicked, this, [this] { findNext(false); });
  connect(one, &QPushButton::clicked, this, &FindBar::replaceOne);
  connect(all, &QPushButton::clicked, this, &FindBar::replaceAll);
  connect(close, &QPushButton::clicked, this, &QWidget::hide);
  connect(find_, &QLineEdit::returnPressed, this, [this] { findNext(true); });
  connect(replace_, &QLineEdit::returnPressed, this, &FindBar::replaceOne);
  connect(find_, &QLineEdit::textChanged, this, [this] { status_->clear(); });
  // F3 and Shift+F3 are the editor window's, which this tool window belongs to.
  new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::hide);
}

void FindBar::open(bool replace) {
  if (FormulaEdit* box = current_ ? current_() : nullptr) {
    const QString selected = box->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
      find_->setText(selected);
  }
  show();
  raise();
  activateWindow();
  QLineEdit* field = replace && !find_->text().isEmpty() ? replace_ : find_;
  field->setFocus();
  field->selectAll();
}

editor::FindOptions FindBar::options() const {
  return {matchCase_->isChecked(), wholeName_->isChecked()};
}

std::array<std::u16string, 4> FindBar::texts(const std::vector<std::pair<int, FormulaEdit*>>& shown,
                                             std::vector<int>& order) const {
  std::array<std::u16string, 4> all;
  for (const auto& [index, box] : shown) {
    if (index < 0 || index >= 4) continue;
    all[index] = box->toPlainText().toStdU16String();
    order.push_back(index);
  }
  return all;
}

FormulaEdit* FindBar::boxAt(int index) const {
  for (const auto& [i, box] : shown_())
    if (i == index) return box;
  return nullptr;
}

bool FindBar::findNext(bool forward) {
  const auto needle = find_->text().toStdU16String();
  const auto shown = shown_();
  std::vector<int> order;
  const auto all = texts(shown, order);
  if (needle.empty() || order.empty()) return false;
  // From the box last searched or typed in, after (or before) its selection.
  FormulaEdit* from = current_ ? current_() : nullptr;
  if (last_ && (!from || !from->hasFocus())) from = last_;
  int index = order.front();
  for (const auto& [i, box] : shown)
    if (box == from) index = i;
  FormulaEdit* box = boxAt(index);
  const QTextCursor selection = box->textCursor();
  const auto offset =
      static_cast<std::size_t>(forward ? selection.selectionEnd() : selection.selectionStart());
  const auto match = editor::findNext(all, order, needle, options(), index, offset, forward);
  if (!match) {
    status_->setText("Not found");
    return false;
  }
  FormulaEdit* target = boxAt(match->box);
  // One match is marked at a time: the box left behind loses its selection.
  if (last_ && last_ != target) {
    QTextCursor plain = last_->textCursor();
    plain.clearSelection();
    last_->setTextCursor(plain);
  }
  QTextCursor cursor(target->document());
  cursor.setPosition(static_cast<int>(match->start));
  cursor.setPosition(static_cast<int>(match->start + match->length), QTextCursor::KeepAnchor);
  target->setTextCursor(cursor);
  target->ensureCursorVisible();
  last_ = target;
  const auto count = editor::findAll(all, order, needle, options()).size();
  status_->setText(count == 1 ? "1 match" : QString("%1 matches").arg(count));
  return true;
}

bool FindBar::replaceOne() {
  const auto needle = find_->text().toStdU16String();
  if (needle.empty()) return false;
  FormulaEdit* box = last_ ? last_ : (current_ ? current_() : nullptr);
  if (box) {
    QTextCursor cursor = box->textCursor();
    // The selection is replaced only when it is a match itself.
    const std::array<std::u16string, 4> one{cursor.selectedText().toStdU16String()};
    const auto hit = editor::findAll(one, {0}, needle, options());
    if (cursor.hasSelection() && hit.size() == 1 && hit[0].length == one[0].size()) {
      cursor.insertText(replace_->text());
      box->setTextCursor(cursor);
    }
  }
  return findNext(true);
}

int FindBar::replaceAll() {
  const auto needle = find_->text().toStdU16String();
  const auto shown = shown_();
  std::vector<int> order;
  const auto all = texts(shown, order);
  const auto matches = editor::findAll(all, order, needle, options());
  for (const auto& [index, box] : shown) {
    QTextCursor cursor(box->document());
    bool begun = false;
    // From the right, so the offsets to the left stay valid; one undo step per box.
    for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
      if (it->box != index) continue;
      if (!begun) cursor.beginEditBlock(), begun = true;
      cursor.setPosition(static_cast<int>(it->start));
      cursor.setPosition(static_cast<int>(it->start + it->length), QTextCursor::KeepAnchor);
      cursor.insertText(replace_->text());
    }
    if (begun) cursor.endEditBlock();
  }
  const int count = static_cast<int>(matches.size());
  status_->setText(count == 1 ? "1 replaced" : QString("%1 replaced").arg(count));
  return count;
}

}  // namespace qm::gui
