#pragma once
// The main window's preview panel: the preview picture filtered by the selected plugin or
// filter source, made on a worker thread. A newer request cancels an older one and only the
// newest result is shown, so walking through a folder with the arrow keys never waits.

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QThreadPool>
#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>

#include "core/host/image.h"
#include "core/picture/plugin_preview.h"

namespace qm::gui {

struct AppContext;

class PreviewPanel : public QFrame {
  Q_OBJECT
 public:
  explicit PreviewPanel(AppContext& context, QWidget* parent = nullptr);
  ~PreviewPanel() override;

  // Shows the preview of file (or of the library entry at fflPosition of file) under caption
  // (the file's name when empty).
  void request(const std::filesystem::path& file, std::optional<std::size_t> fflPosition = {},
               const QString& caption = {});
  // Nothing selected: the panel empties and any running preview is dropped.
  void clear();
  // The preview picture changed (a new choice, or the settings'): the scaled copy is made
  // again, from decoded when the caller has read the picture already.
  void pictureChanged(const QImage& decoded = {});

  QLabel* pictureLabel() const { return picture_; }
  QLabel* captionLabel() const { return caption_; }
  QLabel* factsLabel() const { return facts_; }
  std::optional<picture::PreviewKind> lastKind() const { return lastKind_; }
  // What previews a Windows plugin once the user allowed it in the Preferences.
  void setWindowsPluginPreview(decltype(picture::PreviewRequest::foreign) preview) {
    windowsPluginPreview_ = std::move(preview);
  }
  // Waits for the worker (tests, shutdown).
  void waitForIdle() { pool_.waitForDone(); }

 signals:
  // A request's result is on the panel.
  void shown(picture::PreviewKind kind);

 private:
  const host::Image& thumb();
  void showCaption(const QString& text);
  void present(std::uint64_t generation, const picture::PluginPreview& preview);

  AppContext& context_;
  QLabel* caption_;
  QLabel* picture_;
  QLabel* facts_;
  QThreadPool pool_;
  std::shared_ptr<std::atomic<std::uint64_t>> generation_;
  std::optional<host::Image> thumb_;
  std::filesystem::path thumbFile_;
  std::optional<picture::PreviewKind> lastKind_;
  decltype(picture::PreviewRequest::foreign) windowsPluginPreview_;
};

}  // namespace qm::gui
