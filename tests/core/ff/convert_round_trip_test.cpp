// Every source format through every target of the conversion run and back: the filter the
// editor loads from the output is the one it loads from the source, as far as the target
// format can hold it.

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "core/ff/convert.h"
#include "core/ff/ffl.h"
#include "core/ff/formula_cleanup.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/plugin_template.h"
#include "core/ff/plugin_writer.h"
#include "core/ff/sources.h"
#include "support/ff_sources.h"
#include "support/record_checks.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace qm::ff {
namespace {

namespace fs = std::filesystem;

// clang-format off
// A Photoshop filter with named sliders, a named map and empty author and copyright.
const FFRecord kPhotoshop{.fileName = "wave.8bf", .category = "Tests", .title = "Wave Tint",
    .copyright = "", .author = "", .controlNames = {"Amount", "Angle"},
    .sliderValues = {10, 20, 30, 40}, .mapNames = {"", "Curve"},
    .formulas = {"src(x,y,z)+ctl(0)", "g", "b*ctl(1)/255", "a"}};
// A Premiere filter: its formulas mean something else once read as Photoshop formulas.
const FFRecord kPremiere{.fileName = "old.prm", .category = "Prem", .title = "Old Glow",
    .copyright = "Free", .author = "Ann", .controlNames = {"Level"}, .sliderValues = {5},
    .mapNames = {}, .formulas = {"r*M/4", "g+p", "b", "a"}, .photoshopDialect = false};
// Named maps (so A is followed by "map[" lines in a .txt), an empty formula and empty texts.
const FFRecord kSparse{.fileName = "edge.8bf", .category = "", .title = "Edge", .copyright = "",
    .author = "", .controlNames = {"", "", "", "", "", "", "", "Last"},
    .sliderValues = {1, 2, 0, 0, 5, 6, 0, 9}, .mapNames = {"Near", "", "Far"},
    .formulas = {"r", "", "b/2", "a"}};
// clang-format on

enum class Source { Afs, AfsCrLf, Pff, PffCrLf, TxtCrLf, TxtLf, Ffx, Plugin, Library };
enum class Shape { Photoshop, Premiere, Sparse };

// Every CR as CR LF, as a text-mode copy leaves a file.
void toCrLf(const fs::path& file) {
  const auto bytes = readWholeFile(file).value();
  std::string text;
  for (auto b : bytes) {
    text += static_cast<char>(b);
    if (b == '\r') text += '\n';
  }
  test::writeFile(file, text);
}

// The source file of rec in the format given.
fs::path writeSource(Source source, FFRecord rec, const fs::path& in, const FFOptions& options) {
  fs::create_directories(in);
  switch (source) {
    case Source::Afs:
      return WriteafspffTo(in / "s.afs", 0, rec).written;
    case Source::Pff:
      return WriteafspffTo(in / "s.pff", 1, rec).written;
    case Source::AfsCrLf:
    case Source::PffCrLf: {
      auto path =
          writeSource(source == Source::AfsCrLf ? Source::Afs : Source::Pff, rec, in, options);
      toCrLf(path);
      return path;
    }
    case Source::TxtCrLf:
      return WriteTXTTo(in / "s.txt", rec).written;
    case Source::TxtLf: {
      auto path = WriteTXTTo(in / "s.txt", rec).written;
      auto bytes = *readWholeFile(path);
      std::erase(bytes, std::uint8_t{'\r'});
      replaceFile(path, bytes);
      return path;
    }
    case Source::Ffx:
      return test::writeFile(in / "s.ffx", test::ffxSource(rec));
    case Source::Plugin:
      rec.fileName = "s.8bf";
      return Write8bf(in, false, false, rec, options).written;
    case Source::Library:
      rec.fileName = rec.photoshopDialect ? "s.8bf" : "s.prm";
      return test::writeFile(in / "s.ffl", test::fflLibrary({test::fflEntryOf(rec)}));
  }
  return {};
}

// The filter as the editor loads it, in the Photoshop dialect.
FFRecord loaded(const fs::path& file, const FFOptions& options) {
  FFRecord rec;
  if (file.extension() == ".ffl") {
    rec = *LoadFFLEntry(ByteView(*readWholeFile(file)), 1);
    if (!rec.photoshopDialect)
      for (auto& f : rec.formulas) f = Correctprmcode(f);
  } else {
    EXPECT_TRUE(LoadFile(file, rec, options)) << file;
  }
  rec.fileName.clear();
  rec.photoshopDialect = true;
  return rec;
}

// What a target holds of a filter: .afs and .pff have no maps, and keep values only for
// named sliders, .txt only for named sliders and maps; a plugin's category has at least two
// characters.
FFRecord heldBy(int target, FFRecord rec) {
  if (target == kTargetPlugin && rec.category.size() < 2) rec.category = "Photoshop";
  if (target == kTargetAfs || target == kTargetPff) rec.mapNames = {};
  if (target != kTargetPlugin)
    for (std::size_t k = 0; k < 8; ++k)
      if (rec.controlNames[k].empty() && rec.mapNames[k / 2].empty()) rec.sliderValues[k] = 0;
  return rec;
}

ConvertReport convertTo(int target, const fs::path& input, const FFOptions& options,
                        const fs::path& out) {
  test::ScriptedPrompter prompter;
  test::ScriptedProgress progress;
  prompter.folderChoice = FolderChoice{out, false};
  ConvertOptions convert;
  convert.target = target;
  convert.ff = options;
  return cmd_Convert({input}, convert, prompter, progress);
}

class RoundTrip : public ::testing::TestWithParam<std::tuple<Shape, Source, int>> {};

TEST_P(RoundTrip, OutputLoadsAsTheSource) {
  const auto [shape, source, target] = GetParam();
  test::TempFolder dir;
  FFOptions options;
  options.programDir = dir.path();
  options.noOptimize = true;
  test::writeFile(dir / "photo30.dll", [] {
    auto bytes = BuildTemplatePlugin(TemplateKind::FF30);
    return std::string(bytes.begin(), bytes.end());
  }());
  const FFRecord& rec = shape == Shape::Photoshop  ? kPhotoshop
                        : shape == Shape::Premiere ? kPremiere
                                                   : kSparse;
  const auto input = writeSource(source, rec, dir / "in", options);
  ASSERT_FALSE(input.empty());
  if (source == Source::AfsCrLf || source == Source::PffCrLf) {
    // CR LF lines read as the CR lines they came from.
    const auto plain = source == Source::AfsCrLf ? Source::Afs : Source::Pff;
    test::expectSameFields(loaded(writeSource(plain, rec, dir / "plain", options), options),
                           loaded(input, options));
  }

  const auto report = convertTo(target, input, options, dir / "out");

  // Translated once into the Photoshop dialect, these formulas cannot go back into a .pff.
  const bool readAsPremiere =
      shape == Shape::Premiere &&
      (source == Source::Pff || source == Source::PffCrLf || source == Source::Library);
  if (target == kTargetPff && shape == Shape::Premiere && !readAsPremiere) {
    ASSERT_EQ(report.failed.size(), 1u);
    EXPECT_NE(report.failed[0].text.find("mean something else in a .pff"), std::string::npos);
    EXPECT_TRUE(report.written.empty());
    return;
  }
  ASSERT_TRUE(report.failed.empty()) << report.failed[0].text;
  ASSERT_EQ(report.written.size(), 1u);
  SCOPED_TRACE(report.written[0]);
  test::expectSameFields(heldBy(target, loaded(input, options)),
                         heldBy(target, loaded(report.written[0], options)));
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, RoundTrip,
    ::testing::Combine(::testing::Values(Shape::Photoshop, Shape::Premiere, Shape::Sparse),
                       ::testing::Values(Source::Afs, Source::AfsCrLf, Source::Pff, Source::PffCrLf,
                                         Source::TxtCrLf, Source::TxtLf, Source::Ffx,
                                         Source::Plugin, Source::Library),
                       ::testing::Values(kTargetPlugin, kTargetAfs, kTargetPff, kTargetText)));

// A formula typed over several lines (an .ffx holds it as it was typed) keeps every formula in
// its channel through the text formats; its line break only separates tokens.
TEST(TextFormatRoundTrip, FormulaOverSeveralLines) {
  FFRecord rec = kPhotoshop;
  rec.formulas[0] = "r+\r\nctl(0)";
  for (int target : {kTargetAfs, kTargetPff, kTargetText}) {
    SCOPED_TRACE(target);
    test::TempFolder dir;
    FFOptions options;
    options.noOptimize = true;
    const auto input = test::writeFile(dir / "s.ffx", test::ffxSource(rec));
    const auto report = convertTo(target, input, options, dir / "out");
    ASSERT_EQ(report.written.size(), 1u);
    auto formulas = loaded(report.written[0], options).formulas;
    for (auto& f : formulas) std::erase(f, ' ');
    EXPECT_EQ(formulas, (std::array<std::string, 4>{"r+ctl(0)", "g", "b*ctl(1)/255", "a"}));
  }
}

}  // namespace
}  // namespace qm::ff
