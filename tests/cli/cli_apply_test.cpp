// End-to-end runs of quillmark-cli apply: a TGA in, a 24-bit BMP out (simple to check byte by
// byte); the pixels themselves are the filter run's tests' job.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "support/ff_sources.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

using Rgba = std::array<std::uint8_t, 4>;

// A 1x1 uncompressed 24-bit TGA, pixel (30, 20, 10).
std::string tga() {
  std::string out(18, '\0');
  out[2] = 2;  // uncompressed true colour
  out[12] = out[14] = 1;
  out[16] = 24;
  out[17] = 0x20;  // rows top to bottom
  return out + "\x0A\x14\x1E" + std::string(8, '\0') + "TRUEVISION-XFILE." + '\0';
}

// Pixels of a 24-bit bottom-up BMP, top row first; empty when it is not one.
std::vector<Rgba> bmpPixels(const std::string& b, int& w, int& h) {
  auto u32 = [&](std::size_t at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 |
           std::uint32_t(std::uint8_t(b[at + 3])) << 24;
  };
  if (b.size() < 54 || b.substr(0, 2) != "BM" || std::uint8_t(b[28]) != 24) return {};
  w = int(u32(18));
  h = int(u32(22));
  const std::size_t data = u32(10), stride = (std::size_t(w) * 3 + 3) / 4 * 4;
  if (b.size() < data + stride * h) return {};
  std::vector<Rgba> px;
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) {
      const std::size_t at = data + stride * y + std::size_t(x) * 3;
      px.push_back({std::uint8_t(b[at + 2]), std::uint8_t(b[at + 1]), std::uint8_t(b[at]), 255});
    }
  return px;
}

class ApplyTest : public ::testing::Test {
 protected:
  qm::test::ProgramRun cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--program-dir", dir.path().string(), "apply"});
    return qm::test::runProgram(QM_CLI, args);
  }
  std::string file(const std::string& name, const std::string& bytes) {
    return qm::test::writeFile(dir / name, bytes).string();
  }
  std::vector<Rgba> result(const std::string& name) {
    return bmpPixels(qm::test::readFile(dir / name), width, height);
  }
  qm::test::TempFolder dir;
  int width = 0, height = 0;
};

TEST_F(ApplyTest, CtlOverridesTheStoredSlider) {
  const auto filter = file("f.afs", qm::test::afsFilter({"ctl(0)", "ctl(1)", "0", "a"}, 9));
  const auto in = file("in.tga", tga());
  auto stored = cli({filter, in, (dir / "a.bmp").string()});
  ASSERT_EQ(stored.exitCode, 0) << stored.err;
  EXPECT_EQ(stored.out, (dir / "a.bmp").string() + "\n");
  EXPECT_EQ(result("a.bmp")[0], (Rgba{9, 0, 0, 255}));
  auto over = cli({filter, in, (dir / "b.bmp").string(), "--ctl", "0=200", "--ctl=1=7"});
  ASSERT_EQ(over.exitCode, 0) << over.err;
  EXPECT_EQ(result("b.bmp")[0], (Rgba{200, 7, 0, 255}));
}

struct Failure {
  std::vector<std::string> args;  // $F filter, $I picture, $O output
  int exitCode;
  std::string errPart;
};

TEST_F(ApplyTest, RefusalsExitWithTheirCodes) {
  const std::string f = file("f.afs", qm::test::afsFilter({"r", "g", "b", "a"}));
  const std::string i = file("in.tga", tga());
  const std::string o = (dir / "out.bmp").string();
  const std::string junk = file("junk.8bf", std::string(300, 'j'));
  const Failure cases[] = {
      {{junk, i, o}, 1, "junk.8bf: not a Filter Factory file"},
      {{f, junk, o}, 1, "junk.8bf: cannot read the picture"},
      {{f, i, (dir / "out.nosuchformat").string()}, 1, "cannot write the picture"},
      {{f, i}, 2, "give FILTER, INPUT and OUTPUT"},
      {{f, i, o, "--ctl", "8=1"}, 2, "--ctl takes N=V"},
      {{f, i, o, "--threads", "0"}, 2, "--threads takes a number"},
  };
  for (const Failure& c : cases) {
    auto run = cli(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.errPart;
    EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
  }
  EXPECT_FALSE(fs::exists(o));
  for (const auto& entry : fs::directory_iterator(dir.path()))
    EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos);
}

}  // namespace
