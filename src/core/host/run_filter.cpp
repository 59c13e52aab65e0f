#include "core/host/run_filter.h"

#include <algorithm>

#include "core/formula/render.h"

namespace qm::host {

RunReport runFilter(const std::array<std::string, 4>& formulas, Image& image, const Rect& area,
                    const FilterRun& run) {
  RunReport report;
  Rect r = area;
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, image.width - 1);
  r.bottom = std::min(r.bottom, image.height - 1);
  if (!image.valid() || r.width() <= 0 || r.height() <= 0) {
    report.outcome = RunOutcome::BadArea;
    return report;
  }
  formula::FilterSetup setup;
  setup.width = r.width();
  setup.height = r.height();
  setup.channels = image.hasAlpha ? 4 : 3;
  setup.sliders = run.sliders;
  auto program = formula::compileFilter(formulas, setup);
  if (!program) {
    report.outcome = RunOutcome::BadFormula;
    report.error = program.error();
    return report;
  }
  const std::ptrdiff_t rowStride = static_cast<std::ptrdiff_t>(image.width) * 4;
  const std::size_t origin = static_cast<std::size_t>(r.top) * rowStride + r.left * 4;
  formula::ImageView in{
      image.rgba.data() + origin, setup.width, setup.height, setup.channels, 4, rowStride};
  formula::RenderOptions options;
  options.pool = run.pool;
  options.cancelled = run.cancelled;
  options.engine = run.engine;
  if (formula::canRenderInPlace(*program) && (!run.cancelled || !run.keepPictureOnCancel)) {
    const formula::MutableImageView out{image.rgba.data() + origin, 4, rowStride};
    if (!formula::render(*program, in, out, options).completed)
      report.outcome = RunOutcome::Cancelled;
    return report;
  }
  // Every read must see the original pixels, so the result goes to a buffer of its own. The
  // run fills every byte of its area, so only a picture with more than the area is copied.
  const bool whole = r.width() == image.width && r.height() == image.height;
  PixelBytes result = whole ? PixelBytes(image.rgba.size()) : image.rgba;
  const formula::MutableImageView out{result.data() + origin, 4, rowStride};
  if (!formula::render(*program, in, out, options).completed) {
    report.outcome = RunOutcome::Cancelled;
    return report;
  }
  image.rgba = std::move(result);
  return report;
}

std::string describe(const formula::CompileError& error) {
  static constexpr const char* kChannel[] = {"R", "G", "B", "A"};
  return std::string(kChannel[error.channel & 3]) + " formula, position " +
         std::to_string(error.error.position + 1) + ": " + error.error.message;
}

}  // namespace qm::host
