// The plugin runtime's formula evaluators (runtime/, plain C: one pixel at a time, and the
// 64-bit runtime's block evaluator) against the engine's reference interpreter: the same
// formulas over the same small picture must give the same bytes, so a plugin running in
// another host draws what `apply` draws.
// Input: see formula_input.h.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/ff/template_layout.h"
#include "core/formula/compiler.h"
#include "core/formula/render.h"
#include "formula_input.h"

extern "C" {
#include "runtime.h"

void* rt_alloc(uintptr_t size) {
  return std::calloc(1, size);
}
void rt_free(void* p) {
  std::free(p);
}
}

namespace {

// The runtime's rows of pixels: every pixel in order when blockWidth is 0, else the block
// evaluator with blocks of that many pixels (where the formulas allow it) and the channels
// sharing what they can; false when a formula does not compile.
bool runRuntime(const std::array<std::string, 4>& formulas, const Picture& pic, int blockWidth,
                std::vector<std::uint8_t>& out) {
  Run run{};
  run.channels = pic.channels;
  bool ok = true;
  for (int ch = 0; ch < pic.channels && ok; ++ch) {
    FormulaError error{};
    ok = rt_compile(formulas[ch].data(), static_cast<int>(formulas[ch].size()), &run.code[ch],
                    &error) == 0;
  }
  if (ok && rt_prepare_rows(&run, blockWidth > 0, blockWidth)) {
    RunState state;
    rt_seed(&state, 0);
    rt_filter_rows(&run, &pic, out.data(), pic.width * 4, 4, 0, pic.height, &state, nullptr,
                   nullptr);
  }
  rt_free_rows(&run);
  return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool tablesReady = (rt_tables_init(), true);
  (void)tablesReady;
  auto input = readFormulaInput(data, size);
  if (!input) return 0;
  auto& [setup, formulas, in] = *input;
  const int width = setup.width;
  // Fields the writer stores hold at most kMaxFormulaChars characters; an empty one means "c".
  for (auto& f : formulas) {
    if (f.size() > qm::ff::layout::kMaxFormulaChars) return 0;
    if (f.find_first_not_of(" \t\r\n") == std::string::npos) f = "c";
  }
  auto program = qm::formula::compileFilter(formulas, setup);

  Picture pic{};
  pic.data = in.data();
  pic.width = width;
  pic.height = setup.height;
  pic.channels = setup.channels;
  pic.pixelStride = 4;
  pic.rowStride = width * 4;
  std::memcpy(pic.sliders, setup.sliders.data(), 8);
  std::vector<std::uint8_t> ours = in;
  if (!runRuntime(formulas, pic, 0, ours)) return 0;
  // Blocks narrower than the picture too, so the evaluator's paths inside the rows run.
  for (const int blockWidth : {RT_BLOCK, 1 + data[0] / 12 % 8}) {
    std::vector<std::uint8_t> blocks = in;
    runRuntime(formulas, pic, blockWidth, blocks);
    if (blocks != ours) std::abort();
  }
  if (!program) return 0;

  std::vector<std::uint8_t> want = in;
  const qm::formula::ImageView view{in.data(), width, setup.height, setup.channels, 4, width * 4};
  qm::formula::RenderOptions reference;
  reference.engine = qm::formula::Engine::Reference;
  qm::formula::render(*program, view, {want.data(), 4, width * 4}, reference);
  if (want != ours) std::abort();
  return 0;
}
