// The formula boxes' typing aids without a window: every error listed, completion, brackets,
// tooltips, undo steps, argument placeholders, and find across the boxes.

#include "core/editor/code_assist.h"

#include <gtest/gtest.h>

#include "core/editor/editor_fields.h"
#include "core/editor/find_replace.h"
#include "core/editor/formula_catalogue.h"
#include "core/editor/formula_errors.h"

namespace qm::editor {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> errorsOf(std::string_view formula) {
  std::vector<std::string> got;
  for (const auto& d : listErrors(formula))
    got.push_back(std::to_string(d.position + 1) + "+" + std::to_string(d.length) + " " +
                  d.message);
  return got;
}

TEST(FormulaErrors, EveryErrorOfAFormulaWithItsColumnAndLength) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"r+g // (fine", {}},
      {"foo+src(x,y)+((r)",
       {"1+3 unknown name 'foo'", "5+3 'src' takes 3 arguments", "14+1 '(' is never closed"}},
      {"mix(\x8b"
       "a\x9b,b,1,2)",
       {"5+3 argument 'a' not filled in"}},
      {"x(1)+ctl", {"1+1 'x' is not a function", "6+3 expected '(' after 'ctl'"}},
      {"r)+g)", {"2+1 unmatched ')'", "5+1 unmatched ')'"}},
      {"abs()+r$", {"1+3 'abs' takes 1 argument", "8+1 unexpected character '$'"}},
      // What only the parser sees comes once, after the others.
      {"r+", {"3+1 unexpected end of formula"}},
      {"r g+zz", {"3+1 expected an operator", "5+2 unknown name 'zz'"}},
      // Mistakes of shape: each listed once, reading on after it.
      {"r+, g+", {"3+1 expected a value", "7+1 unexpected end of formula"}},
      {"r?g, b?g", {"4+1 expected ':'", "9+1 expected ':'"}},
      {"r?g,b:a", {"4+1 expected ':'"}},  // the ':' that came late is that one's
      {"(r+)*(g*)", {"4+1 expected a value", "9+1 expected a value"}},
      {"r g b", {"3+1 expected an operator", "5+1 expected an operator"}},
      {"min(r:g, b)+(r", {"6+1 ':' without '?'", "13+1 '(' is never closed"}},
      {"r)+(g*", {"2+1 unmatched ')'", "4+1 '(' is never closed"}},
      {"*r+g$ b", {"1+1 expected a value", "5+1 unexpected character '$'"}},
      {"x ? y : ", {"9+1 unexpected end of formula"}},
      {"mix(\x8b"
       "a\x9b \x8b"
       "b\x9b,1)",
       {"1+3 'mix' takes 4 arguments", "5+3 argument 'a' not filled in",
        "9+3 argument 'b' not filled in"}},
      {"src(x,y,0)/ / 2, abs(r-)", {"13+1 expected a value", "24+1 expected a value"}},
  };
  for (const auto& [formula, want] : cases) EXPECT_EQ(errorsOf(formula), want) << formula;
}

TEST(FormulaErrors, BoxListSkipsHiddenBoxesAndWalksWithF8) {
  // Boxes are A, R, G, B; the list shows R (or C), G, B, A.
  const std::array<std::string, 4> boxes{"a)", "r\r\n+foo", "g+", "b"};
  std::vector<std::string> shown, captions;
  for (const auto& e : listBoxErrors(boxes, false)) {
    shown.push_back(errorListText(e));
    captions.push_back(errorCaption(e));
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"R  line 2, column 2: unknown name 'foo'",
                                             "G  column 3: unexpected end of formula",
                                             "A  column 2: unmatched ')'"}));
  EXPECT_EQ(captions.front(), "R= line 2, column 2: unknown name 'foo'");
  const auto one = listBoxErrors(boxes, true);
  ASSERT_EQ(one.size(), 2u);
  EXPECT_EQ(errorCaption(one[0]), "C= line 2, column 2: unknown name 'foo'");
  EXPECT_EQ(one[1].box, kBoxAlpha);

  const auto list = listBoxErrors(boxes, false);
  // (box, offset, forward) -> index
  const std::tuple<int, std::size_t, bool, int> walks[] = {
      {kBoxRed, 0, true, 0},   {kBoxRed, 4, true, 1},  {kBoxBlue, 0, true, 2},
      {kBoxAlpha, 5, true, 0}, {kBoxRed, 0, false, 2}, {kBoxAlpha, 0, false, 1}};
  for (const auto& [box, offset, forward, want] : walks)
    EXPECT_EQ(nextErrorIndex(list, box, offset, forward), want) << box << " " << offset;
  EXPECT_EQ(nextErrorIndex({}, kBoxRed, 0, true), -1);
}

std::vector<std::string> labels(std::string_view prefix, const SliderNames& names = {}) {
  std::vector<std::string> got;
  for (const auto& item : completions(prefix, names)) got.push_back(item.label);
  return got;
}

TEST(Completion, NamesWithArgumentsAndTheNamedSliders) {
  SliderNames names;
  names.controls[0] = "Level";
  names.controls[3] = "Twist";
  names.maps[1] = "Soft";
  EXPECT_EQ(labels("mi"), (std::vector<std::string>{"min(a,b)", "mix(a,b,n,d)"}));
  EXPECT_EQ(labels("ct", names), (std::vector<std::string>{"ctl(i)", "ctl(0)", "ctl(3)"}));
  EXPECT_EQ(labels("ma", names), (std::vector<std::string>{"map(i,n)", "map(1,n)", "max(a,b)"}));
  EXPECT_EQ(labels("sq"), (std::vector<std::string>{"sqr(x)", "sqrt(x)"}));
  const auto xmax = completions("xma", {});
  ASSERT_EQ(xmax.size(), 1u);
  EXPECT_EQ(xmax[0].meaning, "same as X: width of the picture");
  const auto val = completions("val", names);
  ASSERT_EQ(val.size(), 3u);
  EXPECT_EQ(val[0].insert, u"val(\u2039i\u203a,\u2039a\u203a,\u2039b\u203a)");
  EXPECT_EQ(val[2].insert, u"val(3,\u2039a\u203a,\u2039b\u203a)");
  EXPECT_EQ(val[2].meaning, "slider 3 (Twist) scaled to a..b");
  EXPECT_EQ(completions("map", names)[1].meaning, "map 1: Soft");

  // (text, caret) -> offered after typing
  const std::tuple<std::u16string, std::size_t, bool> typed[] = {
      {u"r+mi", 4, true}, {u"r+m", 3, false},  {u"// mi", 5, false}, {u"ctl", 3, true},
      {u"12mi", 4, true}, {u"xmax", 4, false}, {u"qq", 2, false},    {u"r+mi)", 2, false}};
  for (const auto& [text, caret, want] : typed)
    EXPECT_EQ(offersCompletion(text, caret, {}), want) << std::string(text.begin(), text.end());
  EXPECT_EQ(wordStart(u"r+12mi", 6), 4u);
}

TEST(CodeAssist, BracketsNamesTooltipsAndUndoSteps) {
  // (text, caret) -> bracket at, partner (-1: unmatched, -2: no bracket there)
  const std::tuple<std::u16string, std::size_t, int, int> brackets[] = {
      {u"mix(a,(b),1,2)", 3, 3, 13}, {u"mix(a,(b),1,2)", 14, 13, 3}, {u"(r", 0, 0, -1},
      {u"r // (\n)", 5, -2, -2},     {u"(r // )\n)", 0, 0, 8},       {u"r+g", 1, -2, -2}};
  for (const auto& [text, caret, at, partner] : brackets) {
    const auto match = matchBracket(text, caret);
    const int gotAt = match ? static_cast<int>(match->at) : -2;
    const int gotPartner = !match ? -2 : match->partner ? static_cast<int>(*match->partner) : -1;
    EXPECT_EQ(std::pair(gotAt, gotPartner), std::pair(at, partner))
        << std::string(text.begin(), text.end()) << " " << caret;
  }
  const auto name = nameAt(u"r+mix(a,2b)", 4);
  ASSERT_TRUE(name);
  EXPECT_EQ(std::pair(name->start, name->length), std::pair(std::size_t{2}, std::size_t{3}));
  EXPECT_FALSE(nameAt(u"r + g", 2));
  EXPECT_EQ(nameAt(u"2b", 1)->start, 1u);

  EXPECT_EQ(nameTooltip("mix"), "mix(a,b,n,d)\na and b mixed: a*n/d + b*(d-n)/d");
  EXPECT_EQ(nameTooltip("x"), "x: column of this pixel");
  EXPECT_EQ(nameTooltip("rmax"), "rmax: constant 255");
  EXPECT_EQ(nameTooltip("sqrt"), "sqrt(x)\nsame as sqr: the square root of x");
  EXPECT_EQ(nameTooltip("foo"), "");

  // (previous, typed, pause) -> a new undo step
  const std::tuple<char16_t, char16_t, std::chrono::milliseconds, bool> steps[] = {
      {0, u'r', 0ms, true},      {u'r', u'+', 10ms, false},  {u'+', u'g', 10ms, true},
      {u'g', u'x', 10ms, false}, {u'g', u'x', 1500ms, true}, {u'x', u'\n', 10ms, true},
      {u'(', u'1', 10ms, true},  {u'1', u'2', 10ms, false}};
  for (const auto& [previous, typed, pause, want] : steps)
    EXPECT_EQ(startsUndoStep(previous, typed, pause), want)
        << char(previous) << char(typed) << pause.count();
}

TEST(CodeAssist, InsertedFunctionsCarryPlaceholdersThatDoNotParse) {
  const auto* mix = findEntry("mix");
  ASSERT_TRUE(mix);
  const std::u16string text = insertionText(*mix);
  EXPECT_EQ(text, u"mix(\u2039a\u203a,\u2039b\u203a,\u2039n\u203a,\u2039d\u203a)");
  const TextRange first = selectionAfterInsert(text);
  EXPECT_EQ(std::pair(first.start, first.length), std::pair(std::size_t{4}, std::size_t{3}));
  EXPECT_EQ(selectionAfterInsert(u"x").start, 1u);
  // Tab walks the placeholders and wraps.
  EXPECT_EQ(findPlaceholder(text, 5)->start, 8u);
  EXPECT_EQ(findPlaceholder(text, 17)->start, 4u);
  EXPECT_FALSE(findPlaceholder(u"mix(r,g,1,2)", 0));
  // The record's bytes: a placeholder left in is an error.
  EXPECT_EQ(errorsOf("mix(\x8b"
                     "a\x9b,r,1,2)")
                .size(),
            1u);
  EXPECT_TRUE(insertionReplacesBox("r", kBoxRed));
  EXPECT_FALSE(insertionReplacesBox("r", kBoxGreen));
  EXPECT_FALSE(insertionReplacesBox("r+1", kBoxRed));
}

TEST(FindReplace, AcrossBoxesInShownOrderWithOptions) {
  const std::array<std::u16string, 4> texts{u"a", u"src(x,y,z)+X", u"x*2", u"b+max(x,1)"};
  const std::vector<int> shown{kBoxRed, kBoxGreen, kBoxBlue, kBoxAlpha};
  auto starts = [&](std::u16string_view needle, FindOptions options) {
    std::vector<std::pair<int, std::size_t>> got;
    for (const auto& m : findAll(texts, shown, needle, options)) got.emplace_back(m.box, m.start);
    return got;
  };
  using Got = std::vector<std::pair<int, std::size_t>>;
  EXPECT_EQ(starts(u"x", {}), (Got{{1, 4}, {1, 11}, {2, 0}, {3, 4}, {3, 6}}));
  EXPECT_EQ(starts(u"x", {true, false}), (Got{{1, 4}, {2, 0}, {3, 4}, {3, 6}}));
  EXPECT_EQ(starts(u"x", {true, true}), (Got{{1, 4}, {2, 0}, {3, 6}}));
  EXPECT_TRUE(starts(u"", {}).empty());
  // One-box mode searches only what is shown.
  EXPECT_EQ(findAll(texts, {kBoxRed, kBoxAlpha}, u"x", {true, true}).size(), 1u);

  const FindOptions exact{true, true};
  const std::tuple<int, std::size_t, bool, FindMatch> walks[] = {
      {kBoxRed, 5, true, {kBoxGreen, 0, 1}},
      {kBoxBlue, 7, true, {kBoxRed, 4, 1}},
      {kBoxGreen, 0, false, {kBoxRed, 4, 1}},
      {kBoxRed, 4, false, {kBoxBlue, 6, 1}},
      {kBoxRed, 4, true, {kBoxRed, 4, 1}}};
  for (const auto& [box, offset, forward, want] : walks)
    EXPECT_EQ(findNext(texts, shown, u"x", exact, box, offset, forward), want)
        << box << " " << offset << " " << forward;
  EXPECT_FALSE(findNext(texts, shown, u"zz", exact, kBoxRed, 0, true));
}

TEST(Fields, OneBoxModeRecordsTheCFormulaForEveryColour) {
  EditorFields fields = EditorFields::reset();
  fields.boxes = {"a", "rad(d+ctl(0)*(M-m)/M,m,z)", "g/2", "255-b"};
  fields.oneBox = true;
  EXPECT_EQ(gather(fields, {}).formulas,
            (std::array<std::string, 4>{"rad(d+ctl(0)*(M-m)/M,m,z)", "rad(d+ctl(0)*(M-m)/M,m,z)",
                                        "rad(d+ctl(0)*(M-m)/M,m,z)", "a"}));
  fields.oneBox = false;
  EXPECT_EQ(gather(fields, {}).formulas[1], "g/2");
}

}  // namespace
}  // namespace qm::editor
