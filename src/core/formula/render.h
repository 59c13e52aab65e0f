#pragma once
// Runs a compiled filter over an image. Rows go to the thread pool when the pixels are
// independent, on machine code where the machine allows, else on the block interpreter;
// otherwise (random numbers, cells carried from pixel to pixel) the reference interpreter walks
// the image in the original's order on the calling thread.

#include <cstdint>
#include <functional>
#include <optional>

#include "core/formula/engine.h"
#include "core/formula/image_view.h"
#include "core/formula/program.h"
#include "core/formula/thread_pool.h"

namespace qm::formula {

struct RenderOptions {
  ThreadPool* pool = nullptr;  // null: the calling thread alone
  // The generator seed of this run: 0 unless a caller carries an earlier run's rst() over.
  std::uint32_t seed = 0;
  // Polled on the calling thread between rows; true stops the run.
  std::function<bool()> cancelled;
  // A tier to use where the program and machine allow it; Automatic: QUILLMARK_ENGINE, else
  // the fastest.
  Engine engine = Engine::Automatic;
};

struct RenderResult {
  bool completed = true;
  std::optional<std::int32_t> nextSeed;  // set when the run called rst()
  Engine engine = Engine::Reference;     // the tier that ran
};

// out must have the size of in; the bytes of an out pixel past the Z channels get the in
// pixel's, so out need not start as a copy. in and out must not overlap, every read seeing the
// original pixels, except that out may be in itself where canRenderInPlace allows it.
RenderResult render(const Program& program, const ImageView& in, const MutableImageView& out,
                    const RenderOptions& options = {});

// True when every pixel reads only its own values and none depends on the pixels before it,
// so the result can overwrite the picture as it goes.
bool canRenderInPlace(const Program& program);

}  // namespace qm::formula
