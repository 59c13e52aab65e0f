#pragma once
// One preview of the filter being edited: compile it into the temporary plugin, run that
// plugin through the host on a copy of the preview picture, hand back the result. It touches
// no window, so the desktop program runs it on a worker thread.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/ff/options.h"
#include "core/ff/record.h"
#include "core/formula/thread_pool.h"
#include "core/host/image.h"

namespace qm::editor {

// Where previews put their temp.dll: a folder of its own in the program folder. Each preview
// replaces the plugin of the one before, and a file that is replaced is first flushed to the
// disk, which costs more than the whole render of a small picture; a scratch plugin in its
// own folder is removed and written afresh instead.
inline constexpr std::string_view kPreviewFolder = "preview";

struct PreviewRequest {
  ff::FFRecord record;  // gathered, with the preview formulas in place
  // The preview copy, shared with the window; the run filters a copy of it.
  std::shared_ptr<const host::Image> picture;
  ff::FFOptions options;  // the template comes from programDir's temp.dll
  // True once a newer preview wants the worker: the run stops and hands back nothing.
  std::function<bool()> cancelled;
};

struct PreviewResult {
  std::optional<host::Image> image;  // none when the plugin could not be written or run
  std::string message;               // why not, worded for the user
};

PreviewResult runPreview(const PreviewRequest& request, formula::ThreadPool* pool);

}  // namespace qm::editor
