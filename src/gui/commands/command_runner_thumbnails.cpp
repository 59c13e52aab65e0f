// Thumbnail: one preview picture per selected filter in the passive pane's folder, and on
// request a contact sheet of them all with each title under its picture.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QImage>
#include <QPainter>
#include <QSpinBox>

#include "core/common/cp1252.h"
#include "core/common/text_lines.h"
#include "core/common/unicode_text.h"
#include "core/host/image_library.h"
#include "core/host/preview_picture.h"
#include "core/picture/thumbnails.h"
#include "core/shell/messages.h"
#include "gui/commands/command_runner.h"
#include "gui/commands/passive_folder_prompter.h"
#include "gui/commands/run_scope.h"
#include "gui/main/windows_plugins.h"
#include "platform/image_codec.h"

namespace qm::gui {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kThumbnailTitle = "Thumbnail";
constexpr int kCaptionHeight = 22;
constexpr int kGap = 12;

struct ThumbnailChoice {
  int size = 256;
  bool jpeg = false;
  bool sheet = false;
};

std::optional<ThumbnailChoice> askChoice(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setObjectName("thumbnailDialog");
  dialog.setWindowTitle("Thumbnail");
  auto* size = new QSpinBox(&dialog);
  size->setObjectName("thumbnailSize");
  size->setRange(32, 2048);
  size->setValue(256);
  size->setSuffix(" px");
  size->setToolTip("The longest side of each picture");
  auto* format = new QComboBox(&dialog);
  format->setObjectName("thumbnailFormat");
  format->addItems({"PNG", "JPEG"});
  auto* sheet = new QCheckBox("Also a contact sheet of them all (PNG)", &dialog);
  sheet->setObjectName("thumbnailSheet");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* form = new QFormLayout(&dialog);
  form->addRow("Size:", size);
  form->addRow("Format:", format);
  form->addRow(sheet);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return ThumbnailChoice{size->value(), format->currentIndex() == 1, sheet->isChecked()};
}

QImage toQImage(const host::Image& image) {
  QImage out(image.width, image.height, QImage::Format_RGBA8888);
  for (int y = 0; y < image.height; ++y)
    std::copy_n(image.pixel(0, y), std::size_t(image.width) * 4, out.scanLine(y));
  return out;
}

QImage contactSheet(const std::vector<picture::Thumbnail>& tiles) {
  std::vector<host::Size> sizes;
  for (const auto& t : tiles) sizes.push_back({t.image.width, t.image.height});
  const auto layout = picture::contactSheetLayout(sizes, kCaptionHeight, kGap);
  QImage sheet(layout.sheet.width, layout.sheet.height, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  const QFontMetrics metrics(painter.font());
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    const auto& p = layout.pictures[i];
    painter.drawImage(QPoint(p.left, p.top), toQImage(tiles[i].image));
    const auto& c = layout.captions[i];
    const QRect caption(c.left, c.top, c.width(), c.height());
    painter.drawText(caption, Qt::AlignCenter,
                     metrics.elidedText(QString::fromStdString(tiles[i].title), Qt::ElideMiddle,
                                        caption.width()));
  }
  return sheet;
}

// A Windows plugin that is not a Filter Factory filter, run by the plugin host on the window
// thread (its progress polls Escape) with its default parameters and no dialog.
picture::ForeignThumbnail runForeign(WindowsPlugins& plugins, const fs::path& file,
                                     const std::string& filterTitle, host::Image& image,
                                     Progress& progress) {
  using Status = picture::ForeignThumbnail::Status;
  const auto plugin = plugins.pluginFor(file, filterTitle);
  if (!plugin) return {Status::NotForeign, {}};
  const auto result = plugins.run(*plugin, image, false, progress);
  switch (result.status) {
    case plughost::ForeignResult::Status::Done:
      return {Status::Done, {}};
    case plughost::ForeignResult::Status::Cancelled:
      return {Status::Cancelled, {}};
    case plughost::ForeignResult::Status::Failed:
      break;
  }
  // The summary line names the file already.
  std::string reason = result.message;
  if (const std::string named = plugin->shownAs + ": "; reason.starts_with(named))
    reason.erase(0, named.size());
  return {Status::Failed, reason};
}

std::string lines(const std::vector<picture::ThumbnailProblem>& problems) {
  std::vector<std::string> shown;
  for (const auto& p : problems) shown.push_back(displayPath(p.source) + ": " + p.reason);
  return joinedText(shown, "\n");
}

}  // namespace

std::vector<picture::ThumbnailSource> CommandRunner::selectedThumbnailSources(int pane) const {
  std::vector<picture::ThumbnailSource> sources;
  if (host_.view(pane) == shell::PaneView::Ffl) {
    const fs::path library = host_.fflLibrary(pane);
    for (const auto& [number, entry] : selectedFflEntries(pane))
      sources.push_back({library,
                         entry.position,
                         library.stem().string() + "-" + std::to_string(number),
                         cp1252ToUtf8(entry.title),
                         {}});
    return sources;
  }
  if (host_.view(pane) == shell::PaneView::Plugin) {
    // A row is one filter, also of a file that holds several.
    const auto& catalogue = host_.catalogue(pane);
    for (std::size_t row : host_.selectedRows(pane)) {
      if (row == 0 || row > catalogue.rowCount()) continue;
      const auto& entry = catalogue.row(row);
      for (auto& source : picture::thumbnailSourcesOf(entry.path, settings_.ffOptions, entry.title))
        sources.push_back(std::move(source));
    }
    return sources;
  }
  for (const auto& file : selectedFileList(pane))
    for (auto& source : picture::thumbnailSourcesOf(file, settings_.ffOptions))
      sources.push_back(std::move(source));
  return sources;
}

void CommandRunner::thumbnails() {
  if (busy_) return;
  const int pane = host_.activePane();
  auto sources = selectedThumbnailSources(pane);
  if (sources.empty()) {
    ports_.prompter.warn(shell::kSelectFiles, shell::kAttentionTitle);
    return;
  }
  auto choice = askChoice(dialogParent_);
  if (!choice) return;
  platform::QtImageCodec codec;
  host::ImageLibrary images(codec);
  host::ImageHandle copy = 0;
  const fs::path pictureFile =
      host::previewPicturePath(settings_.options.previewPicture, settings_.ffOptions.programDir);
  if (!host::CreateThumb(images, pictureFile, {choice->size, choice->size}, copy)) {
    ports_.prompter.warn(displayPath(pictureFile) + ": the preview picture cannot be read.",
                         kThumbnailTitle);
    return;
  }
  RunScope run(busy_, ports_.progress, statusSink_);
  picture::ThumbnailJob job;
  job.sources = std::move(sources);
  job.folder = host_.folder(1 - pane);
  job.ending = choice->jpeg ? ".jpg" : ".png";
  job.jpegQuality = settings_.options.previewJpgQuality;
  job.picture = *images.image(copy);
  job.base.programDir = settings_.ffOptions.programDir;
  job.base.picture = pictureFile;
  if (windowsPlugins_)
    job.foreign = [plugins = windowsPlugins_](const fs::path& file, const std::string& filterTitle,
                                              host::Image& image, Progress& progress) {
      return runForeign(plugins(), file, filterTitle, image, progress);
    };
  overwrite_({}, {});
  auto report = picture::writeThumbnails(job, {codec, settings_.typeTable, settings_.ffOptions},
                                         overwrite_, run.progress());
  if (choice->sheet && !report.cancelled && !report.tiles.empty()) {
    const fs::path sheetFile = job.folder / "Contact Sheet.png";
    if (overwrite_({}, sheetFile) == batch::OverwriteDecision::Write) {
      if (platform::writePicture(contactSheet(report.tiles), sheetFile).empty())
        report.written.push_back(sheetFile);
      else
        report.failed.push_back({sheetFile, "could not be written"});
    }
  }
  overwrite_({}, {});
  std::string summary = std::to_string(report.written.size()) + " written, " +
                        std::to_string(report.skipped.size()) + " kept, " +
                        std::to_string(report.failed.size()) + " failed" +
                        (report.cancelled ? "; stopped." : ".");
  if (!report.failed.empty())
    ports_.prompter.warn(summary + "\n\n" + lines(report.failed), kThumbnailTitle);
  else if (statusSink_)
    statusSink_(QString::fromStdString(summary));
  filesChangedIn(job.folder);
  host_.refreshFiles(0);
  host_.refreshFiles(1);
}

}  // namespace qm::gui
