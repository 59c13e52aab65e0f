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
    EXPECT_EQ(lines(run.out),
              (std::vector<std::string>{outA.string(), outB.string(), "2 written, 0 failed"}));
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
  EXPECT_EQ(nlohmann::json::parse(run.out),
            nlohmann::json({{"written", {(out / "good.bmp").string()}},
                            {"failed", {missing.string(), text.string()}}}));
  EXPECT_NE(run.err.find(missing.string() + ": No such file or directory"), std::string::npos)
      << run.err;
  EXPECT_EQ(readFile(out / "good.bmp"), single(good, ".bmp"));

  const auto same = cli({"apply", filter, "--dest", dir.path().string(), own.string()});
  EXPECT_EQ(same.exitCode, 1);
  EXPECT_EQ(lines(same.out), (std::vector<std::string>{"0 written, 1 failed"}));
  EXPECT_EQ(same.err, own.string() + ": would replace its own input\n");
  EXPECT_EQ(readFile(own), "");
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
  EXPECT_EQ(lastLine(run.out), std::to_string(written) + " written, 0 failed");
  EXPECT_NE(run.err.find("quillmark-cli apply: cancelled"), std::string::npos);
}

}  // namespace
}  // namespace qm::test
