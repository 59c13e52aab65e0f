#pragma once
// "Choose or enter a new category": an editable list of the pane's real categories. Picking
// an entry or pressing Enter confirms at once. The engine decides what a usable answer is.

#include <QDialog>
#include <QStringList>
#include <optional>

class QComboBox;

namespace qm::gui {

class ChangeCategoryDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit ChangeCategoryDialog(QWidget* parent = nullptr);

  QComboBox* combo() const { return combo_; }
  // Fills the list with choices and an empty text; the typed or picked text when confirmed,
  // nullopt on "Cancel".
  std::optional<QString> ask(const QStringList& choices);

 signals:
  // F1: the window opens this page of the help folder.
  void helpRequested(const QString& page);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QComboBox* combo_;
};

}  // namespace qm::gui
