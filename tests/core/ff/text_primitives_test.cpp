#include "core/ff/text_primitives.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/view_of.h"

namespace qm::ff {
namespace {

using test::viewOf;

struct FieldCase {
  std::string bytes;
  std::size_t offset;
  std::string plain;    // bytes2string2
  std::string formula;  // bytes2string
};

TEST(FieldReaders, NulCrAndComments) {
  using namespace std::string_literals;
  // A comment that meets a NUL or the end stops the whole formula text.
  // clang-format off
  const FieldCase cases[] = {
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

  std::vector<std::uint8_t> raw(4, 0xAA);
  string2bytes_w0(raw, "ab", 1);
  EXPECT_EQ(raw, (std::vector<std::uint8_t>{0xAA, 'a', 'b', 0xAA}));

  // Too long for the buffer: stops at its end instead of overrunning it.
  std::vector<std::uint8_t> tight(3, 0xAA);
  string2bytes(tight, "wxyz", 1);
  EXPECT_EQ(tight, (std::vector<std::uint8_t>{0xAA, 'w', 'x'}));
  string2bytes(tight, "q", 7);
  EXPECT_EQ(tight.size(), 3u);
}

}  // namespace
}  // namespace qm::ff
