#include "core/formula/parser.h"

#include <gtest/gtest.h>

#include <string>

#include "core/formula/compiler.h"
#include "formula_helpers.h"

namespace qm::formula::testing {
namespace {

struct BadFormula {
  std::string text;
  std::size_t position;
  std::string message;
};

class SyntaxErrors : public ::testing::TestWithParam<BadFormula> {};

TEST_P(SyntaxErrors, CarryPositionAndMessage) {
  auto tree = parseFormula(GetParam().text);
  ASSERT_FALSE(tree.has_value()) << GetParam().text;
  EXPECT_EQ(tree.error().position, GetParam().position) << GetParam().text;
  EXPECT_EQ(tree.error().message, GetParam().message) << GetParam().text;
}

// clang-format off
const BadFormula kBadFormulas[] = {
    {"r+", 2, "unexpected end of formula"}, {"r + foo", 4, "unknown name 'foo'"},
    {"pow(2,3)", 0, "unknown name 'pow'"}, {"Src(x,y,z)", 0, "unknown name 'Src'"},
    {"(r+g", 4, "expected ')'"}, {"r+g)", 3, "unmatched ')'"}, {"r g", 2, "expected an operator"},
    {"2x", 1, "expected an operator"}, {"r ? g", 5, "expected ':'"},
    {"r # g", 2, "unexpected character '#'"}, {"src(1,2)", 0, "'src' takes 3 arguments"},
    {"abs(1,2)", 0, "'abs' takes 1 argument"}, {"  sin", 2, "expected '(' after 'sin'"},
    {"r(1)", 0, "'r' is not a function"}, {"R_1", 1, "unexpected character '_'"},
    {"*3", 0, "expected a value"}, {"max(1,)", 6, "expected a value"},
    {"r\n// note\n+*g", 11, "expected a value"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Table, SyntaxErrors, ::testing::ValuesIn(kBadFormulas));

TEST(Parser, EmptyFormulaIsEmptyTree) {
  auto tree = parseFormula("  // nothing\r\n ");
  ASSERT_TRUE(tree.has_value());
  EXPECT_EQ(tree->root, -1);
}

TEST(Parser, PrecedenceAndShiftAreSwitches) {
  LanguageOptions c;
  c.cPrecedence = true;
  c.arithmeticShift = true;
  FilterSetup setup{1, 1, 3, {}, c};
  Picture in = uniform(1, 1, {0, 0, 0, 0}, 3);
  auto program = compileFilter({"1|2&4", "1||0&&0", "(1^3&1)+(-16>>2)+10", ""}, setup);
  ASSERT_TRUE(program);
  Picture out = in;
  render(*program, in.view(), out.mutableView());
  EXPECT_EQ(out.bytes, (std::vector<std::uint8_t>{1, 1, 6}));
}

TEST(Parser, DeepNestingIsRefusedNotFatal) {
  for (const std::string open : {"(", "-", "abs(", "1?2:"}) {
    std::string text;
    for (int i = 0; i < 5000; ++i) text += open;
    text += "1";
    auto tree = parseFormula(text);
    ASSERT_FALSE(tree.has_value()) << open;
    EXPECT_EQ(tree.error().message, "formula nested too deeply") << open;
  }
  EXPECT_EQ(valueOf(std::string(50, '(') + "7" + std::string(50, ')')), 7);
}

TEST(Parser, LongChainsNeedNoDeepStack) {
  std::string sum = "0";
  for (int i = 0; i < 3000; ++i) sum += "+1";  // 6001 characters
  EXPECT_EQ(valueOf(sum), 3000);
  std::string seq = "r";
  while (seq.size() < 10000) seq += ",put(x,1)";
  seq += ",get(1)";
  EXPECT_EQ(valueOf(seq), 0);
}

TEST(Compiler, ReportsTheChannelOfTheFirstError) {
  FilterSetup setup{4, 4, 4, {}, {}};
  auto program = compileFilter({"r", "g", "b+", "a"}, setup);
  ASSERT_FALSE(program);
  EXPECT_EQ(program.error().channel, 2);
  EXPECT_EQ(program.error().error.position, 2u);
}

TEST(Compiler, AlphaFormulaIsIgnoredWithoutAlpha) {
  FilterSetup rgb{4, 4, 3, {}, {}};
  EXPECT_TRUE(compileFilter({"r", "g", "b", "this is (not a formula"}, rgb).has_value());
  EXPECT_FALSE(checkFilter({"r", "g", "b", "(("}, 3).has_value());
  EXPECT_TRUE(checkFilter({"r", "g", "b", "(("}, 4).has_value());
}

TEST(Compiler, FoldsConstantsAndDropsNeutralAndUnusedPureWork) {
  FilterSetup setup{10, 10, 3, {200, 100}, {}};
  for (std::array<std::string, 4> f :
       {std::array<std::string, 4>{"ctl(0)*2+val(1,0,255)+cos(0)+X", "0?sin(x):g", "b", ""},
        {"((r+0)*1/1-0<<32)|0^0", "0+g>>64", "b*1+0", ""}}) {
    auto program = compileFilter(f, setup);
    ASSERT_TRUE(program);
    // The three stores alone; the untaken sin(x) is pure and gone.
    EXPECT_EQ(program->code.size(), 3u) << f[0];
    EXPECT_FALSE(program->usesState);
  }
  Picture in = uniform(10, 10, {7, 8, 9, 0}, 3);
  EXPECT_EQ(applyFilter({"((r+0)*1/1-0<<32)|0^0", "0+g>>64", "b*1+0", ""}, in)[0], 7);
}

}  // namespace
}  // namespace qm::formula::testing
