// Formula text of any kind over a small picture: parse, compile, run on the reference
// interpreter and on every faster tier (block interpreter, machine code), into a buffer of other
// bytes and in place where allowed, and demand the same bytes.
// Input: see formula_input.h (bits 2 and 4 of the third byte pick the language options).

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/formula/compiler.h"
#include "core/formula/render.h"
#include "formula_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto input = readFormulaInput(data, size);
  if (!input) return 0;
  auto& [setup, formulas, in] = *input;
  setup.language.cPrecedence = (data[2] & 2) != 0;
  setup.language.arithmeticShift = (data[2] & 4) != 0;
  auto program = qm::formula::compileFilter(formulas, setup);
  if (!program) return 0;

  const int width = setup.width;
  const qm::formula::ImageView view{in.data(), width, setup.height, setup.channels, 4, width * 4};
  std::vector<std::uint8_t> slow = in;
  qm::formula::RenderOptions reference;
  reference.engine = qm::formula::Engine::Reference;
  const auto want = qm::formula::render(*program, view, {slow.data(), 4, width * 4}, reference);
  // Each tier into a buffer of other bytes, and in place where the program allows it.
  const bool inPlace = qm::formula::canRenderInPlace(*program);
  for (auto tier : {qm::formula::Engine::Reference, qm::formula::Engine::Block,
                    qm::formula::Engine::Compiled}) {
    qm::formula::RenderOptions options;
    options.engine = tier;
    std::vector<std::uint8_t> fast(in.size(), 0xA5);
    const auto got = qm::formula::render(*program, view, {fast.data(), 4, width * 4}, options);
    if (slow != fast || want.nextSeed != got.nextSeed) std::abort();
    if (!inPlace) continue;
    std::vector<std::uint8_t> own = in;
    qm::formula::ImageView ownView = view;
    ownView.data = own.data();
    qm::formula::render(*program, ownView, {own.data(), 4, width * 4}, options);
    if (slow != own) std::abort();
  }
  return 0;
}
