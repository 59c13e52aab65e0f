#pragma once
// One preview of the filter being edited: compile it into the temporary plugin, run that
// plugin through the host on a copy of the preview picture, hand back the result. It touches
// no window, so the desktop program runs it on a worker thread.

#include <filesystem>
#include <optional>
#include <string>

#include "core/ff/options.h"
#include "core/ff/record.h"
#include "core/formula/thread_pool.h"
#include "core/host/image.h"

namespace qm::editor {

struct PreviewRequest {
  ff::FFRecord record;    // gathered, with the preview formulas in place
  host::Image picture;    // the preview copy; it is not changed
  ff::FFOptions options;  // programDir receives temp.dll
};

struct PreviewResult {
  std::optional<host::Image> image;  // none when the plugin could not be written or run
  std::string message;               // why not, worded for the user
};

PreviewResult runPreview(const PreviewRequest& request, formula::ThreadPool* pool);

}  // namespace qm::editor
