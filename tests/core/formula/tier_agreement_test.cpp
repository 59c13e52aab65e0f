// The block interpreter against the reference on random programs: same bytes or a bug.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/formula/block_program.h"
#include "formula_helpers.h"
#include "random_formula.h"

namespace qm::formula::testing {
namespace {

TEST(TierAgreement, RandomProgramsGiveIdenticalBytes) {
  std::mt19937 rng(20240611);
  Picture rgba = gradient(37, 9, 4);
  Picture rgb = gradient(19, 7, 3);
  ThreadPool pool(3);
  int blockRuns = 0;
  for (int round = 0; round < 400; ++round) {
    const Picture& in = round % 2 ? rgba : rgb;
    std::array<std::string, 4> f;
    for (auto& text : f) text = randomFormula(rng, 5);
    std::array<std::uint8_t, 8> sliders;
    for (auto& s : sliders) s = std::uint8_t(rng());
    FilterSetup setup{in.width, in.height, in.channels, sliders, {}};
    auto program = compileFilter(f, setup);
    ASSERT_TRUE(program) << f[0] << "\n" << program.error().error.message;
    blockRuns += makeBlockProgram(*program).has_value();
    RenderOptions reference;
    reference.referenceOnly = true;
    RenderOptions fast;
    fast.pool = &pool;
    const auto want = applyFilter(f, in, reference, sliders);
    ASSERT_EQ(applyFilter(f, in, fast, sliders), want) << f[0] << "\n"
                                                       << f[1] << "\n"
                                                       << f[2] << "\n"
                                                       << f[3];
  }
  EXPECT_GT(blockRuns, 200);  // most random programs must exercise the fast tier
}

}  // namespace
}  // namespace qm::formula::testing
