// Plugin View scan of a generated folder of 10,000 files (Filter Factory plugins, PE plugins
// with PIPLs, some of several MB, Premiere plugins, type-table files and non-plugins),
// against a floor loop that opens every file and reads its first 4 KiB.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "../tests/support/pe_builder.h"
#include "../tests/support/premiere_records.h"
#include "core/plugins/catalogue.h"
#include "core/plugins/file_listing.h"

// The fixture writers are shared with the tests rather than written twice.
#include "../tests/support/pe_builder.cpp"
#include "../tests/support/premiere_records.cpp"

namespace {

namespace fs = std::filesystem;
using qm::test::asString;

void write(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string piplPlugin(int filters, std::size_t size, std::uint32_t at) {
  qm::test::PeImage image;
  image.rsrcFileOffset = at;
  qm::test::ResourceType pipl{"PIPL", 0, {}};
  for (int i = 0; i < filters; ++i)
    pipl.items.push_back(qm::test::piplData(
        {"Filter " + std::to_string(i), "Category " + std::to_string(i % 7), false, 0}));
  image.resources.push_back(pipl);
  image.resources.push_back(
      {"", 16, {qm::test::versionData({{{"FileDescription", "Bench plugin"}}})}});
  image.totalSize = size;
  return asString(qm::test::buildPe(image).bytes);
}

fs::path makeFolder() {
  fs::path dir = fs::temp_directory_path() / "quillmark-bench-scan";
  if (fs::exists(dir / "done")) return dir;
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::mt19937 random(42);
  const std::string ff = piplPlugin(1, 57344, 29184);
  for (int i = 0; i < 10000; ++i) {
    const std::string n = std::to_string(i);
    switch (i % 20) {
      case 0:
      case 1:
      case 2:
      case 3:
      case 4:
        write(dir / ("ff" + n + ".8bf"), ff);
        break;
      case 5:
      case 6:
      case 7:
      case 8: {
        // A PE plugin; one in a hundred of several MB, its resources at the end.
        bool big = i % 200 == 5;
        std::size_t size = big ? 4 * 1024 * 1024 : 20000 + random() % 180000;
        std::uint32_t at = big ? 4 * 1024 * 1024 - 8192 : 0x400 + (random() % 8) * 0x200;
        write(dir / ("pe" + n + (i % 3 ? ".8bf" : "._bf")), piplPlugin(1 + i % 3, size, at));
        break;
      }
      case 9:
      case 10: {
        std::string prm(30000 + random() % 20000, '\0');
        qm::test::placeAt(prm, 9002 + 4 * (random() % 1000),
                          qm::test::vfltRecord("Video " + n, true));
        write(dir / ("v" + n + ".prm"), prm);
        break;
      }
      case 11:
        write(dir / ("p5_" + n + ".prm"), piplPlugin(1, 40000, 0x400));
        break;
      case 12:
      case 13:
        write(dir / ("exp" + n + ".8be"), piplPlugin(0, 30000, 0x400));
        break;
      case 14:
      case 15:
        write(dir / ("tube" + n + ".tub"), std::string(5000 + random() % 5000, 't'));
        break;
      default:
        write(dir / ("doc" + n + (i % 2 ? ".txt" : ".jpg")),
              std::string(1000 + random() % 9000, 'd'));
    }
  }
  write(dir / "done", "");
  return dir;
}

std::size_t floorLoop(const fs::path& dir) {
  std::size_t bytes = 0;
  std::vector<char> buffer(4096);
  for (const auto& name : qm::plugins::listFiles(dir, "*.*")) {
    std::FILE* f = std::fopen((dir / name).c_str(), "rb");
    if (!f) continue;
    bytes += std::fread(buffer.data(), 1, buffer.size(), f);
    std::fclose(f);
  }
  return bytes;
}

std::size_t scan(const fs::path& dir, const qm::plugins::PlugTypeTable& table) {
  qm::plugins::Catalogue catalogue;
  qm::SilentProgress progress;
  catalogue.scan(dir, {}, table, {}, progress);
  return catalogue.rowCount();
}

void BM_FloorOpenRead4K(benchmark::State& state) {
  const fs::path dir = makeFolder();
  for (auto _ : state) benchmark::DoNotOptimize(floorLoop(dir));
  state.SetItemsProcessed(state.iterations() * 10000);
}

void BM_PluginViewScan(benchmark::State& state) {
  const fs::path dir = makeFolder();
  const auto table = qm::plugins::makeTypeTable(qm::plugins::defaultTypeList());
  std::size_t rows = 0;
  for (auto _ : state) benchmark::DoNotOptimize(rows = scan(dir, table));
  state.SetItemsProcessed(state.iterations() * 10000);
  state.counters["rows"] = static_cast<double>(rows);
}

BENCHMARK(BM_FloorOpenRead4K)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PluginViewScan)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Best of several warm runs, so the ratio is what a user on a warm cache feels.
template <typename F>
double bestSeconds(F&& run) {
  double best = 1e9;
  for (int i = 0; i < 5; ++i) {
    auto start = std::chrono::steady_clock::now();
    run();
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  const fs::path dir = makeFolder();
  const auto table = qm::plugins::makeTypeTable(qm::plugins::defaultTypeList());
  double floor = bestSeconds([&] { benchmark::DoNotOptimize(floorLoop(dir)); });
  double scanned = bestSeconds([&] { benchmark::DoNotOptimize(scan(dir, table)); });
  std::printf("floor: %.0f files/s, scan: %.0f files/s, scan/floor time ratio: %.2f\n",
              10000 / floor, 10000 / scanned, scanned / floor);
  benchmark::Shutdown();
  return 0;
}
