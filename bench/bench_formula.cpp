// The formula engine's tiers against the same filters written by hand in plain C++ (a scalar
// loop per filter), on RGB pictures (3 channels in 4-byte pixels): 1024 x 1024, which fits in
// the caches, and 4096 x 4096, which does not. Every tier is checked against the plain C++
// bytes first. After the runs tables give each column's speed relative to plain C++ and the
// geometric means over the suite and over the everyday filters.
//   bench_formula                              everything, then the tables
//   bench_formula --benchmark_filter=Compiled1 one column only (no table)
// Columns at 1 megapixel: Native (plain C++), Block1 and Compiled1 (one thread), Compiled2 (two
// threads). At 16 megapixels: Native16, and Apply16 and Apply16x2 (one and two threads), the
// whole filter phase of apply (compiling, buffers, the run). Preview: compile + run of a typical
// filter on two threads.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/formula/compiler.h"
#include "core/formula/ops.h"
#include "core/formula/render.h"
#include "core/formula/tables.h"
#include "core/host/run_filter.h"

namespace {

using namespace qm::formula;
using i32 = std::int32_t;
namespace o = qm::formula::ops;

constexpr int kSmallSide = 1024;  // fits in the caches
constexpr int kLargeSide = 4096;  // 16 megapixels, a user's photograph

struct Picture {
  int side;
  std::vector<std::uint8_t> in, out;
  explicit Picture(int s) : side(s), in(std::size_t(s) * s * 4), out(in.size()) {
    std::uint32_t h = 12345;
    for (auto& b : in) {
      h = h * 1103515245u + 12345u;
      b = std::uint8_t(h >> 24);
    }
  }
  ImageView view() const { return {in.data(), side, side, 3, 4, side * 4}; }
  MutableImageView target() { return {out.data(), 4, side * 4}; }
  std::uint8_t* row(int y) { return out.data() + std::size_t(y) * side * 4; }
};

Picture& picture(int side) {
  static Picture small(kSmallSide);
  static Picture large(kLargeSide);
  return side == kSmallSide ? small : large;
}

using NativePixel = std::function<void(const ImageView&, int x, int y, std::uint8_t* out)>;

struct Case {
  const char* name;
  std::array<std::string, 4> formulas;
  std::array<std::uint8_t, 8> sliders;
  // The hand-written filter, one row at a time so the compiler sees a plain loop.
  void (*native)(const ImageView&, int y, std::uint8_t* row);
};

std::uint8_t clamp(i32 v) {
  return std::uint8_t(o::clampByte(v));
}

// Each native filter computes exactly what its formulas compute.
const Case kCases[] = {
    // What a user's picture meets most: nothing at all, a few operations a channel, a shifted
    // copy, divisions by the picture's own values.
    {"identity",
     {"r", "g", "b", "a"},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       std::memcpy(row, in.pixel(0, y), std::size_t(in.width) * 4);  // a plain copy
     }},
    {"arith",
     {"(r+g+b)/3", "r*2-g", "b^x", "a"},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const std::uint8_t* p = in.pixel(0, y);
       for (int x = 0; x < in.width; ++x) {
         const i32 r = p[x * 4], g = p[x * 4 + 1], b = p[x * 4 + 2];
         row[x * 4] = clamp((r + g + b) / 3);
         row[x * 4 + 1] = clamp(r * 2 - g);
         row[x * 4 + 2] = clamp(b ^ x);
       }
     }},
    {"choose",
     {"r>128?255-r:r*2", "g<64?0:g", "(x*y)%256", "a"},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const std::uint8_t* p = in.pixel(0, y);
       for (int x = 0; x < in.width; ++x) {
         const i32 r = p[x * 4], g = p[x * 4 + 1];
         row[x * 4] = clamp(r > 128 ? 255 - r : r * 2);
         row[x * 4 + 1] = clamp(g < 64 ? 0 : g);
         row[x * 4 + 2] = clamp(x * y % 256);
       }
     }},
    {"shift",
     {"src(x+8,y,0)", "src(x,y+8,1)", "src(X-x,y,2)", "a"},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       for (int x = 0; x < in.width; ++x) {
         row[x * 4] = clamp(in.sample(x + 8, y, 0));
         row[x * 4 + 1] = clamp(in.sample(x, y + 8, 1));
         row[x * 4 + 2] = clamp(in.sample(in.width - x, y, 2));
       }
     }},
    {"divide",
     {"(r*x)/(y+1)", "(g*255)/(b+1)", "(x*x+y*y)/(x+y+1)%256", "a"},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const std::uint8_t* p = in.pixel(0, y);
       for (int x = 0; x < in.width; ++x) {
         const i32 r = p[x * 4], g = p[x * 4 + 1], b = p[x * 4 + 2];
         row[x * 4] = clamp(r * x / (y + 1));
         row[x * 4 + 1] = clamp(g * 255 / (b + 1));
         row[x * 4 + 2] = clamp((x * x + y * y) / (x + y + 1) % 256);
       }
     }},
    {"invert",
     {"255-r", "255-g", "255-b", ""},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const std::uint8_t* p = in.pixel(0, y);
       for (int x = 0; x < in.width; ++x)
         for (int k = 0; k < 3; ++k) row[x * 4 + k] = clamp(255 - p[x * 4 + k]);
     }},
    {"contrast",
     {"(c-128)*ctl(0)/64+128", "(c-128)*ctl(0)/64+128", "(c-128)*ctl(0)/64+128", ""},
     {96},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const std::uint8_t* p = in.pixel(0, y);
       for (int x = 0; x < in.width; ++x)
         for (int k = 0; k < 3; ++k) row[x * 4 + k] = clamp((p[x * 4 + k] - 128) * 96 / 64 + 128);
     }},
    {"sepia",
     {"i+40", "i+20", "i-20", ""},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const std::uint8_t* p = in.pixel(0, y);
       for (int x = 0; x < in.width; ++x) {
         const i32 i = (76 * p[x * 4] + 150 * p[x * 4 + 1] + 29 * p[x * 4 + 2]) / 256;
         row[x * 4] = clamp(i + 40);
         row[x * 4 + 1] = clamp(i + 20);
         row[x * 4 + 2] = clamp(i - 20);
       }
     }},
    {"threshold",
     {"i>ctl(0)?255:0", "max(r,g)-min(g,b)/2", "r<b&&g>64", ""},
     {128},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const std::uint8_t* p = in.pixel(0, y);
       for (int x = 0; x < in.width; ++x) {
         const i32 r = p[x * 4], g = p[x * 4 + 1], b = p[x * 4 + 2];
         const i32 i = (76 * r + 150 * g + 29 * b) / 256;
         row[x * 4] = clamp(i > 128 ? 255 : 0);
         row[x * 4 + 1] = clamp(std::max(r, g) - std::min(g, b) / 2);
         row[x * 4 + 2] = clamp(r < b && g > 64);
       }
     }},
    {"ripple",
     {"src(x+sin(y*8)/32,y,z)", "src(x+sin(y*8)/32,y,z)", "src(x,y+cos(x*8)/32,z)", ""},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const i32 dx = sine(y * 8) / 32;
       for (int x = 0; x < in.width; ++x) {
         row[x * 4] = clamp(in.sample(x + dx, y, 0));
         row[x * 4 + 1] = clamp(in.sample(x + dx, y, 1));
         row[x * 4 + 2] = clamp(in.sample(x, y + cosine(x * 8) / 32, 2));
       }
     }},
    {"twirl",
     {"rad(d+m/2,m,z)", "rad(d+m/2,m,z)", "rad(d+m/2,m,z)", ""},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       for (int x = 0; x < in.width; ++x) {
         const i32 d = directionAt(x, y, in.width, in.height),
                   m = distanceAt(x, y, in.width, in.height);
         for (int k = 0; k < 3; ++k) row[x * 4 + k] = clamp(in.sampleRadial(d + m / 2, m, k));
       }
     }},
    {"polar",
     {"c2d(x-X/2,y-Y/2)&255", "c2m(x-X/2,y-Y/2)*255/M", "r2x(d,m)+r2y(d,m)", ""},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const i32 bigM = magnitude(in.width / 2, in.height / 2);
       for (int x = 0; x < in.width; ++x) {
         const i32 d = directionAt(x, y, in.width, in.height),
                   m = distanceAt(x, y, in.width, in.height);
         row[x * 4] = clamp(angle(x - in.width / 2, y - in.height / 2) & 255);
         row[x * 4 + 1] = clamp(magnitude(x - in.width / 2, y - in.height / 2) * 255 / bigM);
         row[x * 4 + 2] = clamp(radial(d, m) + radial(d - 256, m));
       }
     }},
    {"sharpen",
     {"cnv(0,-1,0,-1,5,-1,0,-1,0,1)", "cnv(0,-1,0,-1,5,-1,0,-1,0,1)", "cnv(1,2,1,2,4,2,1,2,1,16)",
      ""},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       static constexpr i32 kSharp[9] = {0, -1, 0, -1, 5, -1, 0, -1, 0};
       static constexpr i32 kBlur[9] = {1, 2, 1, 2, 4, 2, 1, 2, 1};
       for (int x = 0; x < in.width; ++x) {
         row[x * 4] = clamp(in.convolve(kSharp, 1, x, y, 0));
         row[x * 4 + 1] = clamp(in.convolve(kSharp, 1, x, y, 1));
         row[x * 4 + 2] = clamp(in.convolve(kBlur, 16, x, y, 2));
       }
     }},
    {"trig",
     {"128+sin(x*4+cos(y*4))/4", "128+cos(x*y)/4", "128+tan(x+y)/64", ""},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const i32 cy = cosine(y * 4);
       for (int x = 0; x < in.width; ++x) {
         row[x * 4] = clamp(128 + sine(x * 4 + cy) / 4);
         row[x * 4 + 1] = clamp(128 + cosine(x * y) / 4);
         row[x * 4 + 2] = clamp(128 + tangent(x + y) / 64);
       }
     }},
    {"getput",
     {"put(i*2-128,0),get(0)-r/2", "get(0)-g/2", "get(0)-b/2", ""},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const std::uint8_t* p = in.pixel(0, y);
       for (int x = 0; x < in.width; ++x) {
         const i32 r = p[x * 4], g = p[x * 4 + 1], b = p[x * 4 + 2];
         const i32 cell = (76 * r + 150 * g + 29 * b) / 256 * 2 - 128;
         row[x * 4] = clamp(cell - r / 2);
         row[x * 4 + 1] = clamp(cell - g / 2);
         row[x * 4 + 2] = clamp(cell - b / 2);
       }
     }},
    {"gradientmix",
     {"mix(r,255-r,x,X)", "map(0,g)", "scl(b,0,255,ctl(2),ctl(3))", ""},
     {200, 40, 30, 220},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const std::uint8_t sliders[8] = {200, 40, 30, 220};
       const std::uint8_t* p = in.pixel(0, y);
       for (int x = 0; x < in.width; ++x) {
         row[x * 4] = clamp(o::mix(p[x * 4], 255 - p[x * 4], x, in.width));
         row[x * 4 + 1] = clamp(o::map(sliders, 0, p[x * 4 + 1]));
         row[x * 4 + 2] = clamp(o::scl(p[x * 4 + 2], 0, 255, 30, 220));
       }
     }},
};

Program compile(const Case& c, int side) {
  FilterSetup setup{side, side, 3, c.sliders, {}};
  return *compileFilter(c.formulas, setup);
}

void setRate(benchmark::State& state, int side) {
  state.counters["MP/s"] = benchmark::Counter(double(state.iterations()) * side * side / 1e6,
                                              benchmark::Counter::kIsRate);
}

void runNative(const Case& c, Picture& p) {
  for (int y = 0; y < p.side; ++y) c.native(p.view(), y, p.row(y));
}

void checkTier(const Case& c, Engine tier);
void checkApply(const Case& c);

void engine(benchmark::State& state, const Case& c, Engine tier, unsigned threads) {
  checkTier(c, tier);
  Picture& p = picture(kSmallSide);
  const Program program = compile(c, p.side);
  ThreadPool pool(threads);
  RenderOptions options;
  options.pool = &pool;
  options.engine = tier;
  for (auto _ : state) {
    render(program, p.view(), p.target(), options);
    benchmark::ClobberMemory();
  }
  setRate(state, p.side);
}

void native(benchmark::State& state, const Case& c, int side) {
  if (side == kSmallSide) checkTier(c, Engine::Reference);  // the formulas mean what it does
  Picture& p = picture(side);
  for (auto _ : state) {
    runNative(c, p);
    benchmark::ClobberMemory();
  }
  setRate(state, side);
}

// apply's filter phase as a user meets it: the formulas compiled and run over a decoded picture,
// with the picture's own buffers, on the fastest tier.
qm::host::Image decoded(const Picture& p) {
  qm::host::Image image;
  image.width = image.height = p.side;
  image.rgba.assign(p.in.begin(), p.in.end());
  return image;
}

qm::host::RunReport runApply(const Case& c, qm::host::Image& image, ThreadPool& pool) {
  qm::host::FilterRun run;
  run.sliders = c.sliders;
  run.pool = &pool;
  return qm::host::runFilter(c.formulas, image, {0, 0, image.width - 1, image.height - 1}, run);
}

void apply(benchmark::State& state, const Case& c, unsigned threads) {
  checkApply(c);
  Picture& p = picture(kLargeSide);
  qm::host::Image image = decoded(p);
  ThreadPool pool(threads);
  for (auto _ : state) {
    state.PauseTiming();
    std::copy(p.in.begin(), p.in.end(), image.rgba.begin());
    state.ResumeTiming();
    runApply(c, image, pool);
    benchmark::ClobberMemory();
  }
  setRate(state, kLargeSide);
}

// Every column must give the plain C++ bytes, or the comparison means nothing; each checks its
// own before it is timed. The bytes past the three channels are the input's.
std::vector<std::uint8_t> expected(const Case& c, Picture& p) {
  p.out = p.in;
  runNative(c, p);
  return p.out;
}

void checkTier(const Case& c, Engine tier) {
  Picture& p = picture(kSmallSide);
  const auto want = expected(c, p);
  std::fill(p.out.begin(), p.out.end(), 0);
  RenderOptions options;
  options.engine = tier;
  const RenderResult result = render(compile(c, p.side), p.view(), p.target(), options);
  if (result.engine != tier)
    std::fprintf(stderr, "%s: the %s tier is not available here\n", c.name,
                 engineName(tier).data());
  if (p.out != want) {
    std::fprintf(stderr, "%s: the %s tier and plain C++ differ\n", c.name, engineName(tier).data());
    std::abort();
  }
}

void checkApply(const Case& c) {
  Picture& p = picture(kLargeSide);
  const auto want = expected(c, p);
  qm::host::Image image = decoded(p);
  ThreadPool pool(2);
  runApply(c, image, pool);
  if (!std::equal(image.rgba.begin(), image.rgba.end(), want.begin(), want.end())) {
    std::fprintf(stderr, "%s: the 16-megapixel run and plain C++ differ\n", c.name);
    std::abort();
  }
}

const Case& namedCase(std::string_view name) {
  for (const Case& c : kCases)
    if (c.name == name) return c;
  std::abort();
}

void preview(benchmark::State& state) {
  Picture& p = picture(kSmallSide);
  const Case& typical = namedCase("twirl");  // polar sampling, what filters mostly do
  ThreadPool pool(2);
  RenderOptions options;
  options.pool = &pool;
  for (auto _ : state) {
    const Program program = compile(typical, p.side);
    render(program, p.view(), p.target(), options);
    benchmark::ClobberMemory();
  }
  setRate(state, p.side);
}

void registerAll() {
  for (const Case& c : kCases) {
    auto add = [&](const char* column, auto run) {
      benchmark::RegisterBenchmark((std::string(column) + "/" + c.name).c_str(), run)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    };
    add("Native", [&c](benchmark::State& s) { native(s, c, kSmallSide); });
    add("Block1", [&c](benchmark::State& s) { engine(s, c, Engine::Block, 1); });
    add("Compiled1", [&c](benchmark::State& s) { engine(s, c, Engine::Compiled, 1); });
    add("Compiled2", [&c](benchmark::State& s) { engine(s, c, Engine::Compiled, 2); });
    add("Native16", [&c](benchmark::State& s) { native(s, c, kLargeSide); });
    add("Apply16", [&c](benchmark::State& s) { apply(s, c, 1); });
    add("Apply16x2", [&c](benchmark::State& s) { apply(s, c, 2); });
  }
  benchmark::RegisterBenchmark("Preview/twirl_1MP_2threads", preview)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

// Keeps every run's wall time per iteration, keyed by "Column/filter".
class Collector : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration) continue;
      std::string name = r.benchmark_name();
      name = name.substr(0, name.find("/real_time"));
      times[name] = r.real_accumulated_time / double(r.iterations);
      cpuTimes[name] = r.cpu_accumulated_time / double(r.iterations);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
  std::map<std::string, double> cpuTimes;  // the benchmark thread's own CPU time
};

// One column of a ratio table: the time of `slower` over the time of `faster` (above 1: faster
// is faster).
struct Ratio {
  const char* head;
  const char* slower;
  const char* faster;
};

// The filters most pictures meet; their geometric mean gets a line of its own.
constexpr std::string_view kEveryday[] = {"arith", "choose", "shift", "divide"};

void printRatios(const char* title, const std::map<std::string, double>& t,
                 const std::vector<Ratio>& ratios) {
  std::printf("\n%s\n%-12s", title, "filter");
  for (const Ratio& r : ratios) std::printf(" %11s", r.head);
  std::printf("\n");
  std::vector<double> logs(ratios.size()), everydayLogs(ratios.size());
  int n = 0, everyday = 0;
  for (const Case& c : kCases) {
    std::vector<double> row;
    for (const Ratio& r : ratios) {
      auto slower = t.find(std::string(r.slower) + "/" + c.name);
      auto faster = t.find(std::string(r.faster) + "/" + c.name);
      if (slower == t.end() || faster == t.end()) break;
      row.push_back(slower->second / faster->second);
    }
    if (row.size() != ratios.size()) continue;
    const bool common =
        std::find(std::begin(kEveryday), std::end(kEveryday), c.name) != std::end(kEveryday);
    std::printf("%-12s", c.name);
    for (std::size_t k = 0; k < row.size(); ++k) {
      std::printf(" %10.2fx", row[k]);
      logs[k] += std::log(row[k]);
      if (common) everydayLogs[k] += std::log(row[k]);
    }
    std::printf("\n");
    ++n;
    everyday += common;
  }
  auto meanLine = [&](const char* name, const std::vector<double>& sums, int count) {
    if (count == 0) return;
    std::printf("%-12s", name);
    for (double sum : sums) std::printf(" %10.2fx", std::exp(sum / count));
    std::printf("\n");
  };
  meanLine("geo. mean", logs, n);
  if (everyday == static_cast<int>(std::size(kEveryday)))
    meanLine("everyday", everydayLogs, everyday);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  registerAll();
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  printRatios("Wall clock, 1 megapixel:", collector.times,
              {{"block", "Native", "Block1"},
               {"compiled", "Native", "Compiled1"},
               {"compiled2", "Native", "Compiled2"},
               {"2T/1T comp.", "Compiled1", "Compiled2"}});
  // On a busy machine the one-thread columns are steadier in CPU time.
  printRatios("CPU time, one thread, 1 megapixel:", collector.cpuTimes,
              {{"block", "Native", "Block1"}, {"compiled", "Native", "Compiled1"}});
  printRatios("Wall clock, 16 megapixels, apply's filter phase:", collector.times,
              {{"apply", "Native16", "Apply16"},
               {"apply2", "Native16", "Apply16x2"},
               {"2T/1T apply", "Apply16", "Apply16x2"}});
  printRatios("CPU time, one thread, 16 megapixels:", collector.cpuTimes,
              {{"apply", "Native16", "Apply16"}});
  benchmark::Shutdown();
  return 0;
}
