#pragma once
// "Add Plugin Type" / "Edit Plugin Type": label, extension and where a file's display name
// comes from. OK refuses empty fields and cleans the extension; Cancel empties both boxes.

#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <array>

#include "core/preferences/plugin_type_form.h"

namespace qm::gui {

class PluginTypeDialog final : public QDialog {
  Q_OBJECT
 public:
  PluginTypeDialog(const QString& caption, const preferences::PluginTypeFields& fields,
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
  QPoint dragOffset_;
};

}  // namespace qm::gui
