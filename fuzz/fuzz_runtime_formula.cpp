// The plugin runtime's formula evaluator (runtime/, plain C) against the engine's reference
// interpreter: the same formulas over the same small picture must give the same bytes, so a
// plugin running in another host draws what `apply` draws.
// Input: see formula_input.h.

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
#include "formula.h"

void* rt_alloc(uintptr_t size) {
  return std::calloc(1, size);
}
void rt_free(void* p) {
  std::free(p);
}
}

namespace {

// The runtime's own loop: every pixel in order, each channel's code with c and z set.
bool runRuntime(const std::array<std::string, 4>& formulas, const Picture& pic,
                std::vector<std::uint8_t>& out) {
  std::array<Code, 4> code{};
  bool ok = true;
  int deepest = 1;
  for (int ch = 0; ch < pic.channels && ok; ++ch) {
    FormulaError error{};
    ok = rt_compile(formulas[ch].data(), static_cast<int>(formulas[ch].size()), &code[ch],
                    &error) == 0;
    if (ok && code[ch].maxDepth > deepest) deepest = code[ch].maxDepth;
  }
  if (ok) {
    std::vector<std::int32_t> stack(static_cast<std::size_t>(deepest + 1 + V_COUNT) * RT_BLOCK);
    RunState state;
    rt_seed(&state, 0);
    std::int32_t vars[V_COUNT]{};
    std::uint32_t used = 0;
    for (int ch = 0; ch < pic.channels; ++ch) used |= code[ch].varsUsed;
    vars[V_W] = pic.width;
    vars[V_H] = pic.height;
    vars[V_CHANNELS] = pic.channels;
    vars[V_MAXMAG] = rt_magnitude(pic.width / 2, pic.height / 2);
    for (int y = 0; y < pic.height; ++y)
      for (int x = 0; x < pic.width; ++x) {
        rt_pixel_inputs(&pic, x, y, used, vars);
        for (int ch = 0; ch < pic.channels; ++ch) {
          vars[V_C] = ch < 3 ? vars[V_R + ch] : vars[V_A];
          vars[V_Z] = ch;
          const std::int32_t v = rt_run(&code[ch], &pic, vars, stack.data(), &state);
          out[(static_cast<std::size_t>(y) * pic.width + x) * 4 + ch] =
              static_cast<std::uint8_t>(v < 0     ? 0
                                        : v > 255 ? 255
                                                  : v);
        }
      }
  }
  for (auto& c : code) rt_free(c.code);
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
  const bool runtimeAccepts = runRuntime(formulas, pic, ours);
  if (!program || !runtimeAccepts) return 0;

  std::vector<std::uint8_t> want = in;
  const qm::formula::ImageView view{in.data(), width, setup.height, setup.channels, 4, width * 4};
  qm::formula::RenderOptions reference;
  reference.engine = qm::formula::Engine::Reference;
  qm::formula::render(*program, view, {want.data(), 4, width * 4}, reference);
  if (want != ours) std::abort();
  return 0;
}
