// Plugins written from the 64-bit runtime template, run in our test host under Wine, give the
// same pixels as quillmark-cli apply: for formulas that use every part of the language, for
// the sample filters, with tiles, padded rows, with and without advanceState, and when the
// host repeats the filter.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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
    std::vector<std::string> parts;
    std::stringstream fields(line);
    for (std::string part; std::getline(fields, part, '|');) parts.push_back(part);
    parts.resize(5);
    table.push_back({parts[0], {parts[1], parts[2], parts[3], parts[4]}});
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
  if (got.pixels.size() != expected.pixels.size())
    return "sizes " + std::to_string(got.pixels.size()) + " and " +
           std::to_string(expected.pixels.size());
  for (std::size_t i = 0; i < got.pixels.size(); ++i)
    if (got.pixels[i] != expected.pixels[i])
      return "byte " + std::to_string(i) + ": " + std::to_string(got.pixels[i]) + " instead of " +
             std::to_string(expected.pixels[i]);
  return "same";
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
    struct HostRun {
      int channels;
      std::vector<std::string> flags;
    };
    const HostRun runs[] = {{3, {}},
                            {4, {"--tile", "5", "--pad", "3"}},
                            {4, {"--no-advance", "--tile", "4"}},
                            {3, {"--parameters", "--repeat", "--pad", "1"}}};
    for (const auto& r : runs) {
      std::string flags;
      for (const auto& f : r.flags) flags += f + " ";
      SCOPED_TRACE(std::to_string(r.channels) + " channels " + flags);
      std::vector<std::string> args = {
          plugin.string(), (*folder_ / ("in" + std::to_string(r.channels) + ".raw")).string(),
          (*folder_ / "host.raw").string()};
      args.insert(args.end(), r.flags.begin(), r.flags.end());
      auto run = wine_->run(QM_PLUGIN_HOST, args);
      ASSERT_EQ(run.exitCode, 0) << run.err;
      const RawPicture got = qm::test::readRaw(*folder_ / "host.raw");
      EXPECT_EQ(difference(got, expected[r.channels - 3]), "same");
    }
  }

  static qm::test::WineHost* wine_;
  static qm::test::TempFolder* folder_;
};

qm::test::WineHost* RuntimeVsApply::wine_ = nullptr;
qm::test::TempFolder* RuntimeVsApply::folder_ = nullptr;

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

TEST_F(RuntimeVsApply, ModesFollowTheAllModesOption) {
  const Formulas invert{"invert", {"255-c", "255-c", "255-c", "255-c"}};
  const fs::path source = qm::test::writeFile(*folder_ / "invert.afs", afs(invert));
  struct Case {
    const char* mode;
    int channels;
    bool allModes;
    bool runs;
  };
  const Case cases[] = {{"--gray", 1, true, true},
                        {"--cmyk", 4, true, true},
                        {"--gray", 1, false, false},
                        {"--cmyk", 4, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + (c.allModes ? " all modes" : " RGB only"));
    const fs::path dest = *folder_ / (c.allModes ? "all" : "rgb");
    std::vector<std::string> args = {"convert",     "--to",        "8bf", "--no-dialog",  "--dest",
                                     dest.string(), "--overwrite", "all", source.string()};
    if (c.allModes) args.push_back("--all-modes");
    ASSERT_EQ(qm::test::cli(args).exitCode, 0);
    const RawPicture picture = qm::test::patternPicture(9, 7, c.channels);
    qm::test::writeRaw(*folder_ / "mode.raw", picture);
    auto run = wine_->run(QM_PLUGIN_HOST,
                          {(dest / "invert.8bf").string(), (*folder_ / "mode.raw").string(),
                           (*folder_ / "mode-out.raw").string(), c.mode});
    if (!c.runs) {
      EXPECT_NE(run.exitCode, 0);
      EXPECT_NE(run.err.find("returned -30101"), std::string::npos) << run.err;
      continue;
    }
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const RawPicture got = qm::test::readRaw(*folder_ / "mode-out.raw");
    RawPicture inverted = picture;
    for (auto& v : inverted.pixels) v = static_cast<std::uint8_t>(255 - v);
    EXPECT_EQ(difference(got, inverted), "same");
  }
}

TEST_F(RuntimeVsApply, AboutAndFormulaErrorsAreAnswered) {
  const Formulas broken{"broken", {"r+", "g", "b", "a"}};
  const fs::path source = qm::test::writeFile(*folder_ / "broken.afs", afs(broken));
  const fs::path dest = *folder_ / "broken";
  ASSERT_EQ(qm::test::cli(
                {"convert", "--to", "8bf", "--no-dialog", "--dest", dest.string(), source.string()})
                .exitCode,
            0);
  const std::string plugin = (dest / "broken.8bf").string();
  EXPECT_EQ(wine_->run(QM_PLUGIN_HOST, {plugin, "--about"}).exitCode, 0);
  auto run = wine_->run(
      QM_PLUGIN_HOST, {plugin, (*folder_ / "in3.raw").string(), (*folder_ / "host.raw").string()});
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.err.find("R formula: unexpected end of formula"), std::string::npos) << run.err;
}

}  // namespace
