#pragma once
// Properties of a file or folder: name, folder, size, dates, type and permissions.

#include <QDialog>
#include <filesystem>

#include "core/ff/options.h"
#include "core/plugins/type_table.h"

namespace qm::gui {

class PropertiesDialog : public QDialog {
  Q_OBJECT
 public:
  PropertiesDialog(const std::filesystem::path& target, const plugins::PlugTypeTable& types,
                   const ff::FFOptions& options, QWidget* parent = nullptr);
};

// The type shown for a file: the plugin type the engine recognises (with its architecture),
// else the desktop's description of the file.
QString typeLabel(const std::filesystem::path& file, const plugins::PlugTypeTable& types,
                  const ff::FFOptions& options);

}  // namespace qm::gui
