// Every tier against the reference on random programs: same bytes or a bug.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "core/formula/compiled_kernel.h"
#include "formula_helpers.h"

extern "C" {
#include "linear.h"
#include "runtime.h"

// The plugin runtime takes its memory from the host process's heap; here from ours.
void* rt_alloc(uintptr_t size) {
  return std::calloc(1, size);
}
void rt_free(void* p) {
  std::free(p);
}
}

namespace qm::formula::testing {
namespace {

// Random well-formed formulas over the whole language.
std::string randomFormula(std::mt19937& rng, int depth) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  // clang-format off
  static const char* kLeaves[] = {"x", "y", "z", "r", "g", "b", "a", "c", "i", "u", "v", "d", "m",
      "X", "Y", "Z", "M", "D", "0", "1", "2", "7", "255", "256", "1024", "65536", "2147483647",
      "-2147483648", "31"};
  static const char* kBinary[] = {"+", "-", "*", "/", "%", "<<", ">>", "<", "<=", ">", ">=", "==",
      "!=", "&", "^", "|", "&&", "||", ","};
  static const char* kUnary[] = {"-", "!", "~", "+"};
  struct Fn {
    const char* name;
    int arity;
  };
  static const Fn kFunctions[] = {{"src", 3}, {"rad", 3}, {"cnv", 10}, {"ctl", 1}, {"val", 3},
      {"map", 2}, {"min", 2}, {"max", 2}, {"abs", 1}, {"add", 3}, {"sub", 3}, {"dif", 2},
      {"mix", 4}, {"scl", 5}, {"sqr", 1}, {"cos", 1}, {"sin", 1}, {"tan", 1}, {"r2x", 2},
      {"r2y", 2}, {"c2d", 2}, {"c2m", 2}, {"get", 1}, {"put", 2}};
  // clang-format on
  if (depth <= 0 || pick(5) == 0) return kLeaves[pick(std::size(kLeaves))];
  switch (pick(6)) {
    case 0:
      return std::string(kUnary[pick(4)]) + "(" + randomFormula(rng, depth - 1) + ")";
    case 1:
      return "(" + randomFormula(rng, depth - 1) + "?" + randomFormula(rng, depth - 1) + ":" +
             randomFormula(rng, depth - 1) + ")";
    case 2: {
      // The idiom that keeps cells inside one pixel: write, then read.
      const std::string cell = std::to_string(pick(3));
      return "(put(" + randomFormula(rng, depth - 1) + "," + cell + ")," +
             randomFormula(rng, depth - 1) + "+get(" + cell + "))";
    }
    case 3: {
      const Fn& fn = kFunctions[pick(std::size(kFunctions))];
      std::string s = std::string(fn.name) + "(";
      for (int k = 0; k < fn.arity; ++k) s += (k ? "," : "") + randomFormula(rng, depth - 2);
      return s + ")";
    }
    default:
      return "(" + randomFormula(rng, depth - 1) + kBinary[pick(std::size(kBinary))] +
             randomFormula(rng, depth - 1) + ")";
  }
}

struct Layout {
  int width;
  int height;
  int channels;  // Z
  int pixelStride;
};

// Widths that are not multiples of eight, so the ends of rows take the padded path; RGB both
// packed and in 4-byte pixels.
constexpr Layout kLayouts[] = {{37, 9, 4, 4}, {19, 7, 3, 4}, {11, 5, 3, 3}};

// The result written over a buffer of other bytes (every byte of it must be written), or over
// the input itself where the program allows that.
enum class Target { OwnBuffer, InPlace };

std::vector<std::uint8_t> run(const Program& program, const Layout& l,
                              const std::vector<std::uint8_t>& in, Engine engine, ThreadPool* pool,
                              Engine* ran, Target target = Target::OwnBuffer) {
  std::vector<std::uint8_t> out = in;
  std::vector<std::uint8_t> copy;
  if (target == Target::OwnBuffer) {
    copy = in;
    for (auto& b : out) b = std::uint8_t(~b);
  }
  const std::ptrdiff_t rowStride = std::ptrdiff_t(l.width) * l.pixelStride;
  const std::uint8_t* pixels = target == Target::InPlace ? out.data() : copy.data();
  const ImageView view{pixels, l.width, l.height, l.channels, l.pixelStride, rowStride};
  RenderOptions options;
  options.engine = engine;
  options.pool = pool;
  *ran = render(program, view, {out.data(), l.pixelStride, rowStride}, options).engine;
  return out;
}

// The block and compiled tiers' bytes against the reference's, and every tier's in place where
// the program allows it; counts the tier each ran on.
void expectTiersAgree(const Program& program, const Layout& l, const std::vector<std::uint8_t>& in,
                      ThreadPool* pool, const std::string& what, int* ranOn = nullptr) {
  Engine ran;
  const auto want = run(program, l, in, Engine::Reference, nullptr, &ran);
  for (Engine tier : {Engine::Block, Engine::Compiled}) {
    ASSERT_EQ(run(program, l, in, tier, pool, &ran), want) << engineName(tier) << " tier, " << what;
    if (ranOn) ++ranOn[static_cast<int>(ran)];
  }
  if (!canRenderInPlace(program)) return;
  for (Engine tier : {Engine::Reference, Engine::Block, Engine::Compiled})
    ASSERT_EQ(run(program, l, in, tier, pool, &ran, Target::InPlace), want)
        << engineName(tier) << " tier in place, " << what;
}

// The plugin runtime's rows (runtime/, built for this machine): pixel after pixel when
// blockWidth is 0, else the block evaluator in blocks of that many pixels.
std::vector<std::uint8_t> runtimeRun(const std::array<std::string, 4>& formulas, const Layout& l,
                                     const std::vector<std::uint8_t>& in,
                                     const std::array<std::uint8_t, 8>& sliders, int blockWidth) {
  static const bool tablesReady = (rt_tables_init(), true);
  (void)tablesReady;
  ::Run run{};
  run.channels = l.channels;
  std::vector<std::uint8_t> out = in;
  bool ok = true;
  for (int ch = 0; ch < l.channels && ok; ++ch) {
    ::FormulaError error{};
    ok = rt_compile(formulas[ch].data(), int(formulas[ch].size()), &run.code[ch], &error) == 0;
  }
  if (ok && rt_prepare_rows(&run, blockWidth > 0, blockWidth)) {
    ::Picture pic{in.data(), l.width, l.height, l.channels, l.pixelStride, l.width * l.pixelStride,
                  {}};
    std::copy(sliders.begin(), sliders.end(), pic.sliders);
    ::RunState state;
    rt_seed(&state, 0);
    rt_filter_rows(&run, &pic, out.data(), pic.rowStride, l.pixelStride, 0, l.height, &state,
                   nullptr, nullptr);
  } else {
    out.clear();
  }
  rt_free_rows(&run);
  return out;
}

// The runtime's bytes against the reference's, pixel after pixel and in blocks narrower and
// wider than the rows, so blocks inside rows and at both ends run.
void expectRuntimeAgrees(const std::array<std::string, 4>& formulas, const Layout& l,
                         const std::vector<std::uint8_t>& in,
                         const std::array<std::uint8_t, 8>& sliders, const std::string& what) {
  auto program = compileFilter(formulas, {l.width, l.height, l.channels, sliders, {}});
  ASSERT_TRUE(program) << what;
  Engine ran;
  const auto want = run(*program, l, in, Engine::Reference, nullptr, &ran);
  for (int blockWidth : {0, 5, RT_BLOCK})
    ASSERT_EQ(runtimeRun(formulas, l, in, sliders, blockWidth), want)
        << "runtime in blocks of " << blockWidth << ", " << what;
}

TEST(TierAgreement, RandomProgramsGiveIdenticalBytesOnEveryTier) {
  std::mt19937 rng(20240611);
  ThreadPool pool(3);
  int ranOn[4] = {};
  int inPlace = 0;
  for (int round = 0; round < 600; ++round) {
    const Layout& l = kLayouts[round % std::size(kLayouts)];
    std::vector<std::uint8_t> in(std::size_t(l.width) * l.height * l.pixelStride);
    for (auto& b : in) b = std::uint8_t(rng());
    std::array<std::string, 4> f;
    std::string what = std::to_string(l.width) + "x" + std::to_string(l.height) +
                       " Z=" + std::to_string(l.channels);
    for (auto& text : f) what += "\n" + (text = randomFormula(rng, 5));
    std::array<std::uint8_t, 8> sliders;
    for (auto& s : sliders) s = std::uint8_t(rng());
    auto program = compileFilter(f, {l.width, l.height, l.channels, sliders, {}});
    ASSERT_TRUE(program) << what << "\n" << program.error().error.message;
    expectTiersAgree(*program, l, in, &pool, what, ranOn);
    expectRuntimeAgrees(f, l, in, sliders, what);
    if (::testing::Test::HasFatalFailure()) return;
    inPlace += canRenderInPlace(*program);
  }
  EXPECT_GT(inPlace, 5);  // the edge arithmetic below runs mostly in place
  // Most random programs must exercise the fast tiers, or agreement proves little.
  EXPECT_GT(ranOn[static_cast<int>(Engine::Block)], 300);
  if (compiled::machineSupported()) {
    EXPECT_GT(ranOn[static_cast<int>(Engine::Compiled)], 200);
  }
}

// Arithmetic the fast tiers do in their own way (division through floating point, polar
// functions, sampling at the edges), with the low bits of each result made visible; the fast
// tiers share the rows among threads.
TEST(TierAgreement, EdgeArithmeticGivesIdenticalBytesOnEveryTier) {
  const char* kFormulas[] = {
      // clang-format off
      "((r*65536+g*256+b)/7)&255", "((r*65536+g*256+b)%7)", "((r*65536+g*256+b)/255)&255",
      "((r*65536+g*256+b)/-641)&255", "((r*65536+g*256+b)%65535)&255", "((r-128)*65536/10)&255",
      "((r-128)*8388608/-3)&255", "((r-128)*g%-9)+128", "(x-20)/8+128", "(x-20)%8+128",
      "(-x*r)/-4&255", "(r*g)/(b-128)&255", "(r*g*b*x)%(g-100)&255",
      "(-2147483647-1)/(r-r-1)+(r*g<<16)/(x-18)&255", "c2d(x-30,y-11)&255",
      "c2m(x*99999,(y-4)*r)&255", "r2x(d,m*1000)&255", "r2y(d*r,m-g)&255", "tan(x*7+y)&255",
      "sin(r*g)+cos(-b*x)&255", "sqr(r*r*g)&255", "sqr(-x)+sqr(x*x*x*x*x*x)&255",
      "src(x*3-5,y-2,z)", "src(x,y,x-1)+src(-x,y*9,g&3)", "cnv(1,2,3,4,5,6,7,8,9,x-3)",
      "cnv(1,-2,3,-4,5,-6,7,-8,9,7)", "val(x&7,r,-g)+ctl(y-2)&255",
      "map(x&3,r)+mix(r,g,b,x-30)+scl(r,g,b,x,y)&255", "((x-30)*49)/49&255",
      "((y-11)*49)%-49+128",
      "put(src(x+r2x(d,8),y+r2y(d,8),z),3), (get(3)+cnv(1,2,1,2,4,2,1,2,1,16))/2",
      "scl(c2m(x-X/2,y-Y/2),0,M,0,255)^sin(x*8)", "mix(b,255-b,x,X)+tan(y)%7", "a>>1|(x&y)",
      "src(x+sin(y*8)/32,y,z)", "rad(d+ctl(0)*(M-m)/M,m,z)", "src((x*3+y)%X,(y*2+x/8)%Y,z)",
      "cnv(-9,30,-9,30,-99,30,-9,30,-9,z+1)", "src(x-y,y*3-20,z+x%2)+rad(7,9,z)+rad(x*9,y,1)",
      "(r*3+g*x)/7", "src(x*2,y,1)+c*(x>y)", "src(src(x,y,0),x-y,z)-cnv(1,1,1,1,1,1,1,1,1,9)",
      // clang-format on
  };
  const Layout l{61, 23, 4, 4};
  std::mt19937 rng(7);
  std::vector<std::uint8_t> in(std::size_t(l.width) * l.height * 4);
  for (auto& b : in) b = std::uint8_t(rng());
  const std::array<std::uint8_t, 8> sliders{9, 200, 31, 31, 255, 0, 77, 128};
  ThreadPool pool(4);
  for (const char* formula : kFormulas) {
    SCOPED_TRACE(formula);
    auto program = compileFilter({formula, "c", "c", "c"}, {l.width, l.height, 4, sliders, {}});
    ASSERT_TRUE(program);
    expectTiersAgree(*program, l, in, &pool, formula);
    // Every channel with the same formula: the runtime's channels share what they can.
    expectRuntimeAgrees({formula, formula, formula, formula}, l, in, sliders, formula);
    expectRuntimeAgrees({formula, "c", "c", "c"}, l, in, sliders, formula);
  }
}

// 1 when the runtime runs the formulas as weighted sums of the pixel's channels.
bool runtimeRunsAsSums(const std::array<std::string, 4>& formulas, const Layout& l,
                       const std::array<std::uint8_t, 8>& sliders) {
  ::Code code[4]{};
  bool ok = true;
  for (int ch = 0; ch < l.channels && ok; ++ch) {
    ::FormulaError error{};
    ok = rt_compile(formulas[ch].data(), int(formulas[ch].size()), &code[ch], &error) == 0;
  }
  ::Picture pic{nullptr, l.width, l.height, l.channels, l.pixelStride, 0, {}};
  std::copy(sliders.begin(), sliders.end(), pic.sliders);
  std::int32_t vars[V_COUNT]{};
  vars[V_W] = l.width;
  vars[V_H] = l.height;
  vars[V_CHANNELS] = l.channels;
  ::LinearPlan plan;
  ok = ok && rt_plan_linear(code, &pic, vars, &plan);
  for (auto& c : code) rt_free(c.code);
  return ok;
}

// Channel mixers, copies, inversions and greys run in a pass of their own, in 16 bits where the
// sums fit them; the bytes must be the reference's whichever width the sums take, on grey, RGB
// and RGBA pixels, and rows longer than a block. Formulas that are almost sums run as before.
TEST(TierAgreement, WeightedSumsGiveIdenticalBytesInTheRuntime) {
  struct Case {
    std::array<std::string, 4> formulas;
    bool sums;
  };
  // clang-format off
  const Case kCases[] = {
      {{"r", "g", "b", "a"}, true},
      {{"(r*ctl(0)+g*ctl(1)+b*ctl(2))/256", "(g*ctl(0)+b*ctl(1)+r*ctl(2))/256",
        "(b*ctl(0)+r*ctl(1)+g*ctl(2))/256", "255-a"}, true},
      {{"255-c", "r-g+128", "(g-b)*3/4", "(r*7+1)/8"}, true},              // 16 bits, both signs
      {{"(r+g+b)/3", "(r*300+g*300)/512", "(r-255)*129/2", "b/ctl(1)"}, true},  // 32 bits
      {{"r*-2147483648+g*65537", "-(-b)+c*2-c", "(r,g)", "r/(g-g+2)"}, true},
      {{"(ctl(z)+c)/2", "z*100+a", "X-X+Y-Y+Z+M-M", "a"}, true},
      {{"r*g", "g", "b", "a"}, false},
      {{"(r+g)/2+1", "g", "b", "a"}, false},
      {{"r/0", "r/-3", "x", "i"}, false},
  };
  // clang-format on
  const Layout kSumLayouts[] = {{9, 4, 1, 1}, {37, 9, 4, 4}, {19, 7, 3, 4}, {300, 3, 3, 3}};
  const std::array<std::uint8_t, 8> sliders{150, 60, 46, 200, 255, 0, 7, 128};
  std::mt19937 rng(11);
  for (const Case& c : kCases) {
    for (const Layout& l : kSumLayouts) {
      std::vector<std::uint8_t> in(std::size_t(l.width) * l.height * l.pixelStride);
      for (auto& b : in) b = std::uint8_t(rng());
      const std::string what = c.formulas[0] + " | " + c.formulas[1] + " | " + c.formulas[2] +
                               " | " + c.formulas[3] + ", Z=" + std::to_string(l.channels);
      EXPECT_EQ(runtimeRunsAsSums(c.formulas, l, sliders), c.sums) << what;
      // The engine knows no grey pixels; there the runtime's own pixel evaluator judges.
      if (l.channels == 1)
        EXPECT_EQ(runtimeRun(c.formulas, l, in, sliders, RT_BLOCK),
                  runtimeRun(c.formulas, l, in, sliders, 0))
            << what;
      else
        expectRuntimeAgrees(c.formulas, l, in, sliders, what);
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

}  // namespace
}  // namespace qm::formula::testing
