#include "core/formula/render.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "core/formula/block_interpreter.h"
#include "core/formula/block_program.h"
#include "core/formula/channel_split.h"
#include "core/formula/compiled_kernel.h"
#include "core/formula/compiled_rows.h"
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
  const int spare = std::min(in.pixelStride, out.pixelStride);
  for (int y = 0; y < in.height; ++y) {
    if (stopRequested(options)) {
      result.completed = false;
      break;
    }
    for (int x = 0; x < in.width; ++x) {
      std::uint8_t* pixel = out.pixel(x, y);
      interpreter.runPixel(x, y, pixel, state);
      for (int k = in.channels; k < spare; ++k) pixel[k] = in.pixel(x, y)[k];
    }
  }
  result.nextSeed = state.nextSeed;
  return result;
}

// Rows handed out a few at a time to every thread of the pool, so each thread reads the
// neighbourhood of its own rows rather than both caches holding the same; makeRunner gives
// each thread its own row function.
constexpr int kRowsPerTurn = 8;

template <class MakeRunner>
RenderResult renderRows(const ImageView& in, const RenderOptions& options, Engine engine,
                        MakeRunner makeRunner) {
  std::atomic<int> nextRow{0};
  std::atomic<bool> stop{false};
  auto work = [&](unsigned thread) {
    auto runRow = makeRunner();
    while (!stop.load(std::memory_order_relaxed)) {
      if (thread == 0 && stopRequested(options)) {
        stop = true;
        break;
      }
      const int first = nextRow.fetch_add(kRowsPerTurn, std::memory_order_relaxed);
      if (first >= in.height) break;
      const int end = std::min(first + kRowsPerTurn, in.height);
      for (int y = first; y < end; ++y) runRow(y);
    }
  };
  if (options.pool && options.pool->threads() > 1 && in.height > 1)
    options.pool->run(work);
  else
    work(0);
  RenderResult result;
  result.completed = !stop.load();
  result.engine = engine;
  return result;
}

Engine wantedEngine(const RenderOptions& options) {
  Engine e = options.engine;
  if (e == Engine::Automatic) e = engineFromEnvironment();
  return e == Engine::Automatic ? Engine::Compiled : e;
}

}  // namespace

bool canRenderInPlace(const Program& program) {
  return !program.usesState &&
         std::none_of(program.code.begin(), program.code.end(), [](const Instruction& ins) {
           return ins.op == Op::Src || ins.op == Op::Cnv;
         });
}

RenderResult render(const Program& program, const ImageView& in, const MutableImageView& out,
                    const RenderOptions& options) {
  if (in.width <= 0 || in.height <= 0) return {};
  const Engine wanted = wantedEngine(options);
  if (wanted == Engine::Compiled && compiled::fitsKernel(in, out)) {
    if (auto kernel = compiled::Kernel::build(program))
      return renderRows(in, options, Engine::Compiled,
                        [&] { return compiled::RowRunner(*kernel, program, in, out); });
    // Only the channels that read the run's state need the original's order.
    if (auto split = splitByPixelOrder(program)) {
      if (auto kernel = compiled::Kernel::build(split->independent)) {
        const RenderResult fast = renderRows(in, options, Engine::Compiled, [&] {
          return compiled::RowRunner(*kernel, split->independent, in, out);
        });
        if (!fast.completed) return fast;
        RenderResult result = renderInOrder(split->ordered, in, out, options);
        result.engine = Engine::Compiled;
        return result;
      }
    }
  }
  if (wanted != Engine::Reference) {
    if (auto code = makeBlockProgram(program))
      return renderRows(in, options, Engine::Block, [&] {
        return [interpreter = std::make_shared<BlockInterpreter>(*code, program, in), &out](int y) {
          interpreter->runRow(y, out);
        };
      });
  }
  return renderInOrder(program, in, out, options);
}

}  // namespace qm::formula
