#pragma once
// "Add Plugin Type" / "Edit Plugin Type": label, extension and where a file's display name
// comes from. OK refuses empty fields and cleans the extension; Cancel empties both boxes.

#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <array>
#include <optional>

#include "core/preferences/plugin_type_form.h"

namespace qm::gui {

class PluginTypeDialog final : public QDialog {
  Q_OBJECT
 public:
  // list: the entries an extension must not repeat; editing: the entry being edited.
  PluginTypeDialog(const QString& caption, const preferences::PluginTypeFields& fields,
                   const plugins::TypeList& list, std::optional<std::size_t> editing,
                   QWidget* parent = nullptr);

  // The fields as the dialog left them: after Cancel both texts are empty.
  preferences::PluginTypeFields fields() const;

 signals:
  void helpRequested(const QString& page);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void ok();
  void cancel();

  QLineEdit* label_;
  QLineEdit* extension_;
  std::array<QRadioButton*, preferences::kNameSourceCount> sources_{};
  const plugins::TypeList& list_;
  std::optional<std::size_t> editing_;
  QPoint dragOffset_;
};

}  // namespace qm::gui
