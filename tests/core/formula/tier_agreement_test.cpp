// Every tier against the reference on random programs: same bytes or a bug.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/formula/compiled_kernel.h"
#include "formula_helpers.h"
#include "random_formula.h"

namespace qm::formula::testing {
namespace {

struct Layout {
  int width;
  int height;
  int channels;  // Z
  int pixelStride;
};

// Widths that are not multiples of eight, so the ends of rows take the padded path; RGB both
// packed and in 4-byte pixels.
constexpr Layout kLayouts[] = {{37, 9, 4, 4}, {19, 7, 3, 4}, {11, 5, 3, 3}};

std::vector<std::uint8_t> run(const Program& program, const Layout& l,
                              const std::vector<std::uint8_t>& in, RenderOptions options,
                              Engine* ran) {
  std::vector<std::uint8_t> out = in;
  const std::ptrdiff_t rowStride = std::ptrdiff_t(l.width) * l.pixelStride;
  const ImageView view{in.data(), l.width, l.height, l.channels, l.pixelStride, rowStride};
  const RenderResult result =
      render(program, view, {out.data(), l.pixelStride, rowStride}, options);
  *ran = result.engine;
  return out;
}

TEST(TierAgreement, RandomProgramsGiveIdenticalBytesOnEveryTier) {
  std::mt19937 rng(20240611);
  ThreadPool pool(3);
  int ranOn[4] = {};
  for (int round = 0; round < 600; ++round) {
    const Layout& l = kLayouts[round % std::size(kLayouts)];
    std::vector<std::uint8_t> in(std::size_t(l.width) * l.height * l.pixelStride);
    for (auto& b : in) b = std::uint8_t(rng());
    std::array<std::string, 4> f;
    for (auto& text : f) text = randomFormula(rng, 5);
    std::array<std::uint8_t, 8> sliders;
    for (auto& s : sliders) s = std::uint8_t(rng());
    FilterSetup setup{l.width, l.height, l.channels, sliders, {}};
    auto program = compileFilter(f, setup);
    ASSERT_TRUE(program) << f[0] << "\n" << program.error().error.message;
    RenderOptions reference;
    reference.engine = Engine::Reference;
    Engine ran;
    const auto want = run(*program, l, in, reference, &ran);
    for (Engine tier : {Engine::Block, Engine::Compiled}) {
      RenderOptions options;
      options.pool = &pool;
      options.engine = tier;
      ASSERT_EQ(run(*program, l, in, options, &ran), want)
          << engineName(tier) << " tier, " << l.width << "x" << l.height << " Z=" << l.channels
          << "\n"
          << f[0] << "\n"
          << f[1] << "\n"
          << f[2] << "\n"
          << f[3];
      ++ranOn[static_cast<int>(ran)];
    }
  }
  // Most random programs must exercise the fast tiers, or agreement proves little.
  EXPECT_GT(ranOn[static_cast<int>(Engine::Block)], 300);
  if (compiled::machineSupported()) {
    EXPECT_GT(ranOn[static_cast<int>(Engine::Compiled)], 200);
  }
}

}  // namespace
}  // namespace qm::formula::testing
