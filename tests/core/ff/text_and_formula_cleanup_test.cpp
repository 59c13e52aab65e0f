// The text primitives the readers and writers share, and the clean-up of formulas after reading.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ff/formula_cleanup.h"
#include "core/ff/text_primitives.h"
#include "support/ff_plugin_bytes.h"

namespace qm::ff {
namespace {

using namespace std::string_literals;
using test::viewOf;

TEST(FieldReaders, NulCrAndComments) {
  // A comment that meets a NUL or the end stops the whole formula text.
  const struct {
    std::string bytes;
    std::size_t offset;
    std::string plain, formula;  // bytes2string2, bytes2string
  } cases[] = {
      // clang-format off
      {"x//note\r\n+1\0z"s, 0, "x//note+1", "x+1"}, {"a/b\0"s, 0, "a/b", "a/b"},
      {"\0abc\0def"s, 0, "\0abc"s, "\0abc"s}, {"r\r\ng\rb"s, 0, "rgb", "rgb"},
      {"r\n\rg"s, 0, "r\ng", "r\ng"}, {"..abc\0"s, 2, "abc", "abc"}, {"abc"s, 9, "", ""},
      {"a//x\0bc"s, 0, "a//x", "a"}, {"a//xyz"s, 0, "a//xyz", "a"}, {"a/"s, 0, "a/", "a/"},
      {"a//\rb//\r"s, 0, "a//b//", "ab"}, {"/\0"s, 0, "/", "/"},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(bytes2string2(viewOf(c.bytes), c.offset), c.plain) << c.bytes;
    EXPECT_EQ(bytes2string(viewOf(c.bytes), c.offset), c.formula) << c.bytes;
  }
}

TEST(FieldWriters, TerminatorAndBufferEnd) {
  std::vector<std::uint8_t> buf(6, 0xAA);
  string2bytes(buf, "abc", 1);
  EXPECT_EQ(buf, (std::vector<std::uint8_t>{0xAA, 'a', 'b', 'c', 0, 0xAA}));
  string2bytes_w0(buf, "xy", 3);
  EXPECT_EQ(buf, (std::vector<std::uint8_t>{0xAA, 'a', 'b', 'x', 'y', 0xAA}));
  // Too long for the buffer: stops at its end instead of overrunning it.
  std::vector<std::uint8_t> tight(3, 0xAA);
  string2bytes(tight, "wxyz", 1);
  EXPECT_EQ(tight, (std::vector<std::uint8_t>{0xAA, 'w', 'x'}));
  string2bytes(tight, "q", 7);
  EXPECT_EQ(tight.size(), 3u);
}

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
  const struct {
    std::string input;
    int channel;  // 0..3 = R, G, B, A
    bool noOptimize;
    std::string expected;
  } cases[] = {
    {"src(x,y,0)+src(x,y,1)", 0, false, "c+src(x,y,1)"}, {"src(x,y,z)-src(x,y,p)", 3, false, "c-c"},
    {"src(x,y,0)+src(x,y,1)", 1, false, "src(x,y,0)+c"}, {"T/2", 1, true, "total/2"},
    {"src(x,y,2)*src(x,y,0)", 2, false, "c*src(x,y,0)"}, {"(76*r+150*g+29*b)/256", 3, false, "i"},
    {"rad(d,m,1)/rad(d,m,2)", 1, false, "c/rad(d,m,2)"},
    {"rad(d,m,z)+rad(d,m,p)+rad(d,m,0)", 0, false, "c+c+c"},
    {"src(x,y,0)+src(x,y,1)+src(x,y,2)", 3, false, "src(x,y,0)+src(x,y,1)+src(x,y,2)"},
    {"sqr(x*x+y*y)+sqr(m*m+d*d)+sqr(X*X+Y*Y)", 0, false, "c2m(x,y)+c2m(m,d)+c2m(X,Y)"},
    {"(76*r + 150*g+29*b)/256", 0, false, "(76*r+150*g+29*b)/256"}, {"  src(x,y,z)", 0, false, "c"},
    {"Src(x,y,z)", 0, false, "Src(x,y,z)"}, {"r + g", 0, false, "r+g"}, {"r + g", 0, true, "r + g"},
    {"r\t+g", 0, true, "r+g"}, {"\t\x01r", 2, false, "r"}, {"T/2", 1, false, "total/2"},
    {"T T", 0, false, "totaltotal"}, {"a\\nb\\rc", 0, true, "abc"}, {"\\n\\r", 0, false, ""},
    {"a\t\t", 0, true, "a\t"}, {"src(x,y,z)", 0, true, "src(x,y,z)"}, {"", 0, false, ""},
  };
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(optimizeIn(c.input, c.channel, c.noOptimize), c.expected)
        << "'" << c.input << "' channel " << c.channel << (c.noOptimize ? " no-opt" : "");
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

}  // namespace
}  // namespace qm::ff
