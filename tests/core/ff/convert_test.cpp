// The conversion run: what it does with unreadable inputs, answers, cancels, libraries and the
// clipboard; and every source format through every target and back, where the filter the editor
// loads from the output is the one it loads from the source, as far as the target can hold it.

#include "core/ff/convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/ff/convert_summary.h"
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
using test::afsSource;
using test::fflEntry;
using test::fflLibrary;
using test::txtSource;

// Every file below root, relative to it.
std::set<std::string> filesBelow(const fs::path& root) {
  std::set<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) out.insert(fs::relative(e.path(), root).generic_string());
  return out;
}

class ConvertTest : public ::testing::Test {
 protected:
  ConvertTest() {
    fs::create_directories(in);
    prompter.folderChoice = FolderChoice{out, false};
    options.target = kTargetAfs;
    options.ff.programDir = dir.path();
  }
  ConvertReport run(const std::vector<fs::path>& files) {
    return cmd_Convert(files, options, prompter, progress);
  }
  fs::path source(const std::string& name, const std::string& bytes) {
    return test::writeFile(in / name, bytes);
  }

  test::TempFolder dir;
  fs::path in = dir / "in";
  fs::path out = dir / "out";
  test::ScriptedPrompter prompter;
  test::ScriptedProgress progress;
  ConvertOptions options;
};

TEST_F(ConvertTest, UnreadableInputsAreSkippedAndTheRunGoesOn) {
  auto first = source("one.txt", txtSource("One", "one.8bf"));
  auto jpeg = source("photo.jpg", "\xFF\xD8\xFF\xE0");
  auto noTrailer = source("bare.afs", afsSource(""));
  auto badLibrary = source("v2.ffl", fflLibrary({fflEntry("a.8bf", "A")}, "FFL2.0"));
  auto third = source("three.txt", txtSource("Three", "three.8bf"));
  auto report = run({first, jpeg, noTrailer, dir / "missing.afs", badLibrary, third});
  EXPECT_EQ(report.written.size(), 3u);
  ASSERT_EQ(report.unreadable.size(), 3u);
  EXPECT_EQ(report.unreadable[0].path, jpeg);
  EXPECT_EQ(report.unreadable[0].text, "not a Filter Factory file");
  EXPECT_EQ(report.unreadable[1].path, dir / "missing.afs");
  EXPECT_EQ(report.unreadable[1].text, "No such file or directory");
  EXPECT_EQ(report.unreadable[2].path, badLibrary);
  // A library with the wrong header has its own message.
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            badLibrary.string() + " is not a Filter Factory Library File!");
  EXPECT_EQ(prompter.messages[0].title, "Format Violation");
  EXPECT_TRUE(report.skipped.empty());
  EXPECT_EQ(filesBelow(out), (std::set<std::string>{"one.afs", "bare.afs", "three.afs"}));
}

// The answers themselves are decided by the overwrite check; here only that a run obeys them,
// library entries included, and that each run starts with a fresh overwrite mode.
TEST_F(ConvertTest, OverwriteAnswersAreObeyed) {
  auto a = source("a.txt", txtSource("A", "a.8bf"));
  auto b = source("b.txt", txtSource("B", "b.8bf"));
  test::writeFile(out / "a.afs", "old");
  test::writeFile(out / "b.afs", "old");
  prompter.overwriteAnswers = {OverwriteAnswer::Cancel, OverwriteAnswer::IgnoreAll,
                               OverwriteAnswer::Overwrite, OverwriteAnswer::Ignore};
  auto report = run({a, b});
  EXPECT_TRUE(report.cancelled);
  EXPECT_TRUE(report.written.empty());
  EXPECT_EQ(prompter.overwriteQuestions.size(), 1u);
  EXPECT_EQ(run({a, b}).skipped, (std::vector<fs::path>{a, b}));
  EXPECT_EQ(run({a}).written.size(), 1u);
  EXPECT_EQ(prompter.overwriteQuestions.size(), 3u);
  run({source("L.ffl", fflLibrary({fflEntry("b.8bf", "B")}))});
  EXPECT_EQ(test::readFile(out / "b.afs"), "old");
  EXPECT_EQ(prompter.overwriteQuestions.size(), 4u);
}

TEST_F(ConvertTest, CancelBetweenFilesOrEntriesKeepsWhatWasWritten) {
  auto a = source("a.txt", txtSource("A", "a.8bf"));
  auto b = source("b.txt", txtSource("B", "b.8bf"));
  progress.cancelAfter = 1;
  EXPECT_TRUE(run({a, b}).cancelled);
  EXPECT_EQ(filesBelow(out), std::set<std::string>{"a.afs"});
  ASSERT_FALSE(progress.statuses.empty());
  EXPECT_TRUE(progress.statuses.front().starts_with(" 1 of  2  ")) << progress.statuses.front();
  EXPECT_TRUE(progress.statuses.front().ends_with(" sec."));
  EXPECT_EQ(progress.statuses.back(), "");

  auto lib = source("L.ffl", fflLibrary({fflEntry("c.8bf", "C"), fflEntry("d.8bf", "D")}));
  progress = {};
  progress.cancelAfter = 2;  // before the run's first file, before entry 1
  auto stopped = run({lib, b});
  EXPECT_TRUE(stopped.cancelled);
  EXPECT_EQ(filesBelow(out), (std::set<std::string>{"a.afs", "c.afs"}));
  EXPECT_EQ(convertSummary(stopped, kTargetAfs).text,
            "1 file written.\n\nStopped after 0 of 2 files.");
}

// The closing words: each line once, ten of a kind and a count of the rest.
TEST(ConvertSummary, SectionsNameTenEachLineOnce) {
  ConvertReport report;
  for (int i = 0; i < 12; ++i) report.skipped.push_back("/in/s" + std::to_string(i) + ".afs");
  report.warnings = {{"/in/w.afs", "cut"}, {"/in/w.afs", "cut"}};
  report.failed = {{"/in/f.afs", "Permission denied"}};
  auto summary = convertSummary(report, kTargetPlugin);
  EXPECT_TRUE(summary.problems);
  EXPECT_TRUE(
      summary.text.starts_with("No file written.\n\nSkipped:\n/in/s0.afs: the existing "
                               "file was kept\n"));
  EXPECT_NE(summary.text.find("/in/s9.afs: the existing file was kept\n... and 2 more\n\n"
                              "Failed:\n/in/f.afs: Permission denied\n\nWarnings:\n/in/w.afs: "
                              "cut"),
            std::string::npos)
      << summary.text;
  EXPECT_TRUE(summary.text.ends_with("/in/w.afs: cut"));
}

TEST_F(ConvertTest, LibrariesGoIntoASubFolderEachWhenAsked) {
  prompter.folderChoice->createSubFolders = true;
  auto lib1 = source("Lib1.ffl", fflLibrary({fflEntry("a.8bf", "A"), fflEntry("//b.8bf", "B"),
                                             fflEntry("c.8bf", "C")}));
  auto lib2 = source("Lib2.FFL", fflLibrary({fflEntry("d.8bf", "D")}, "FFL1.1"));
  auto report = run({lib1, lib2});
  EXPECT_EQ(filesBelow(out), (std::set<std::string>{"Lib1/a.afs", "Lib1/c.afs", "Lib2/d.afs"}));
  EXPECT_EQ(report.written.size(), 3u);
  EXPECT_TRUE(prompter.overwriteQuestions.empty());
  // The library's own count text, entries counted with the placeholder.
  EXPECT_NE(std::find(progress.statuses.begin(), progress.statuses.end(), " 3 of  3"),
            progress.statuses.end());
}

TEST_F(ConvertTest, ClipboardTextIsTheOnlySourceNamesFromTitlesDropCharacters) {
  options.clipboardText = "Title: Clip Board\r\nR:r+1\r\nG:g\r\nB:b\r\n";
  auto ignored = source("a.txt", txtSource("A", "a.8bf"));
  test::writeFile(out / "Temp.afs", "old");
  prompter.overwriteAnswers = {OverwriteAnswer::Ignore};
  EXPECT_EQ(run({ignored}).skipped, std::vector<fs::path>{fs::path{}});
  // The question about the clipboard's output has no source line.
  ASSERT_EQ(prompter.overwriteQuestions.size(), 1u);
  EXPECT_FALSE(prompter.overwriteQuestions[0].sourceLine.has_value());
  EXPECT_TRUE(prompter.overwriteQuestions[0].destinationLine.ends_with(") ?"));
  options.namesFromTitles = true;
  run({ignored});
  EXPECT_EQ(filesBelow(out), (std::set<std::string>{"ClipBoard.afs", "Temp.afs"}));
  EXPECT_EQ(test::readFile(out / "Temp.afs"), "old");
  EXPECT_FALSE(fs::exists(dir / "Temp.txt"));
  // Names from titles drop what no file name may hold.
  options.clipboardText.reset();
  options.target = kTargetText;
  run({source("t.afs", afsSource("Twirl: Fast")),
       source("u.txt", txtSource("a*b?c\"d<e>f|g/h\\i.j", "u.8bf"))});
  EXPECT_EQ(filesBelow(out), (std::set<std::string>{"ClipBoard.afs", "Temp.afs", "Twirl Fast.txt",
                                                    "abcdefghij.txt"}));
}

TEST_F(ConvertTest, NoDestinationOrAPremiereTargetWritesNothing) {
  auto input = source("a.txt", txtSource("A", "a.8bf"));
  auto folder = prompter.folderChoice;
  prompter.folderChoice.reset();
  EXPECT_TRUE(run({input}).noDestination);
  EXPECT_FALSE(fs::exists(out));
  prompter.folderChoice = folder;
  options.target = kTargetPremiereFF;
  auto report = run({input});
  EXPECT_TRUE(report.written.empty());
  EXPECT_TRUE(report.failed.empty());
  EXPECT_TRUE(fs::is_empty(out));
}

TEST(InputKind, ByLastFourCharactersInAnyCase) {
  using enum InputKind;
  // clang-format off
  const std::pair<const char*, InputKind> cases[] = {
      {"a.TXT", Text}, {"a.8bf", Plugin}, {"a._bf", Plugin}, {"a.BIN", Plugin}, {"a_8bf", Plugin},
      {"a.prm", Premiere}, {"a._rm", Premiere}, {"a_prm", Premiere}, {"a.afs", Afs},
      {"a.Pff", Pff}, {"a.ffx", Ffx}, {"a.ffl", Library}, {"a.jpg", Unknown}, {"afs", Unknown}};
  // clang-format on
  for (auto [name, kind] : cases) EXPECT_EQ(inputKindOf(name), kind) << name;
}

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

// Every CR as CR LF, as a text-mode copy leaves a file; or every CR dropped.
fs::path withLineEnds(const fs::path& file, std::string_view ending) {
  std::string text;
  for (char c : test::readFile(file)) text += c == '\r' ? std::string(ending) : std::string(1, c);
  return test::writeFile(file, text);
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
      return withLineEnds(writeSource(Source::Afs, rec, in, options), "\r\n");
    case Source::PffCrLf:
      return withLineEnds(writeSource(Source::Pff, rec, in, options), "\r\n");
    case Source::TxtCrLf:
      return WriteTXTTo(in / "s.txt", rec).written;
    case Source::TxtLf:
      return withLineEnds(WriteTXTTo(in / "s.txt", rec).written, "");
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

class RoundTrip : public ConvertTest,
                  public ::testing::WithParamInterface<std::tuple<Shape, Source, int>> {};

TEST_P(RoundTrip, OutputLoadsAsTheSource) {
  const auto [shape, source, target] = GetParam();
  options.target = target;
  options.ff.noOptimize = true;
  const auto tpl = BuildTemplatePlugin(TemplateKind::FF30);
  test::writeFile(dir / "photo30.dll", std::string(tpl.begin(), tpl.end()));
  const FFRecord& rec = shape == Shape::Photoshop  ? kPhotoshop
                        : shape == Shape::Premiere ? kPremiere
                                                   : kSparse;
  const auto input = writeSource(source, rec, in, options.ff);
  ASSERT_FALSE(input.empty());
  if (source == Source::AfsCrLf || source == Source::PffCrLf) {
    // CR LF lines read as the CR lines they came from.
    const auto plain = source == Source::AfsCrLf ? Source::Afs : Source::Pff;
    test::expectSameFields(loaded(writeSource(plain, rec, dir / "plain", options.ff), options.ff),
                           loaded(input, options.ff));
  }
  const auto report = run({input});
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
  test::expectSameFields(heldBy(target, loaded(input, options.ff)),
                         heldBy(target, loaded(report.written[0], options.ff)));
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
TEST_F(ConvertTest, FormulaOverSeveralLinesThroughTheTextFormats) {
  FFRecord rec = kPhotoshop;
  rec.formulas[0] = "r+\r\nctl(0)";
  const auto input = source("s.ffx", test::ffxSource(rec));
  options.ff.noOptimize = true;
  for (int target : {kTargetAfs, kTargetPff, kTargetText}) {
    SCOPED_TRACE(target);
    options.target = target;
    const auto report = run({input});
    ASSERT_EQ(report.written.size(), 1u);
    auto formulas = loaded(report.written[0], options.ff).formulas;
    for (auto& f : formulas) std::erase(f, ' ');
    EXPECT_EQ(formulas, (std::array<std::string, 4>{"r+ctl(0)", "g", "b*ctl(1)/255", "a"}));
  }
}

}  // namespace
}  // namespace qm::ff
