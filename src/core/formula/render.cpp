#include "core/formula/render.h"

#include <atomic>

#include "core/formula/block_interpreter.h"
#include "core/formula/block_program.h"
#include "core/formula/reference_interpreter.h"

namespace qm::formula {
namespace {

bool stopRequested(const RenderOptions& options) {
  return options.cancelled && options.cancelled();
}

RenderResult renderInOrder(const Program& program, const ImageView& in, const MutableImageView& out,
                           const RenderOptions& options) {
  RenderResult result;
  RunState state(options.seed);
  ReferenceInterpreter interpreter(program, in);
  for (int y = 0; y < in.height; ++y) {
    if (stopRequested(options)) {
      result.completed = false;
      break;
    }
    for (int x = 0; x < in.width; ++x) interpreter.runPixel(x, y, out.pixel(x, y), state);
  }
  result.nextSeed = state.nextSeed;
  return result;
}

RenderResult renderBlocks(const BlockProgram& code, const Program& program, const ImageView& in,
                          const MutableImageView& out, const RenderOptions& options) {
  std::atomic<int> nextRow{0};
  std::atomic<bool> stop{false};
  auto work = [&](unsigned thread) {
    BlockInterpreter interpreter(code, program, in);
    while (!stop.load(std::memory_order_relaxed)) {
      if (thread == 0 && stopRequested(options)) {
        stop = true;
        break;
      }
      const int y = nextRow.fetch_add(1, std::memory_order_relaxed);
      if (y >= in.height) break;
      interpreter.runRow(y, out);
    }
  };
  if (options.pool && options.pool->threads() > 1 && in.height > 1)
    options.pool->run(work);
  else
    work(0);
  RenderResult result;
  result.completed = !stop.load();
  return result;
}

}  // namespace

RenderResult render(const Program& program, const ImageView& in, const MutableImageView& out,
                    const RenderOptions& options) {
  if (in.width <= 0 || in.height <= 0) return {};
  if (!options.referenceOnly) {
    if (auto code = makeBlockProgram(program))
      return renderBlocks(*code, program, in, out, options);
  }
  return renderInOrder(program, in, out, options);
}

}  // namespace qm::formula
