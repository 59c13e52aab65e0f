// End-to-end runs of quillmark-cli apply, single and batch. A batch result must be byte for
// byte what the single form writes for the same picture, so the single form (checked pixel by
// pixel in the filter run's tests) is the reference here.

#include <cctype>
#include <nlohmann/json.hpp>

#include "cli_fixture.h"
#include "support/ff_sources.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;

// The red, green and blue of a 1x1 24-bit BMP.
std::string onlyPixel(const std::string& bmp) {
  if (bmp.size() < 14) return {};
  const std::string bgr = bmp.substr(std::uint8_t(bmp[10]), 3);
  return {bgr.rbegin(), bgr.rend()};
}

class ApplyTest : public CliFolder {
 protected:
  void SetUp() override { filter = file("f.afs", afsFilter({"(r+g+b)/3+x", "r*2-g", "b^x", "a"})); }
  // What the single form writes for input as a file with the given extension.
  std::string single(const fs::path& input, const std::string& extension,
                     const std::string& engine = "") {
    const fs::path out = dir / ("single" + extension);
    fs::remove(out);
    std::vector<std::string> args = {"apply", filter, input.string(), out.string()};
    if (!engine.empty()) args.insert(args.end(), {"--engine", engine});
    const auto run = cli(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return readFile(out);
  }
  std::string filter;
};

TEST_F(ApplyTest, CtlOverridesTheStoredSlider) {
  filter = file("c.afs", afsFilter({"ctl(0)", "ctl(1)", "0", "a"}, 9));
  const auto in = file("in.bmp", bmp(1, 1, 0));
  auto stored = cli({"apply", filter, in, at("a.bmp")});
  ASSERT_EQ(stored.exitCode, 0) << stored.err;
  EXPECT_EQ(stored.out, at("a.bmp") + "\n");
  EXPECT_EQ(onlyPixel(readFile(at("a.bmp"))), std::string("\x09\0\0", 3));
  auto over = cli({"apply", filter, in, at("b.bmp"), "--ctl", "0=200", "--ctl=1=7"});
  ASSERT_EQ(over.exitCode, 0) << over.err;
  EXPECT_EQ(onlyPixel(readFile(at("b.bmp"))), std::string("\xC8\x07\0", 3));
}

TEST_F(ApplyTest, BatchResultsGoWhereTheOptionsSayAndMatchTheSingleForm) {
  const struct {
    std::vector<std::string> options;
    std::string folder;  // relative to the test folder; "" = beside the inputs
    std::string suffix;
    std::string extension;
  } cases[] = {
      {{"--dest", "out"}, "out", "", ".bmp"},
      {{"--dest", "out", "--to", "png"}, "out", "", ".png"},
      {{"--suffix", "_f"}, "", "_f", ".bmp"},
      {{"--dest", "deep/er", "--suffix", "-1", "--to", "tif"}, "deep/er", "-1", ".tif"},
  };
  const fs::path a = file("in/a.bmp", bmp(37, 5, 1));
  const fs::path b = file("in/b.bmp", bmp(9, 11, 2));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options[1]);
    std::vector<std::string> args = {"apply", filter};
    for (const auto& o : c.options) args.push_back(o == c.folder ? at(o) : o);
    args.insert(args.end(), {a.string(), b.string()});
    const auto run = cli(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const fs::path folder = dir / (c.folder.empty() ? "in" : c.folder);
    const fs::path outA = folder / ("a" + c.suffix + c.extension);
    const fs::path outB = folder / ("b" + c.suffix + c.extension);
    EXPECT_EQ(lines(run.out), (std::vector<std::string>{outA.string(), outB.string(),
                                                        "2 written, 0 skipped, 0 failed"}));
    EXPECT_EQ(readFile(outA), single(a, c.extension));
    EXPECT_EQ(readFile(outB), single(b, c.extension));
  }
}

TEST_F(ApplyTest, BatchPicturesThatFailAreCountedAndTheRestWritten) {
  const fs::path good = file("good.bmp", bmp(8, 8, 3));
  const fs::path text = file("text.bmp", "not a picture");
  const fs::path missing = dir / "missing.bmp";
  const fs::path own = file("own.png", "");  // its result would replace it
  const fs::path out = dir / "out";
  const auto run = cli({"apply", filter, "--dest", out.string(), "--json", good.string(),
                        missing.string(), text.string()});
  EXPECT_EQ(run.exitCode, 1);
  using nlohmann::json;
  EXPECT_EQ(json::parse(run.out),
            json({{"written", {(out / "good.bmp").string()}},
                  {"skipped", json::array()},
                  {"failed",
                   {{{"path", missing.string()}, {"reason", "No such file or directory"}},
                    {{"path", text.string()}, {"reason", "cannot read the picture"}}}}}));
  EXPECT_NE(run.err.find(missing.string() + ": No such file or directory"), std::string::npos)
      << run.err;
  EXPECT_EQ(readFile(out / "good.bmp"), single(good, ".bmp"));

  const auto same = cli({"apply", filter, "--dest", dir.path().string(), own.string()});
  EXPECT_EQ(same.exitCode, 1);
  EXPECT_EQ(lines(same.out), (std::vector<std::string>{"0 written, 0 skipped, 1 failed"}));
  EXPECT_EQ(same.err, own.string() + ": would replace its own input\n");
  EXPECT_EQ(readFile(own), "");
}

// Two pictures with one result name: the later meets the earlier's result as an existing file,
// so the overwrite mode decides, the same way on every run.
TEST_F(ApplyTest, BatchResultNamedTwiceGoesToTheOverwriteMode) {
  const fs::path first = file("a.bmp", bmp(300, 200, 6));
  const fs::path second = file("sub/a.bmp", bmp(7, 3, 7));
  const struct {
    const char* mode;
    fs::path kept;
    std::string summary;
  } cases[] = {
      {"none", first, "1 written, 1 skipped, 0 failed"},
      {"all", second, "1 written, 0 skipped, 0 failed"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    fs::remove_all(dir / "out");
    const auto run = cli({"apply", filter, "--dest", at("out"), "--overwrite", c.mode,
                          first.string(), second.string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(lines(run.out), (std::vector<std::string>{at("out/a.bmp"), c.summary}));
    EXPECT_EQ(readFile(dir / "out/a.bmp"), single(c.kept, ".bmp"));
  }
  // Now out/a.bmp is on the disk before the run: both meet it.
  const auto json = cli({"apply", filter, "--dest", at("out"), "--json", "--overwrite", "none",
                         first.string(), second.string()});
  EXPECT_EQ(nlohmann::json::parse(json.out)["skipped"],
            nlohmann::json({first.string(), second.string()}));
  EXPECT_NE(json.err.find(at("out/a.bmp") + ": exists, not replaced"), std::string::npos);
}

TEST_F(ApplyTest, PngLevelTradesSizeForTimeAndKeepsThePixels) {
  const auto in = file("p.bmp", bmp(64, 48, 8));
  filter = file("ramp.afs", afsFilter({"x*4", "y*5", "r/32*32", "a"}));  // packs well
  for (const char* level : {"0", "9"}) {
    const auto run =
        cli({"apply", filter, in, at(std::string("p") + level + ".png"), "--png-level", level});
    ASSERT_EQ(run.exitCode, 0) << run.err;
  }
  EXPECT_GT(readFile(dir / "p0.png").size(), 2 * readFile(dir / "p9.png").size());
  filter = file("same.afs", afsFilter({"r", "g", "b", "a"}));
  EXPECT_EQ(single(dir / "p0.png", ".bmp"), single(dir / "p9.png", ".bmp"));
  const struct {
    std::vector<std::string> args;
    std::string message;
  } misuses[] = {
      {{"--png-level", "10", at("q.png")}, "--png-level takes a number from 0 to 9"},
      {{"--png-level", "3", at("q.bmp")}, "--png-level goes with PNG results"},
      {{"--png-level", "3", "--dest", at("out"), "--to", "jpg"}, "--png-level goes with PNG"},
  };
  for (const auto& m : misuses) {
    std::vector<std::string> args = {"apply", filter, in};
    args.insert(args.end(), m.args.begin(), m.args.end());
    const auto run = cli(args);
    EXPECT_EQ(run.exitCode, 2) << m.message;
    EXPECT_NE(run.err.find(m.message), std::string::npos) << run.err;
  }
}

// Ctrl-C at any moment, also while the result is encoded: the run ends with exit 3 and the
// existing OUTPUT as it was, or it had finished and wrote it whole.
TEST_F(ApplyTest, CtrlCAtAnyMomentLeavesTheOutputAsItWas) {
  const auto in = file("big.bmp", bmp(1000, 600, 9));
  const fs::path out = dir / "out" / "big.png";
  int stopped = 0;
  for (int delay : {50, 200, 450, 800, 1300, 2000}) {
    SCOPED_TRACE(delay);
    writeFile(out, "old");
    RunningProgram program(QM_CLI, {"--program-dir", programDir, "apply", filter, in, out.string(),
                                    "--overwrite", "all", "--png-level", "9"});
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    program.signal(SIGINT);
    const auto run = program.finish();
    std::size_t files = 0;
    for (const auto& e : fs::directory_iterator(out.parent_path())) files += e.exists();
    EXPECT_EQ(files, 1u);  // no temporary file left behind
    if (run.exitCode == 0) {
      EXPECT_EQ(readFile(out).substr(0, 4), "\x89PNG");
      continue;
    }
    // -1: the signal came before the program was ready for it, and ended it.
    EXPECT_TRUE(run.exitCode == 3 || run.exitCode == -1) << run.exitCode << run.err;
    EXPECT_EQ(readFile(out), "old");
    ++stopped;
  }
  if (stopped == 0) GTEST_SKIP() << "every run ended before its signal";
}

TEST_F(ApplyTest, EveryEngineWritesTheSameBytesAndTimingsAreOneLine) {
  filter = file("g.afs", afsFilter({"src(x+sin(y*8)/32,y,z)+rnd(0,3)", "c2d(x-X/2,y-Y/2)&255",
                                    "cnv(0,-1,0,-1,5,-1,0,-1,0,1)", "a"}));
  const fs::path in = file("p.bmp", bmp(45, 13, 4));
  const std::string reference = single(in, ".bmp", "reference");
  ASSERT_FALSE(reference.empty());
  for (const char* engine : {"block", "compiled"}) {
    SCOPED_TRACE(engine);
    EXPECT_EQ(single(in, ".bmp", engine), reference);
  }
  const auto timed = cli({"apply", filter, in.string(), at("t.bmp"), "--timings"});
  EXPECT_EQ(timed.exitCode, 0);
  std::string shape;  // the timings with each number as N
  for (char c : timed.err)
    if (!std::isdigit(static_cast<unsigned char>(c)))
      shape += c;
    else if (shape.empty() || shape.back() != 'N')
      shape += 'N';
  EXPECT_EQ(shape, "decode N ms, filter N ms, encode N ms\n") << timed.err;
}

TEST_F(ApplyTest, CtrlCStopsBetweenPicturesLeavingOnlyCompleteResults) {
  constexpr int kPictures = 60;
  const std::string picture = bmp(300, 300, 5);
  std::vector<std::string> args = {"--program-dir", programDir, "apply",  filter,
                                   "--threads",     "2",        "--dest", at("out")};
  for (int i = 0; i < kPictures; ++i)
    args.push_back(file("in/p" + std::to_string(i) + ".bmp", picture));
  const std::string expected = single(dir / "in/p0.bmp", ".bmp");
  const auto run = interruptedOnceWriting(args, dir / "out");
  int written = 0;
  for (const auto& e : fs::directory_iterator(dir / "out")) {
    SCOPED_TRACE(e.path().string());
    EXPECT_EQ(e.path().extension(), ".bmp");  // no temporary file left behind
    EXPECT_EQ(readFile(e.path()), expected);
    ++written;
  }
  if (written == kPictures) GTEST_SKIP() << "the run ended before the signal";
  EXPECT_EQ(run.exitCode, 3) << run.err;
  EXPECT_EQ(lastLine(run.out), std::to_string(written) + " written, 0 skipped, 0 failed");
  EXPECT_NE(run.err.find("quillmark-cli apply: cancelled"), std::string::npos);
}

}  // namespace
}  // namespace qm::test
