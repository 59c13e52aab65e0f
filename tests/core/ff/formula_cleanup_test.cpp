#include "core/ff/formula_cleanup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm::ff {
namespace {

struct OptimizeCase {
  std::string input;
  int channel;  // 0..3 = R, G, B, A
  bool noOptimize;
  std::string expected;
};

std::string optimizeIn(const std::string& formula, int channel, bool noOptimize) {
  FFRecord rec;
  rec.formulas[channel] = formula;
  OptimizeCode(rec, noOptimize);
  return rec.formulas[channel];
}

TEST(OptimizeCode, CleansAndShortens) {
  // Inner blanks go only when the scan reaches them, after a rule was tried; a control
  // character that slides into the last place stays.
  // clang-format off
  const OptimizeCase cases[] = {
    {"src(x,y,0)+src(x,y,1)", 0, false, "c+src(x,y,1)"},
    {"src(x,y,0)+src(x,y,1)", 1, false, "src(x,y,0)+c"},
    {"src(x,y,2)*src(x,y,0)", 2, false, "c*src(x,y,0)"},
    {"src(x,y,0)+src(x,y,1)+src(x,y,2)", 3, false, "src(x,y,0)+src(x,y,1)+src(x,y,2)"},
    {"src(x,y,z)-src(x,y,p)", 3, false, "c-c"},
    {"rad(d,m,z)+rad(d,m,p)+rad(d,m,0)", 0, false, "c+c+c"},
    {"rad(d,m,1)/rad(d,m,2)", 1, false, "c/rad(d,m,2)"},
    {"sqr(x*x+y*y)+sqr(m*m+d*d)+sqr(X*X+Y*Y)", 0, false, "c2m(x,y)+c2m(m,d)+c2m(X,Y)"},
    {"(76*r+150*g+29*b)/256", 3, false, "i"},
    {"(76*r + 150*g+29*b)/256", 0, false, "(76*r+150*g+29*b)/256"}, {"  src(x,y,z)", 0, false, "c"},
    {"Src(x,y,z)", 0, false, "Src(x,y,z)"}, {"r + g", 0, false, "r+g"}, {"r + g", 0, true, "r + g"},
    {"r\t+g", 0, true, "r+g"}, {"\t\x01r", 2, false, "r"}, {"T/2", 1, false, "total/2"},
    {"T/2", 1, true, "total/2"}, {"T T", 0, false, "totaltotal"}, {"a\\nb\\rc", 0, true, "abc"},
    {"\\n\\r", 0, false, ""}, {"", 0, false, ""}, {"a\t\t", 0, true, "a\t"},
    {"src(x,y,z)", 0, true, "src(x,y,z)"},
  };
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(optimizeIn(c.input, c.channel, c.noOptimize), c.expected)
        << "'" << c.input << "' channel " << c.channel << (c.noOptimize ? " no-opt" : "");
}

TEST(OptimizeCode, TouchesAllFourFormulasOnly) {
  FFRecord rec;
  rec.title = "T x";
  rec.formulas = {"r + 1", "g + 1", "b + 1", "a + 1"};
  OptimizeCode(rec, false);
  EXPECT_EQ(rec.formulas, (std::array<std::string, 4>{"r+1", "g+1", "b+1", "a+1"}));
  EXPECT_EQ(rec.title, "T x");
}

TEST(Correctprmcode, TranslatesPremiereNames) {
  // The names produced are not translated again.
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {
    {"r+P", "r+Z"}, {"T", "total"}, {"D*2", "512*2"}, {"p", "z"}, {"put(x,0)", "put(x,0)"},
    {"p(1)", "p(1)"}, {"pmax", "Z"}, {"pmin+p", "0+z"}, {"M", "(M/2)"}, {"M/2", "M"},
    {"(M/2)", "M"}, {"M/4", "M/2"}, {"M*M", "(M/2)*(M/2)"}, {"tmax-xmax+xmin", "255-X+0"},
    {"ymax*ymin", "Y*0"}, {"dmax", "D"}, {"mmax", "M"}, {"TD", "total512"},
    {"((56*b-19*r-37*g)/256)+((78*r-65*g-13*g)/256)", "u+v"}, {"mix(a,b,n,d)", "mix(b,a,n,d)"},
    {"mix((r+g),b,n,d)", "mix(b,(r+g),n,d)"},
    {"mix(mix(a,b,n,d),c,n,d)", "mix(c,mix(b,a,n,d),n,d)"}, {"mix(a,b)", "mix(a,b)"},
    {"max(mix(a,b),c)", "max(mix(a,b),c)"}, {"mix(", "mix("}, {"", ""},
  };
  // clang-format on
  for (const auto& [in, out] : cases) EXPECT_EQ(Correctprmcode(in), out) << in;
}

TEST(GetUntill, StopsAtTopLevelDelimiter) {
  using P = std::pair<const char*, const char*>;
  for (auto [in, out] : {P{"a,b", "a"}, P{"(a,b),c", "(a,b)"}, P{"f(g(1,2),3),4", "f(g(1,2),3)"},
                         P{"abc", "abc"}, P{"a),b", "a),b"}, P{",x", ""}, P{"", ""}})
    EXPECT_EQ(GetUntill(in, ','), out) << in;
}

}  // namespace
}  // namespace qm::ff
