#include "core/picture/thumbnails.h"

#include <algorithm>
#include <cmath>

#include "core/common/safe_name.h"
#include "core/common/same_file.h"

namespace qm::picture {
namespace fs = std::filesystem;

ThumbnailReport writeThumbnails(const ThumbnailJob& job, const PreviewContext& context,
                                batch::OverwriteCheck& overwrite, Progress& progress) {
  ThumbnailReport report;
  std::vector<fs::path> inputs;
  for (const auto& source : job.sources) inputs.push_back(source.file);
  for (std::size_t k = 0; k < job.sources.size(); ++k) {
    if (progress.cancelled()) {
      report.cancelled = true;
      break;
    }
    const auto& source = job.sources[k];
    progress.status(std::to_string(k + 1) + " of " + std::to_string(job.sources.size()));
    progress.percent(static_cast<int>((k + 1) * 100 / job.sources.size()));
    PreviewRequest request = job.base;
    request.file = source.file;
    request.fflPosition = source.fflPosition;
    request.thumb = job.picture;
    request.cache.enabled = false;  // a thumbnail has its own size, never the panel's
    auto preview = makePluginPreview(request, context, [&] { return progress.cancelled(); });
    if (preview.kind == PreviewKind::Cancelled) {
      report.cancelled = true;
      break;
    }
    if (preview.kind != PreviewKind::Filtered && job.foreign && !source.fflPosition) {
      host::Image image = job.picture;
      const auto outcome = job.foreign(source.file, source.filterTitle, image, progress);
      if (outcome.status == ForeignThumbnail::Status::Cancelled) {
        report.cancelled = true;
        break;
      }
      if (outcome.status == ForeignThumbnail::Status::Failed) {
        report.failed.push_back({source.file, outcome.reason});
        continue;
      }
      if (outcome.status == ForeignThumbnail::Status::Done) {
        preview.kind = PreviewKind::Filtered;
        preview.image = std::move(image);
      }
    }
    if (preview.kind != PreviewKind::Filtered) {
      report.failed.push_back({source.file, "this program cannot run it"});
      continue;
    }
    std::string name = plainFileName(source.name);
    if (name.empty()) name = "Thumbnail";
    const fs::path output = job.folder / (name + job.ending);
    if (replacesOwnInput(output, inputs)) {
      report.failed.push_back({output, std::string(kOwnInputReason)});
      continue;
    }
    switch (overwrite({}, output)) {
      case batch::OverwriteDecision::Cancel:
        report.cancelled = true;
        return report;
      case batch::OverwriteDecision::Skip:
        report.skipped.push_back(output);
        break;
      case batch::OverwriteDecision::Write: {
        const bool jpeg = job.ending == ".jpg";
        const bool done =
            jpeg ? context.codec.writeWithQuality(preview.image, output, job.jpegQuality)
                 : context.codec.write(preview.image, output);
        if (!done) {
          report.failed.push_back({output, "could not be written"});
          continue;
        }
        if (std::find(report.written.begin(), report.written.end(), output) == report.written.end())
          report.written.push_back(output);
        break;
      }
    }
    report.tiles.push_back({source.title.empty() ? name : source.title, std::move(preview.image)});
  }
  progress.status("");
  return report;
}

SheetLayout contactSheetLayout(const std::vector<host::Size>& tiles, int captionHeight, int gap,
                               int columns) {
  SheetLayout layout;
  if (tiles.empty()) return layout;
  const int count = static_cast<int>(tiles.size());
  layout.columns = columns > 0 ? std::min(columns, count)
                               : static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
  layout.rows = (count + layout.columns - 1) / layout.columns;
  int cellWidth = 0, cellHeight = 0;
  for (const auto& t : tiles) {
    cellWidth = std::max(cellWidth, t.width);
    cellHeight = std::max(cellHeight, t.height);
  }
  const int rowHeight = cellHeight + captionHeight;
  layout.sheet = {gap + layout.columns * (cellWidth + gap), gap + layout.rows * (rowHeight + gap)};
  for (int i = 0; i < count; ++i) {
    const int left = gap + (i % layout.columns) * (cellWidth + gap);
    const int top = gap + (i / layout.columns) * (rowHeight + gap);
    const auto& t = tiles[static_cast<std::size_t>(i)];
    const int x = left + (cellWidth - t.width) / 2;
    const int y = top + (cellHeight - t.height) / 2;
    layout.pictures.push_back({x, y, x + t.width - 1, y + t.height - 1});
    layout.captions.push_back(
        {left, top + cellHeight, left + cellWidth - 1, top + cellHeight + captionHeight - 1});
  }
  return layout;
}

}  // namespace qm::picture
