#pragma once
// What the end-to-end runs of quillmark-cli share: a fresh folder to run in, pictures for
// apply, the lines it printed, and a run stopped with Ctrl-C once it has written something.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace qm::test {

class CliFolder : public ::testing::Test {
 protected:
  ProgramRun cli(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), {"--program-dir", programDir});
    return runProgram(QM_CLI, args, input, dir / "config");
  }
  std::string file(std::string_view name, std::string_view bytes) {
    return writeFile(dir / name, bytes).string();
  }
  std::string at(std::string_view name) const { return (dir / name).string(); }

  TempFolder dir;
  std::string programDir = (dir / "prog").string();  // absent unless a test fills it
  // The settings store of every run: config/Quillmark/Qumo10.conf, absent unless written.
  std::string settingsFile = (dir / "config" / "Quillmark" / "Qumo10.conf").string();
};

// A 24-bit BMP whose pixels follow seed, so different seeds give different pictures.
inline std::string bmp(int w, int h, unsigned seed) {
  const int stride = (w * 3 + 3) / 4 * 4;
  auto u32 = [](std::uint32_t v) {
    return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  };
  std::string out = "BM" + u32(54 + stride * h) + u32(0) + u32(54) + u32(40) + u32(w) + u32(h) +
                    std::string("\1\0\x18\0", 4) + u32(0) + u32(stride * h) + u32(2835) +
                    u32(2835) + u32(0) + u32(0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w * 3; ++x) {
      seed = seed * 1103515245u + 12345u;
      out += char(seed >> 24);
    }
    out += std::string(stride - w * 3, '\0');
  }
  return out;
}

inline std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    out.push_back(text.substr(start, end - start));
  return out;
}
inline std::string lastLine(const std::string& text) {
  const auto all = lines(text);
  return all.empty() ? "" : all.back();
}

// Sends Ctrl-C as soon as folder holds a file, so the run stops between items.
inline ProgramRun interruptedOnceWriting(const std::vector<std::string>& args,
                                         const std::filesystem::path& folder) {
  RunningProgram program(QM_CLI, args);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  auto nothingYet = [&] {
    std::error_code ec;
    return !std::filesystem::exists(folder, ec) || std::filesystem::is_empty(folder, ec);
  };
  while (program.running() && nothingYet() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  program.signal(SIGINT);
  return program.finish();
}

}  // namespace qm::test
