#pragma once
// Properties of a file or folder: name, folder, size, dates, type and permissions.

#include <QDialog>
#include <filesystem>

namespace qm::plugins {
class PlugTypeTable;
}

namespace qm::gui {

class PropertiesDialog : public QDialog {
  Q_OBJECT
 public:
  PropertiesDialog(const std::filesystem::path& target, const plugins::PlugTypeTable& types,
                   QWidget* parent = nullptr);
};

// The type shown for a file: the plugin kind by its ending, else the desktop's description.
QString typeLabel(const std::filesystem::path& file, const plugins::PlugTypeTable& types);

}  // namespace qm::gui
