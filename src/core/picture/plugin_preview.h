#pragma once
// The preview of the selected plugin or filter source: the preview picture filtered by it
// through our host, taken from the cache when it is current, or, for a plugin we cannot run,
// what we know about it.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ff/options.h"
#include "core/host/image.h"
#include "core/host/image_codec.h"
#include "core/picture/preview_cache.h"
#include "core/plugins/type_table.h"

namespace qm::picture {

struct PreviewRequest {
  std::filesystem::path file;
  // An entry of the library file: the byte position of its first line.
  std::optional<std::size_t> fflPosition;
  std::filesystem::path programDir;
  std::filesystem::path picture;  // the preview picture's file
  host::Image thumb;              // the preview picture scaled into the preview box
  PreviewCacheSettings cache;
  // Set when the user allowed Windows plugins to run for previews: filters the thumbnail with
  // a plugin the Filter Factory readers do not take; false when it did not.
  std::function<bool(const std::filesystem::path&, host::Image&, const std::function<bool()>&)>
      foreign;
};

enum class PreviewKind { Filtered, FromCache, Facts, Cancelled };

struct PluginPreview {
  PreviewKind kind = PreviewKind::Facts;
  host::Image image;  // Filtered and FromCache
  // Facts: "Type: ...", "Category: ...", ... (UTF-8); empty for a file that is neither a
  // filter nor a plugin.
  std::vector<std::string> facts;
};

struct PreviewContext {
  host::ImageCodec& codec;
  const plugins::PlugTypeTable& types;
  const ff::FFOptions& options;
};

// A file whose facts the preview shows when it cannot filter with it: the Filter Factory
// kinds, After Effects plugins and the types of the type table.
bool hasPluginFacts(std::string_view fileName, const plugins::PlugTypeTable& types);

PluginPreview makePluginPreview(const PreviewRequest& request, const PreviewContext& context,
                                const std::function<bool()>& cancelled = {});

}  // namespace qm::picture
