#include "core/picture/plugin_preview.h"

#include "core/ff/load_file.h"
#include "core/host/filter_loader.h"
#include "core/host/run_filter.h"
#include "core/plugins/plugin_info.h"
#include "core/plugins/text_util.h"

namespace qm::picture {
namespace {

namespace fs = std::filesystem;

bool isPluginFile(const fs::path& file) {
  const ff::InputKind kind = ff::inputKindOf(file.filename().string());
  return kind == ff::InputKind::Plugin || kind == ff::InputKind::Premiere;
}

std::vector<std::string> factsOf(const fs::path& file, const PreviewContext& context) {
  const auto facts = plugins::pluginFacts(file, context.types, context.options);
  std::vector<std::string> lines;
  lines.push_back("Type: " + facts.label.value_or("unknown"));
  if (!facts.filters.empty()) {
    const std::string caption = facts.fieldCaption.empty() ? "Category" : facts.fieldCaption;
    if (!facts.filters[0].category.empty())
      lines.push_back(caption + ": " + facts.filters[0].category);
    if (!facts.filters[0].title.empty()) lines.push_back("Title: " + facts.filters[0].title);
  }
  if (facts.architecture) lines.push_back("Architecture: " + *facts.architecture);
  return lines;
}

PluginPreview facts(const fs::path& file, const PreviewContext& context) {
  PluginPreview result;
  result.kind = PreviewKind::Facts;
  result.facts = factsOf(file, context);
  return result;
}

// A plugin is read by the host's own loader, a source or library entry as the editor reads
// it; either way its formulas run with its stored slider values, as the host runs them.
std::optional<host::RunOutcome> filterThumb(const PreviewRequest& request,
                                            const PreviewContext& context, host::Image& image,
                                            const std::function<bool()>& cancelled) {
  const host::Rect whole{0, 0, image.width - 1, image.height - 1};
  std::optional<ff::FFRecord> record;
  if (request.fflPosition) {
    record = host::loadLibraryEntryAt(request.file, *request.fflPosition);
  } else if (isPluginFile(request.file)) {
    record = host::loadPluginFilter(request.file);
  } else {
    auto loaded = host::loadFilter(request.file.string(), context.options);
    if (loaded) record = std::move(*loaded);
  }
  if (!record) {
    if (!request.foreign || request.fflPosition) return std::nullopt;
    if (request.foreign(request.file, image, cancelled)) return host::RunOutcome::Done;
    if (cancelled && cancelled()) return host::RunOutcome::Cancelled;
    return std::nullopt;
  }
  host::FilterRun run;
  run.sliders = record->sliderValues;
  run.cancelled = cancelled;
  return host::runFilter(record->formulas, image, whole, run).outcome;
}

}  // namespace

bool hasPluginFacts(std::string_view fileName, const plugins::PlugTypeTable& types) {
  const std::string ext3 = plugins::lastLower(fileName, 3);
  return isPluginFile(fs::path(fileName)) || ext3 == "aex" || ext3 == "_ex" || types.match(fileName);
}

PluginPreview makePluginPreview(const PreviewRequest& request, const PreviewContext& context,
                                const std::function<bool()>& cancelled) {
  PluginPreview result;
  if (cancelled && cancelled()) {
    result.kind = PreviewKind::Cancelled;
    return result;
  }
  const bool cached = request.cache.enabled && !request.fflPosition &&
                      isCachedKind(request.file.filename().string());
  if (cached) {
    if (auto image =
            readCachedPreview(context.codec, request.programDir, request.file, request.picture)) {
      result.kind = PreviewKind::FromCache;
      result.image = std::move(*image);
      return result;
    }
  }
  if (!request.thumb.valid()) return facts(request.file, context);
  host::Image image = request.thumb;
  const auto outcome = filterThumb(request, context, image, cancelled);
  if (outcome == host::RunOutcome::Cancelled) {
    result.kind = PreviewKind::Cancelled;
    return result;
  }
  if (outcome != host::RunOutcome::Done) {
    // Facts only for plugins: a text that is no filter source is nothing to preview.
    const std::string name = request.file.filename().string();
    if (request.fflPosition || !hasPluginFacts(name, context.types)) return {};
    return facts(request.file, context);
  }
  if (cached)
    writeCachedPreview(context.codec, request.programDir, request.file, image,
                       request.cache.jpegQuality);
  result.kind = PreviewKind::Filtered;
  result.image = std::move(image);
  return result;
}

}  // namespace qm::picture
