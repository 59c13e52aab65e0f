// End-to-end runs of quillmark-cli apply in batch mode (--dest, --suffix), --engine and
// --timings. A batch result must be byte for byte what the single form writes for the same
// picture, so the single form (checked pixel by pixel elsewhere) is the reference here.

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "support/ff_sources.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// A 24-bit BMP whose pixels follow seed, so different seeds give different pictures.
std::string bmp(int w, int h, unsigned seed) {
  const int stride = (w * 3 + 3) / 4 * 4;
  auto u32 = [](std::uint32_t v) {
    return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  };
  auto u16 = [](std::uint16_t v) { return std::string{char(v), char(v >> 8)}; };
  std::string out = "BM" + u32(54 + stride * h) + u32(0) + u32(54) + u32(40) + u32(w) + u32(h) +
                    u16(1) + u16(24) + u32(0) + u32(stride * h) + u32(2835) + u32(2835) + u32(0) +
                    u32(0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w * 3; ++x) {
      seed = seed * 1103515245u + 12345u;
      out += char(seed >> 24);
    }
    out += std::string(stride - w * 3, '\0');
  }
  return out;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    out.push_back(text.substr(start, end - start));
  return out;
}

class ApplyBatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    filter = file("f.afs", qm::test::afsFilter({"(r+g+b)/3+x", "r*2-g", "b^x", "a"})).string();
  }
  qm::test::ProgramRun cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--program-dir", dir.path().string(), "apply"});
    return qm::test::runProgram(QM_CLI, args);
  }
  fs::path file(const std::string& name, const std::string& bytes) {
    return qm::test::writeFile(dir / name, bytes);
  }
  // What the single form writes for input as a file with the given extension.
  std::string single(const fs::path& input, const std::string& extension,
                     const std::string& engine = "") {
    const fs::path out = dir / ("single" + extension);
    fs::remove(out);
    std::vector<std::string> args = {filter, input.string(), out.string()};
    if (!engine.empty()) args.insert(args.end(), {"--engine", engine});
    const auto run = cli(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return qm::test::readFile(out);
  }
  qm::test::TempFolder dir;
  std::string filter;
};

TEST_F(ApplyBatchTest, ResultsGoWhereTheOptionsSayAndMatchTheSingleForm) {
  struct Case {
    std::vector<std::string> options;
    std::string folder;  // relative to the test folder; "" = beside the inputs
    std::string suffix;
    std::string extension;
  };
  const Case cases[] = {
      {{"--dest", "out"}, "out", "", ".bmp"},
      {{"--dest", "out", "--to", "png"}, "out", "", ".png"},
      {{"--suffix", "_f"}, "", "_f", ".bmp"},
      {{"--dest", "deep/er", "--suffix", "-1", "--to", "tif"}, "deep/er", "-1", ".tif"},
  };
  const fs::path a = file("in/a.bmp", bmp(37, 5, 1));
  const fs::path b = file("in/b.bmp", bmp(9, 11, 2));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options[1]);
    std::vector<std::string> args = {filter};
    for (const auto& o : c.options) args.push_back(o == c.folder ? (dir / o).string() : o);
    args.insert(args.end(), {a.string(), b.string()});
    const auto run = cli(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const fs::path folder = c.folder.empty() ? dir / "in" : dir / c.folder;
    const fs::path outA = folder / ("a" + c.suffix + c.extension);
    const fs::path outB = folder / ("b" + c.suffix + c.extension);
    EXPECT_EQ(lines(run.out),
              (std::vector<std::string>{outA.string(), outB.string(), "2 written, 0 failed"}));
    EXPECT_EQ(qm::test::readFile(outA), single(a, c.extension));
    EXPECT_EQ(qm::test::readFile(outB), single(b, c.extension));
  }
}

TEST_F(ApplyBatchTest, PicturesThatFailAreCountedAndTheRestWritten) {
  const fs::path good = file("good.bmp", bmp(8, 8, 3));
  const fs::path text = file("text.bmp", "not a picture");
  const fs::path missing = dir / "missing.bmp";
  const fs::path own = file("own.png", "");  // its result would replace it
  const fs::path out = dir / "out";
  const auto run = cli(
      {filter, "--dest", out.string(), "--json", good.string(), missing.string(), text.string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(nlohmann::json::parse(run.out),
            nlohmann::json({{"written", {(out / "good.bmp").string()}},
                            {"failed", {missing.string(), text.string()}}}));
  EXPECT_NE(run.err.find(missing.string() + ": No such file or directory"), std::string::npos)
      << run.err;
  EXPECT_EQ(qm::test::readFile(out / "good.bmp"), single(good, ".bmp"));

  const auto same = cli({filter, "--dest", dir.path().string(), own.string()});
  EXPECT_EQ(same.exitCode, 1);
  EXPECT_EQ(lines(same.out), (std::vector<std::string>{"0 written, 1 failed"}));
  EXPECT_EQ(same.err, own.string() + ": would replace its own input\n");
  EXPECT_EQ(qm::test::readFile(own), "");
}

TEST_F(ApplyBatchTest, EveryEngineWritesTheSameBytesAndTimingsAreOneLine) {
  filter =
      file("g.afs", qm::test::afsFilter({"src(x+sin(y*8)/32,y,z)+rnd(0,3)", "c2d(x-X/2,y-Y/2)&255",
                                         "cnv(0,-1,0,-1,5,-1,0,-1,0,1)", "a"}))
          .string();
  const fs::path in = file("p.bmp", bmp(45, 13, 4));
  const std::string reference = single(in, ".bmp", "reference");
  ASSERT_FALSE(reference.empty());
  for (const char* engine : {"block", "compiled"}) {
    SCOPED_TRACE(engine);
    EXPECT_EQ(single(in, ".bmp", engine), reference);
  }
  const auto timed = cli({filter, in.string(), (dir / "t.bmp").string(), "--timings"});
  EXPECT_EQ(timed.exitCode, 0);
  std::string shape;  // the timings with each number as N
  for (char c : timed.err)
    if (!std::isdigit(static_cast<unsigned char>(c)))
      shape += c;
    else if (shape.empty() || shape.back() != 'N')
      shape += 'N';
  EXPECT_EQ(shape, "decode N ms, filter N ms, encode N ms\n") << timed.err;

  const auto wrong = cli({filter, in.string(), (dir / "w.bmp").string(), "--engine", "fast"});
  EXPECT_EQ(wrong.exitCode, 2);
  EXPECT_EQ(wrong.err,
            "quillmark-cli apply: --engine takes reference, block or compiled, not 'fast'\n");
}

TEST_F(ApplyBatchTest, CtrlCStopsBetweenPicturesLeavingOnlyCompleteResults) {
  constexpr int kPictures = 60;
  const std::string picture = bmp(300, 300, 5);
  std::vector<std::string> args = {"--program-dir", dir.path().string(),   "apply",
                                   filter,          "--threads",           "2",
                                   "--dest",        (dir / "out").string()};
  for (int i = 0; i < kPictures; ++i)
    args.push_back(file("in/p" + std::to_string(i) + ".bmp", picture).string());
  const std::string expected = single(dir / "in/p0.bmp", ".bmp");

  qm::test::RunningProgram program(QM_CLI, args);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  auto nothingYet = [&] {
    std::error_code ec;
    return !fs::exists(dir / "out", ec) || fs::is_empty(dir / "out", ec);
  };
  while (program.running() && nothingYet() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  program.signal(SIGINT);
  const auto run = program.finish();
  if (run.exitCode == 0) GTEST_SKIP() << "the run ended before the signal";
  EXPECT_EQ(run.exitCode, 3) << run.err;
  int written = 0;
  for (const auto& e : fs::directory_iterator(dir / "out")) {
    SCOPED_TRACE(e.path().string());
    EXPECT_EQ(e.path().extension(), ".bmp");  // no temporary file left behind
    EXPECT_EQ(qm::test::readFile(e.path()), expected);
    ++written;
  }
  EXPECT_LT(written, kPictures);
  ASSERT_FALSE(run.out.empty());
  EXPECT_EQ(lines(run.out).back(), std::to_string(written) + " written, 0 failed");
  EXPECT_NE(run.err.find("quillmark-cli apply: cancelled"), std::string::npos);
}

}  // namespace
