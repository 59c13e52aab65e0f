// Formula text of any kind over a small picture: parse, compile, run on the reference
// interpreter and on every faster tier (block interpreter, machine code), and demand the same
// bytes.
// Input: width, height, channels and eight slider bytes, then up to four formulas
// separated by NUL bytes.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/formula/compiler.h"
#include "core/formula/render.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 11) return 0;
  const int width = 1 + data[0] % 12;
  const int height = 1 + data[1] % 9;
  const int channels = data[2] & 1 ? 4 : 3;
  qm::formula::FilterSetup setup;
  setup.width = width;
  setup.height = height;
  setup.channels = channels;
  for (int k = 0; k < 8; ++k) setup.sliders[k] = data[3 + k];
  setup.language.cPrecedence = (data[2] & 2) != 0;
  setup.language.arithmeticShift = (data[2] & 4) != 0;

  std::array<std::string, 4> formulas;
  int which = 0;
  for (std::size_t i = 11; i < size; ++i) {
    if (data[i] == 0) {
      if (++which == 4) break;
      continue;
    }
    formulas[which] += static_cast<char>(data[i]);
  }
  auto program = qm::formula::compileFilter(formulas, setup);
  if (!program) return 0;

  std::vector<std::uint8_t> in(static_cast<std::size_t>(width) * height * 4);
  std::uint32_t h = 2166136261u;
  for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
  for (auto& b : in) {
    h = h * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(h >> 24);
  }
  const qm::formula::ImageView view{in.data(), width, height, channels, 4, width * 4};
  std::vector<std::uint8_t> slow = in;
  qm::formula::RenderOptions reference;
  reference.engine = qm::formula::Engine::Reference;
  const auto want = qm::formula::render(*program, view, {slow.data(), 4, width * 4}, reference);
  for (auto tier : {qm::formula::Engine::Block, qm::formula::Engine::Compiled}) {
    std::vector<std::uint8_t> fast = in;
    qm::formula::RenderOptions options;
    options.engine = tier;
    const auto got = qm::formula::render(*program, view, {fast.data(), 4, width * 4}, options);
    if (slow != fast || want.nextSeed != got.nextSeed) std::abort();
  }
  return 0;
}
