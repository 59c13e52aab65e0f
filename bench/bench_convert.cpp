// Converting a 10,000-entry Filter Factory library to .afs files, against a floor loop that
// writes the same number of files of the same sizes with plain streams. The ratio says how
// much the conversion costs beyond the unavoidable file writes.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/ff/ffl_convert.h"
#include "core/ff/file_names.h"

namespace {

namespace fs = std::filesystem;
constexpr int kEntries = 10000;

// Library conversion asks nothing; any question would be a fault.
class NoQuestions final : public qm::Prompter {
 public:
  void inform(std::string_view, std::string_view) override {}
  void warn(std::string_view, std::string_view) override {}
  void error(std::string_view, std::string_view) override {}
  qm::Button ask(std::string_view, std::string_view, qm::Buttons, qm::Icon) override {
    return qm::Button::Cancel;
  }
  std::optional<std::string> askText(std::string_view, std::string_view) override { return {}; }
  std::optional<qm::FolderChoice> chooseFolder(const qm::FolderRequest&) override { return {}; }
  qm::OverwriteAnswer overwrite(const qm::OverwriteQuestion&) override {
    return qm::OverwriteAnswer::Cancel;
  }
};

std::string makeLibrary() {
  std::string out = "FFL1.0\r\n" + std::to_string(kEntries) + "\r\n";
  for (int i = 0; i < kEntries; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "f%05d", i);
    out += std::string(name) + (i % 10 == 0 ? ".prm" : ".8bf") + "\r\nBench\r\nFilter " + name +
           "\r\nQuillmark\r\n\xA9 2026\r\n\r\n\r\n\r\n\r\n";
    out += "Amount\r\nAngle\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
    out += std::to_string(i % 256) + "\r\n" + std::to_string((i * 7) % 256) + "\r\n";
    for (int k = 0; k < 6; ++k) out += "0\r\n";
    out += "src(x+ctl(0)*" + std::to_string(i % 13) + "/64,y,z)\r\n\"\r\n\"\r\na\r\n";
  }
  return out;
}

struct Fixture {
  fs::path root;
  std::string library;
  std::vector<std::pair<std::string, std::uintmax_t>> outputs;  // name and size per file
  int round = 0;

  Fixture() {
    std::string pattern = (fs::temp_directory_path() / "qm-bench-XXXXXX").string();
    root = mkdtemp(pattern.data());
    library = makeLibrary();
  }
  ~Fixture() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  fs::path freshFolder() { return root / std::to_string(round++); }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

qm::ByteView libraryBytes() {
  const auto& text = fixture().library;
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void removeFolder(benchmark::State& state, const fs::path& folder) {
  state.PauseTiming();
  std::error_code ec;
  fs::remove_all(folder, ec);
  state.ResumeTiming();
}

void BM_ConvertLibraryToAfs(benchmark::State& state) {
  NoQuestions prompter;
  qm::SilentProgress progress;
  qm::ff::FFOptions options;
  std::size_t written = 0;
  for (auto _ : state) {
    auto folder = fixture().freshFolder();
    qm::batch::OverwriteCheck overwrite(prompter);
    auto result = qm::ff::ConvertfflBytes(folder, libraryBytes(), "bench.ffl",
                                          {qm::ff::kTargetAfs, false, options}, overwrite, prompter,
                                          progress);
    written = result.written.size();
    if (fixture().outputs.empty()) {
      state.PauseTiming();
      for (const auto& p : result.written)
        fixture().outputs.emplace_back(p.filename().string(), fs::file_size(p));
      state.ResumeTiming();
    }
    removeFolder(state, folder);
  }
  if (written != kEntries) state.SkipWithError("not every entry was written");
  state.SetItemsProcessed(state.iterations() * kEntries);
}

// The same files, same sizes, written with plain streams: what any conversion must pay.
void BM_WriteFloor(benchmark::State& state) {
  const auto& outputs = fixture().outputs;
  if (outputs.empty()) {
    state.SkipWithError("run the conversion benchmark first");
    return;
  }
  std::string bytes(4096, 'x');
  for (auto _ : state) {
    auto folder = fixture().freshFolder();
    fs::create_directories(folder);
    for (const auto& [name, size] : outputs) {
      if (bytes.size() < size) bytes.resize(size, 'x');
      std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(size));
    }
    removeFolder(state, folder);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(outputs.size()));
}

BENCHMARK(BM_ConvertLibraryToAfs)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_WriteFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Keeps the per-iteration real time of each benchmark for the ratio printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> seconds;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs)
      if (run.iterations > 0)
        seconds[run.benchmark_name()] =
            run.real_accumulated_time / static_cast<double>(run.iterations);
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto convert = reporter.seconds.find("BM_ConvertLibraryToAfs/iterations:5/real_time");
  auto floor = reporter.seconds.find("BM_WriteFloor/iterations:5/real_time");
  if (convert != reporter.seconds.end() && floor != reporter.seconds.end() && floor->second > 0) {
    std::printf("\nconversion: %.0f entries/s; floor: %.0f files/s\n", kEntries / convert->second,
                kEntries / floor->second);
    std::printf("RATIO conversion / floor = %.2f (aim: at most 2.00)\n",
                convert->second / floor->second);
  }
  benchmark::Shutdown();
  return 0;
}
