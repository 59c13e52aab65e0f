#pragma once
// "Plugin List": which fields make a line, the CSV form, clipboard or file, and the file
// name. The window keeps one instance; it hides instead of closing, so the choices stay.

#include <QDialog>
#include <optional>
#include <string>

#include "core/plugins/plugin_list.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace qm::gui {

struct PluginListChoice {
  plugins::ListFields fields;
  bool csv = false;
  bool toClipboard = false;
  std::string fileName;  // UTF-8
};

class PluginListDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit PluginListDialog(QWidget* parent = nullptr);

  PluginListChoice choice() const;
  // Shows the dialog modally: the choice on "Start", nullopt on "Cancel".
  std::optional<PluginListChoice> choose();

 signals:
  void helpRequested(const QString& page);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void updateEnabling();

  QGroupBox* include_;
  QCheckBox* category_;
  QCheckBox* title_;
  QCheckBox* fileName_;
  QCheckBox* author_;
  QCheckBox* copyright_;
  QCheckBox* csv_;
  QCheckBox* clipboard_;
  QLineEdit* name_;
  QPushButton* start_;
};

}  // namespace qm::gui
