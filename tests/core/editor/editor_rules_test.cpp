// The editor's rules without a window: snippets, randomize, memory spots, save names, the
// formulas a preview compiles, the clipboard layout and the diagnostics it underlines.

#include <gtest/gtest.h>

#include "core/editor/diagnostics.h"
#include "core/editor/editor_fields.h"
#include "core/editor/preview_formulas.h"
#include "core/editor/preview_run.h"
#include "core/editor/save_rules.h"
#include "core/editor/slider_rules.h"
#include "core/editor/snippets.h"
#include "core/ff/sources.h"
#include "support/temp_folder.h"

namespace qm::editor {
namespace {

TEST(Snippets, LinesGiveCodeAndNameSkippingCommentsAndBlanks) {
  auto snippets = parseSnippets(
      "# a comment; not a snippet\r\n"
      "put(r,0); Keep red\r\n"
      "\r\n"
      "x*255/X;  Ramp\n"
      "lone\r"
      "abs(a);\n");
  std::vector<std::pair<std::string, std::string>> got;
  for (const auto& s : snippets) got.emplace_back(s.code, s.name);
  // A name starts two characters after the ";".
  EXPECT_EQ(got,
            (decltype(got){
                {"put(r,0)", "Keep red"}, {"x*255/X", " Ramp"}, {"lone", ""}, {"abs(a)", ""}}));
  EXPECT_TRUE(readSnippetFile("/nonexistent/Snipets.db").empty());
}

TEST(Randomize, ChangesOnlyActiveNamedOrMappedSliders) {
  SliderState state;
  state.values = {1, 2, 3, 4, 5, 6, 7, 8};
  state.names = {"Amount", "", "Struck", "", "", "", "", "Last"};
  state.deactivated[2] = true;
  state.mapActive[2] = true;  // sliders 4 and 5, unnamed
  randomizeSliders(state, [] { return 0.999; });
  //            named  unnamed struck unnamed map   map   unnamed named
  SliderValues want{255, 2, 3, 4, 255, 255, 7, 255};
  EXPECT_EQ(state.values, want);
  randomizeSliders(state, [] { return 0.5; });  // 127.5 rounds to 128
  EXPECT_EQ(state.values[0], 128);
}

TEST(MemorySpots, StoreRecallAndDeleteArmedEmpties) {
  MemorySpots spots;
  SliderValues current{10, 20, 30, 40, 50, 60, 70, 80};
  EXPECT_EQ(spots.click(3, current), MemorySpots::Action::Stored);
  EXPECT_TRUE(spots.inUse(3));
  SliderValues moved{};
  EXPECT_EQ(spots.click(3, moved), MemorySpots::Action::Recalled);
  EXPECT_EQ(moved, current);
  spots.armDelete();
  SliderValues untouched{9};
  EXPECT_EQ(spots.click(3, untouched), MemorySpots::Action::Emptied);
  EXPECT_EQ(untouched, SliderValues{9});
  EXPECT_FALSE(spots.inUse(3));
  EXPECT_FALSE(spots.deleteArmed());
  EXPECT_EQ(spots.click(10, current), MemorySpots::Action::None);
}

TEST(SaveName, ExtensionReplacesTheLastOne) {
  struct Case {
    const char* text;
    int formatIndex;
    const char* want;  // nullptr: "Filename isn't specified!"
  } cases[] = {
      {"Wave.afs", 0, "Wave.8bf"}, {"Wave.afs", 1, "Wave.afs"}, {"my.wave.8bf", 2, "my.wave.pff"},
      {"Wave", 3, "Wave.txt"},     {"Filename", 0, nullptr},    {"", 1, nullptr},
      {".afs", 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto name = saveFileName(c.text, saveFormatAt(c.formatIndex));
    if (c.want)
      EXPECT_EQ(name, std::optional<std::string>(c.want));
    else
      EXPECT_FALSE(name);
  }
}

TEST(PreviewFormulas, ReplaceAwithIKeepsFunctionNames) {
  EXPECT_EQ(ReplaceAwithI("abs(a)+add(a,a,255)+val(0,a,a)+map(0,a)+max(a,2)+tan(a)/2+a"),
            "abs(i)+add(i,i,255)+val(0,i,i)+map(0,i)+max(i,2)+tan(i)/2+i");
  EXPECT_EQ(ReplaceAwithI("a"), "i");
}

TEST(PreviewFormulas, OneBoxAndAlphaViewRules) {
  struct Case {
    const char* name;
    std::array<std::string, 4> rgba;
    bool oneBox, alphaView;
    std::array<std::string, 4> want;
    bool alphaShown;
  } cases[] = {
      // clang-format off
      {"one box copies red", {"r/2", "g", "b", "a"}, true, false,
       {"r/2", "r/2", "r/2", "a"}, false},
      {"alpha a is the colour preview", {"r", "g", "b", "a"}, false, true,
       {"r", "g", "b", "a"}, false},
      {"alpha shown in all three", {"r", "g", "b", "a/2"}, false, true,
       {"i/2", "i/2", "i/2", "a/2"}, true},
      {"get keeps red and green", {"put(r,0)", "g", "b", "get(0)"}, false, true,
       {"put(r,0)", "g", "get(0)", "get(0)"}, true},
      {"get with a short red", {"r", "g", "b", "get(0)"}, false, true,
       {"get(0)", "get(0)", "get(0)", "get(0)"}, true},
      {"alpha view off", {"r", "g", "b", "a/2"}, false, false, {"r", "g", "b", "a/2"}, false},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto got = previewFormulas(c.rgba, c.oneBox, c.alphaView);
    EXPECT_EQ(got.record, c.want);
    EXPECT_EQ(got.alphaShown, c.alphaShown);
  }
  EditorFormulas boxes{"", "r", "", "b"};
  EXPECT_TRUE(fillEmptyBoxes(boxes));
  EXPECT_EQ(boxes, (EditorFormulas{"a", "r", "g", "b"}));
}

TEST(Fields, GatherScatterAndClipboardLayout) {
  EditorFields fields = EditorFields::reset();
  fields.texts = {"Wave.afs", "Distort", "Wave", "Me", "(c) Me"};
  fields.boxes = {"a", "src(x,y+ctl(0)/8,0)", "g", "b"};
  fields.sliders.names[0] = "Height";
  fields.sliders.values = {40, 0, 7, 0, 0, 0, 0, 0};
  fields.sliders.mapActive[1] = true;  // sliders 2 and 3, name left empty
  ff::FFRecord rec = gather(fields, {});
  EXPECT_EQ(ff::textSourceText(rec),
            "Category: Distort\r\nTitle: Wave\r\nCopyright: (c) Me\r\nAuthor: Me\r\n"
            "Filename: Wave.afs\r\n\r\n"
            "R:src(x,y+ctl(0)/8,0)\r\n\r\nG:g\r\n\r\nB:b\r\n\r\nA:a\r\n\r\n"
            "ctl[0]: Height\r\nmap[1]: Map 2\r\n\r\n"
            "val[0]: 40\r\nval[2]: 7\r\nval[3]: 0\r\n\r\n");
  EditorFields back = EditorFields::reset();
  scatter(rec, back);
  EXPECT_EQ(std::tie(back.texts, back.boxes), std::tie(fields.texts, fields.boxes));
  EXPECT_EQ(std::tuple(sliderCaption(back, 0), sliderCaption(back, 3)),
            std::tuple("Height", "Map 2"));
}

TEST(Diagnostics, EachChannelReportsItsFirstErrorWithColumn) {
  auto found = checkFormulas({"r+", "g", "foo(1)", "a)"});
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(describe(found[0]), "R:3: unexpected end of formula");
  EXPECT_EQ(std::tie(found[1].channel, found[1].position, found[1].length), std::tuple(2, 0u, 3u));
  EXPECT_EQ(describe(found[2]), "A:2: unmatched ')'");
  EXPECT_TRUE(checkFormulas({"r", "g", "b", "a // fine"}).empty());
}

TEST(PreviewRun, CompilesTheRecordAndRunsItOnACopyOfThePicture) {
  qm::test::TempFolder dir;
  std::filesystem::copy_file(std::filesystem::path(QM_DATA_DIR) / "photo30.dll",
                             dir / "photo30.dll");
  PreviewRequest request;
  request.record.formulas = {"255-r", "ctl(2)", "x*10", "a"};
  request.record.controlNames[2] = "Green";
  request.record.sliderValues[2] = 77;
  auto picture = std::make_shared<host::Image>(host::Image::blank(4, 2, false));
  picture->pixel(1, 0)[0] = 5;
  request.picture = picture;
  request.options.programDir = dir.path();

  auto result = runPreview(request, nullptr);
  ASSERT_TRUE(result.image) << result.message;
  EXPECT_EQ(result.image->pixel(1, 0)[0], 250);
  EXPECT_EQ(result.image->pixel(1, 0)[1], 77);
  EXPECT_EQ(result.image->pixel(3, 1)[2], 30);
  EXPECT_EQ(picture->pixel(1, 0)[0], 5);  // the preview copy stays as it was
  EXPECT_TRUE(std::filesystem::exists(dir / "preview" / "temp.dll"));

  request.cancelled = [] { return true; };  // a newer preview came
  result = runPreview(request, nullptr);
  EXPECT_FALSE(result.image);
  EXPECT_TRUE(result.message.empty());
  request.cancelled = nullptr;

  request.record.formulas[0] = "r+";
  result = runPreview(request, nullptr);
  EXPECT_FALSE(result.image);
  EXPECT_NE(result.message.find("R formula"), std::string::npos) << result.message;

  request.options.programDir = dir / "missing";
  result = runPreview(request, nullptr);
  EXPECT_FALSE(result.image);
  EXPECT_FALSE(result.message.empty());
}

}  // namespace
}  // namespace qm::editor
