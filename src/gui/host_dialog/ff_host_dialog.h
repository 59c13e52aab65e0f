#pragma once
// Our plugin host's own dialog for a Filter Factory filter, as the plugin itself would show
// it: the filter's title, its named sliders (a named map as a pair), a preview of the picture,
// OK and Cancel; in editor mode also the four formulas for editing.

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/ff/record.h"
#include "core/host/image.h"

namespace qm::gui {

struct HostDialogResult {
  std::array<std::uint8_t, 8> sliders{};
  std::array<std::string, 4> formulas;  // Windows-1252, as the record holds them
};

class FFHostDialog : public QDialog {
  Q_OBJECT
 public:
  // picture is what the preview filters (scaled down to the preview's size here).
  FFHostDialog(const ff::FFRecord& record, const QImage& picture, bool editor,
               QWidget* parent = nullptr);

  HostDialogResult result() const;
  QSlider* slider(int index) const { return sliders_[static_cast<std::size_t>(index)]; }
  QPlainTextEdit* formulaBox(int channel) const {
    return formulas_[static_cast<std::size_t>(channel)];
  }
  QLabel* previewLabel() const { return preview_; }
  QLabel* errorLabel() const { return error_; }
  // Filters the preview with the current settings (each change does it).
  void updatePreview();

 private:
  ff::FFRecord record_;
  host::Image picture_;
  std::array<QSlider*, 8> sliders_{};
  std::array<QPlainTextEdit*, 4> formulas_{};
  QLabel* preview_;
  QLabel* error_;
};

// The plugin dialog of a host run (PluginInvoke's dialog): the dialog over picture,
// writing the chosen values into the filter on OK.
std::function<bool(ff::FFRecord&)> hostDialogFor(const QImage& picture, bool editor,
                                                 QWidget* parent);

// Shows the dialog modally; the chosen slider values and formulas, nullopt on Cancel.
std::optional<HostDialogResult> runHostDialog(const ff::FFRecord& record, const QImage& picture,
                                              bool editor, QWidget* parent = nullptr);

}  // namespace qm::gui
