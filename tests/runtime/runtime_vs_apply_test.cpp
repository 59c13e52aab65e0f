// Plugins written from the runtime templates, run in our test host under Wine, give the same
// pixels as quillmark-cli apply: for formulas that use every part of the language, for the
// sample filters, with tiles, padded rows, with and without advanceState, when the host
// repeats the filter and when it hands one buffer for input and output. Then one table of runs with
// a known outcome: colour modes, About, a formula error, a damaged parameter block, a cancel, and
// the 32-bit plugin where Wine can start 32-bit programs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "core/ff/template_layout.h"
#include "platform/image_codec.h"
#include "runtime/wine_host.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using qm::test::RawPicture;

struct Formulas {
  std::string name;
  std::array<std::string, 4> rgba;
};

std::vector<Formulas> formulaTable() {
  std::ifstream in(fs::path(QM_SOURCE_DIR) / "tests/runtime/formulas.txt");
  std::vector<Formulas> table;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::stringstream fields(line);
    Formulas& f = table.emplace_back();
    std::getline(fields, f.name, '|');
    for (auto& formula : f.rgba) std::getline(fields, formula, '|');
  }
  return table;
}

// An .afs source: sliders chosen so map() sees rising, falling and flat ramps.
std::string afs(const Formulas& f) {
  std::string text = "%RGB-1.0\r24\r40\r0\r0\r0\r200\r13\r255\r";
  for (const auto& formula : f.rgba) text += formula + "\r\r";
  text += "Runtime Tests\r\r" + f.name + "\r\rQuillmark\r\rnone\r\r";
  for (int i = 1; i <= 8; ++i) text += std::to_string(i) + ": slider\r\r";
  return text;
}

// "same" or where the pictures first differ, so a failure names one byte, not thousands.
std::string difference(const RawPicture& got, const RawPicture& expected) {
  if (got.pixels.size() != expected.pixels.size()) return "sizes differ";
  auto [g, e] = std::mismatch(got.pixels.begin(), got.pixels.end(), expected.pixels.begin());
  if (g == got.pixels.end()) return "same";
  return "byte " + std::to_string(g - got.pixels.begin()) + ": " + std::to_string(*g) +
         " instead of " + std::to_string(*e);
}

class RuntimeVsApply : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wine_ = new qm::test::WineHost;
    folder_ = new qm::test::TempFolder;
    for (int channels : {3, 4}) {
      const RawPicture picture = qm::test::patternPicture(41, 29, channels);
      const std::string name = "in" + std::to_string(channels);
      qm::test::writeRaw(*folder_ / (name + ".raw"), picture);
      qm::platform::QtImageCodec().write(qm::test::toImage(picture), *folder_ / (name + ".png"));
    }
  }
  static void TearDownTestSuite() {
    delete folder_;
    delete wine_;
  }
  void SetUp() override {
    if (!wine_->missing().empty()) GTEST_SKIP() << wine_->missing();
  }

  // apply's pixels for plugin on the picture of the given channels.
  static RawPicture applied(const fs::path& plugin, int channels) {
    const fs::path out = *folder_ / "apply.png";
    const std::string in = "in" + std::to_string(channels) + ".png";
    auto run = qm::test::cli({"apply", plugin.string(), (*folder_ / in).string(), out.string(),
                              "--overwrite", "all", "--threads", "1"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    auto image = qm::platform::QtImageCodec().read(out);
    return image ? qm::test::fromImage(*image, channels) : RawPicture{};
  }

  // Compares the host's result with apply's in every way a host may deliver the pictures.
  static void compare(const fs::path& plugin) {
    SCOPED_TRACE(plugin.filename().string());
    const RawPicture expected[] = {applied(plugin, 3), applied(plugin, 4)};
    // The picture's channels, then the host's flags.
    const std::vector<std::string> runs[] = {{"3"},
                                             {"4", "--tile", "5", "--pad", "3"},
                                             {"4", "--no-advance", "--tile", "4"},
                                             {"3", "--parameters", "--repeat", "--pad", "1"},
                                             {"4", "--in-place", "--pad", "2"}};
    for (const auto& r : runs) {
      std::string trace;
      for (const auto& f : r) trace += f + " ";
      SCOPED_TRACE(trace);
      std::vector<std::string> args = {plugin.string(),
                                       (*folder_ / ("in" + r[0] + ".raw")).string(),
                                       (*folder_ / "host.raw").string()};
      args.insert(args.end(), r.begin() + 1, r.end());
      auto run = wine_->run(QM_PLUGIN_HOST, args);
      ASSERT_EQ(run.exitCode, 0) << run.err;
      EXPECT_EQ(difference(qm::test::readRaw(*folder_ / "host.raw"), expected[r[0] == "4"]),
                "same");
    }
  }

  static inline qm::test::WineHost* wine_ = nullptr;
  static inline qm::test::TempFolder* folder_ = nullptr;
};

TEST_F(RuntimeVsApply, FormulasCoveringTheLanguage) {
  const auto table = formulaTable();
  ASSERT_GE(table.size(), 10u);
  const fs::path dest = *folder_ / "formulas";
  for (const auto& f : table) {
    SCOPED_TRACE(f.name);
    const fs::path source = qm::test::writeFile(*folder_ / (f.name + ".afs"), afs(f));
    auto run = qm::test::cli({"convert", "--to", "8bf", "--no-dialog", "--dest", dest.string(),
                              "--overwrite", "all", source.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    compare(dest / (f.name + ".8bf"));
  }
}

TEST_F(RuntimeVsApply, SampleFiltersWithTheirDialogWord) {
  // The dialog cannot open without a display, so plugins with the dialog word run with their
  // stored values too.
  const fs::path dest = *folder_ / "samples";
  std::vector<std::string> args = {"convert",     "--to",        "8bf", "--dest",
                                   dest.string(), "--overwrite", "all"};
  for (const auto& entry : fs::directory_iterator(fs::path(QM_SOURCE_DIR) / "data/samples"))
    args.push_back(entry.path().string());
  auto run = qm::test::cli(args);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  int plugins = 0;
  for (const auto& entry : fs::directory_iterator(dest)) {
    compare(entry.path());
    ++plugins;
  }
  EXPECT_GE(plugins, 8);
}

// Damage done to a written 64-bit plugin: the R formula replaced by one that does not compile
// (the writer refuses to write such a plugin), or the parameter resource cut to 8 bytes.
void badFormula(std::string& file) {
  using namespace qm::ff::layout;
  file.replace(inBlock(kD64, kFormulas), 8, std::string("r+pow(2", 8));
}
void shortParameters(std::string& file) {
  using namespace qm::ff::layout;
  // The resource's data entry: its address, then its size.
  std::string entry(8, '\0');
  const std::uint32_t words[] = {std::uint32_t(kRsrcVirtual64 + kParm - kRsrcRaw), kParmSize};
  std::memcpy(entry.data(), words, sizeof words);
  const std::size_t found = file.find(entry, at(kD64, kRsrcRaw));
  ASSERT_NE(found, std::string::npos);
  file[found + 4] = 8;
  file[found + 5] = 0;
}

TEST_F(RuntimeVsApply, HostRunsWithAKnownOutcome) {
  const std::array<std::string, 4> invert = {"255-c", "255-c", "255-c", "255-c"};
  const std::array<std::string, 4> half = {"r/2", "g/2", "b/2", "a"};
  const std::string host64 = QM_PLUGIN_HOST, host86 = QM_PLUGIN_HOST_X86;
  const auto inverted = +[](int v) { return 255 - v; };
  const auto halved = +[](int v) { return v / 2; };
  const struct {
    std::array<std::string, 4> rgba;
    std::vector<std::string> convertFlags;
    const std::string& host;
    std::string mode;  // a host flag; "--about" runs About instead of the filter
    int channels;
    int (*pixel)(int);    // each result byte from its input byte; null: not checked
    std::string errPart;  // empty: the run succeeds
    void (*damage)(std::string& file) = nullptr;
  } cases[] = {
      {invert, {"--all-modes"}, host64, "--gray", 1, inverted, ""},
      {invert, {"--all-modes"}, host64, "--cmyk", 4, inverted, ""},
      {invert, {}, host64, "--gray", 1, nullptr, "returned -30101"},
      {invert, {}, host64, "--cmyk", 4, nullptr, "returned -30101"},
      {invert, {}, host64, "--about", 3, nullptr, "", badFormula},
      {invert, {}, host64, "", 3, nullptr, "R formula, column 3: unknown name 'pow'", badFormula},
      {invert,
       {},
       host64,
       "",
       3,
       nullptr,
       "the plugin is damaged: its filter data is missing or cut short",
       shortParameters},
      // The first progress report is followed by the cancel, and by no other report.
      {invert,
       {},
       host64,
       "--cancel",
       3,
       nullptr,
       "returned -128 (progress reports after the cancel: 0)"},
      {half, {"--arch", "x86"}, host86, "", 3, halved, ""},
      {half,
       {"--arch", "x86"},
       host86,
       "--cancel",
       3,
       nullptr,
       "returned -128 (progress reports after the cancel: 0)"},
  };
  // Without arguments the host prints its usage and exits with 2, if it starts at all.
  const bool wine32 = wine_->run(host86, {}).exitCode == 2;
  int n = 0;
  for (const auto& c : cases) {
    const fs::path dest = *folder_ / ("known" + std::to_string(n++));
    SCOPED_TRACE(dest.filename().string() + " " + c.mode);
    if (&c.host == &host86 && !wine32) continue;  // the x86 plugin is checked by its layout
    const fs::path source = qm::test::writeFile(dest / "k.afs", afs({"k", c.rgba}));
    std::vector<std::string> convert = {"convert", "--to",        "8bf",          "--no-dialog",
                                        "--dest",  dest.string(), source.string()};
    convert.insert(convert.end(), c.convertFlags.begin(), c.convertFlags.end());
    ASSERT_EQ(qm::test::cli(convert).exitCode, 0);
    if (c.damage) {
      std::string file = qm::test::readFile(dest / "k.8bf");
      c.damage(file);
      qm::test::writeFile(dest / "k.8bf", file);
    }
    const RawPicture picture = qm::test::patternPicture(9, 7, c.channels);
    qm::test::writeRaw(dest / "in.raw", picture);
    std::vector<std::string> args = {(dest / "k.8bf").string()};
    if (c.mode != "--about")
      args.insert(args.end(), {(dest / "in.raw").string(), (dest / "out.raw").string()});
    if (!c.mode.empty()) args.push_back(c.mode);
    auto run = wine_->run(c.host, args);
    if (!c.errPart.empty()) {
      EXPECT_NE(run.exitCode, 0);
      EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
      continue;
    }
    ASSERT_EQ(run.exitCode, 0) << run.err;
    if (!c.pixel) continue;
    RawPicture expected = picture;
    for (auto& v : expected.pixels) v = static_cast<std::uint8_t>(c.pixel(v));
    EXPECT_EQ(difference(qm::test::readRaw(dest / "out.raw"), expected), "same");
  }
}

}  // namespace
