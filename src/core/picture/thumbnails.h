#pragma once
// Thumbnail: the preview picture filtered by each selected filter with its stored slider
// values, one picture file each, and the layout of a contact sheet that shows them all.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/batch/overwrite_check.h"
#include "core/common/ports.h"
#include "core/ff/options.h"
#include "core/host/image.h"
#include "core/host/image_library.h"
#include "core/host/preview_picture.h"
#include "core/picture/plugin_preview.h"

namespace qm::picture {

struct ThumbnailSource {
  std::filesystem::path file;
  std::optional<std::size_t> fflPosition;  // a library entry: its first line's byte position
  std::string name;                        // the written file's name without its ending
  std::string title;                       // shown under the tile of a contact sheet
  // Of a Windows plugin file that holds several filters: the one to run, by its title.
  std::string filterTitle;
};

// The thumbnails a file gives: one per filter of a Windows plugin that holds several (named
// after the file and the filter's place in it, "Stem-2"), else one. With onlyTitle, of such a
// plugin only the filter of that title (a Plugin View row).
std::vector<ThumbnailSource> thumbnailSourcesOf(const std::filesystem::path& file,
                                                const ff::FFOptions& options,
                                                const std::string& onlyTitle = {});

// A Windows plugin that the Filter Factory readers do not take, run on a thumbnail by the
// plugin host with its default parameters.
struct ForeignThumbnail {
  enum class Status { NotForeign, Done, Failed, Cancelled };
  Status status = Status::NotForeign;
  std::string reason;  // Failed: why, as the user reads it
};
using ForeignThumbnailRunner = std::function<ForeignThumbnail(
    const std::filesystem::path& file, const std::string& filterTitle, host::Image&, Progress&)>;

struct ThumbnailJob {
  std::vector<ThumbnailSource> sources;
  std::filesystem::path folder;
  std::string ending = ".png";  // ".png" or ".jpg"
  int jpegQuality = 75;
  // What every preview is made from: the preview picture at the chosen size, and its file.
  host::Image picture;
  PreviewRequest base;
  // Set where Windows plugins can run: filters the picture with a file that is none of ours.
  ForeignThumbnailRunner foreign;
};

struct Thumbnail {
  std::string title;
  host::Image image;
};

struct ThumbnailProblem {
  std::filesystem::path source;
  std::string reason;
};

struct ThumbnailReport {
  std::vector<std::filesystem::path> written;
  std::vector<std::filesystem::path> skipped;
  std::vector<ThumbnailProblem> failed;
  std::vector<Thumbnail> tiles;  // every filtered picture, for a contact sheet
  bool cancelled = false;
};

// Filters and writes each source's thumbnail into job.folder through overwrite. A source
// that cannot be run (not a filter this program runs, or a plugin the host cannot run) fails
// with the reason.
ThumbnailReport writeThumbnails(const ThumbnailJob& job, const PreviewContext& context,
                                batch::OverwriteCheck& overwrite, Progress& progress);

// Tiles in rows of at most columns (the squarest grid when 0), each tile's caption under it.
struct SheetLayout {
  int columns = 0;
  int rows = 0;
  host::Size sheet;
  std::vector<host::Rect> pictures;  // each tile's picture, centred in its cell
  std::vector<host::Rect> captions;  // the line under each picture
};
SheetLayout contactSheetLayout(const std::vector<host::Size>& tiles, int captionHeight, int gap,
                               int columns = 0);

}  // namespace qm::picture
