// The formula engine's tiers against the same filters written by hand in plain C++ (a scalar
// loop per filter), on a 1024 x 1024 RGB picture (3 channels in 4-byte pixels). Every tier is
// checked against the plain C++ bytes first. After the runs a table gives each tier's speed
// relative to plain C++ and the geometric means over the suite.
//   bench_formula                              everything, then the table
//   bench_formula --benchmark_filter=Compiled1 one column only (no table)
// Columns: Native (plain C++), Block1 and Compiled1 (one thread), Compiled2 (two threads);
// Preview: compile + run of a typical filter on two threads.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/formula/compiler.h"
#include "core/formula/ops.h"
#include "core/formula/render.h"
#include "core/formula/tables.h"

namespace {

using namespace qm::formula;
using i32 = std::int32_t;
namespace o = qm::formula::ops;

constexpr int kSide = 1024;

struct Picture {
  std::vector<std::uint8_t> in, out;
  Picture() : in(std::size_t(kSide) * kSide * 4), out(in.size()) {
    std::uint32_t h = 12345;
    for (auto& b : in) {
      h = h * 1103515245u + 12345u;
      b = std::uint8_t(h >> 24);
    }
  }
  ImageView view() const { return {in.data(), kSide, kSide, 3, 4, kSide * 4}; }
  MutableImageView target() { return {out.data(), 4, kSide * 4}; }
};

Picture& picture() {
  static Picture p;
  return p;
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
    {"invert",
     {"255-r", "255-g", "255-b", ""},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const std::uint8_t* p = in.pixel(0, y);
       for (int x = 0; x < kSide; ++x)
         for (int k = 0; k < 3; ++k) row[x * 4 + k] = clamp(255 - p[x * 4 + k]);
     }},
    {"contrast",
     {"(c-128)*ctl(0)/64+128", "(c-128)*ctl(0)/64+128", "(c-128)*ctl(0)/64+128", ""},
     {96},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const std::uint8_t* p = in.pixel(0, y);
       for (int x = 0; x < kSide; ++x)
         for (int k = 0; k < 3; ++k) row[x * 4 + k] = clamp((p[x * 4 + k] - 128) * 96 / 64 + 128);
     }},
    {"sepia",
     {"i+40", "i+20", "i-20", ""},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       const std::uint8_t* p = in.pixel(0, y);
       for (int x = 0; x < kSide; ++x) {
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
       for (int x = 0; x < kSide; ++x) {
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
       for (int x = 0; x < kSide; ++x) {
         row[x * 4] = clamp(in.sample(x + dx, y, 0));
         row[x * 4 + 1] = clamp(in.sample(x + dx, y, 1));
         row[x * 4 + 2] = clamp(in.sample(x, y + cosine(x * 8) / 32, 2));
       }
     }},
    {"twirl",
     {"rad(d+m/2,m,z)", "rad(d+m/2,m,z)", "rad(d+m/2,m,z)", ""},
     {},
     [](const ImageView& in, int y, std::uint8_t* row) {
       for (int x = 0; x < kSide; ++x) {
         const i32 d = directionAt(x, y, kSide, kSide), m = distanceAt(x, y, kSide, kSide);
         for (int k = 0; k < 3; ++k) row[x * 4 + k] = clamp(in.sampleRadial(d + m / 2, m, k));
       }
     }},
    {"polar",
     {"c2d(x-X/2,y-Y/2)&255", "c2m(x-X/2,y-Y/2)*255/M", "r2x(d,m)+r2y(d,m)", ""},
     {},
     [](const ImageView&, int y, std::uint8_t* row) {
       const i32 bigM = magnitude(kSide / 2, kSide / 2);
       for (int x = 0; x < kSide; ++x) {
         const i32 d = directionAt(x, y, kSide, kSide), m = distanceAt(x, y, kSide, kSide);
         row[x * 4] = clamp(angle(x - kSide / 2, y - kSide / 2) & 255);
         row[x * 4 + 1] = clamp(magnitude(x - kSide / 2, y - kSide / 2) * 255 / bigM);
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
       for (int x = 0; x < kSide; ++x) {
         row[x * 4] = clamp(in.convolve(kSharp, 1, x, y, 0));
         row[x * 4 + 1] = clamp(in.convolve(kSharp, 1, x, y, 1));
         row[x * 4 + 2] = clamp(in.convolve(kBlur, 16, x, y, 2));
       }
     }},
    {"trig",
     {"128+sin(x*4+cos(y*4))/4", "128+cos(x*y)/4", "128+tan(x+y)/64", ""},
     {},
     [](const ImageView&, int y, std::uint8_t* row) {
       const i32 cy = cosine(y * 4);
       for (int x = 0; x < kSide; ++x) {
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
       for (int x = 0; x < kSide; ++x) {
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
       for (int x = 0; x < kSide; ++x) {
         row[x * 4] = clamp(o::mix(p[x * 4], 255 - p[x * 4], x, kSide));
         row[x * 4 + 1] = clamp(o::map(sliders, 0, p[x * 4 + 1]));
         row[x * 4 + 2] = clamp(o::scl(p[x * 4 + 2], 0, 255, 30, 220));
       }
     }},
};

Program compile(const Case& c) {
  FilterSetup setup{kSide, kSide, 3, c.sliders, {}};
  return *compileFilter(c.formulas, setup);
}

void setRate(benchmark::State& state) {
  state.counters["MP/s"] = benchmark::Counter(double(state.iterations()) * kSide * kSide / 1e6,
                                              benchmark::Counter::kIsRate);
}

void engine(benchmark::State& state, const Case& c, Engine tier, unsigned threads) {
  Picture& p = picture();
  const Program program = compile(c);
  ThreadPool pool(threads);
  RenderOptions options;
  options.pool = &pool;
  options.engine = tier;
  for (auto _ : state) {
    render(program, p.view(), p.target(), options);
    benchmark::ClobberMemory();
  }
  setRate(state);
}

void native(benchmark::State& state, const Case& c) {
  Picture& p = picture();
  for (auto _ : state) {
    for (int y = 0; y < kSide; ++y)
      c.native(p.view(), y, p.out.data() + std::size_t(y) * kSide * 4);
    benchmark::ClobberMemory();
  }
  setRate(state);
}

// Every tier must give the plain C++ bytes, or the comparison means nothing.
void checkTiers(const Case& c) {
  Picture& p = picture();
  for (int y = 0; y < kSide; ++y) c.native(p.view(), y, p.out.data() + std::size_t(y) * kSide * 4);
  const auto want = p.out;
  for (Engine tier : {Engine::Reference, Engine::Block, Engine::Compiled}) {
    std::fill(p.out.begin(), p.out.end(), 0);
    RenderOptions options;
    options.engine = tier;
    const RenderResult result = render(compile(c), p.view(), p.target(), options);
    if (result.engine != tier)
      std::fprintf(stderr, "%s: the %s tier is not available here\n", c.name,
                   engineName(tier).data());
    if (p.out != want) {
      std::fprintf(stderr, "%s: the %s tier and plain C++ differ\n", c.name,
                   engineName(tier).data());
      std::abort();
    }
  }
}

void preview(benchmark::State& state) {
  Picture& p = picture();
  const Case& typical = kCases[5];  // twirl: polar sampling, what filters mostly do
  ThreadPool pool(2);
  RenderOptions options;
  options.pool = &pool;
  for (auto _ : state) {
    const Program program = compile(typical);
    render(program, p.view(), p.target(), options);
    benchmark::ClobberMemory();
  }
  setRate(state);
}

constexpr const char* kColumns[] = {"Native", "Block1", "Compiled1", "Compiled2"};

void registerAll() {
  for (const Case& c : kCases) {
    checkTiers(c);
    auto add = [&](const char* column, auto run) {
      benchmark::RegisterBenchmark((std::string(column) + "/" + c.name).c_str(), run)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    };
    add("Native", [&c](benchmark::State& s) { native(s, c); });
    add("Block1", [&c](benchmark::State& s) { engine(s, c, Engine::Block, 1); });
    add("Compiled1", [&c](benchmark::State& s) { engine(s, c, Engine::Compiled, 1); });
    add("Compiled2", [&c](benchmark::State& s) { engine(s, c, Engine::Compiled, 2); });
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

// Speed of each column relative to plain C++ (above 1: faster), and how much the second
// thread adds to the compiled tier; `ratios` of them (2: the one-thread columns only).
void printRatios(const char* title, const std::map<std::string, double>& t, int ratios) {
  static constexpr const char* kHeads[] = {"block", "compiled", "compiled2", "2T/1T comp."};
  std::printf("\n%s\n%-12s", title, "filter");
  for (int k = 0; k < ratios; ++k) std::printf(" %11s", kHeads[k]);
  std::printf("\n");
  double logs[4] = {};
  int n = 0;
  for (const Case& c : kCases) {
    double ms[4];
    bool complete = true;
    for (int k = 0; k < 4; ++k) {
      auto it = t.find(std::string(kColumns[k]) + "/" + c.name);
      complete = complete && it != t.end();
      ms[k] = complete ? it->second : 0;
    }
    if (!complete) continue;
    const double r[4] = {ms[0] / ms[1], ms[0] / ms[2], ms[0] / ms[3], ms[2] / ms[3]};
    std::printf("%-12s", c.name);
    for (int k = 0; k < ratios; ++k) {
      std::printf(" %10.2fx", r[k]);
      logs[k] += std::log(r[k]);
    }
    std::printf("\n");
    ++n;
  }
  if (n == 0) return;
  std::printf("%-12s", "geo. mean");
  for (int k = 0; k < ratios; ++k) std::printf(" %10.2fx", std::exp(logs[k] / n));
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  registerAll();
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  printRatios("Wall clock:", collector.times, 4);
  // On a busy machine the one-thread columns are steadier in CPU time.
  printRatios("CPU time, one thread:", collector.cpuTimes, 2);
  benchmark::Shutdown();
  return 0;
}
