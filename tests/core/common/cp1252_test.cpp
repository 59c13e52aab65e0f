#include "core/common/cp1252.h"

#include <gtest/gtest.h>

#include "core/common/byte_view.h"

namespace qm {
namespace {

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(Cp1252, HighCharactersBecomeTheirUnicodeLetters) {
  EXPECT_EQ(cp1252ToUtf8("\x80"), "\u20AC");
  EXPECT_EQ(cp1252ToUtf8("caf\xE9"), "caf\u00E9");
  EXPECT_EQ(utf8ToCp1252("\u2122"), "\x99");
}

TEST(Cp1252, UnmappableAndBrokenUtf8NeverFail) {
  EXPECT_EQ(utf8ToCp1252("\u4E2D"), "?");
  EXPECT_EQ(utf8ToCp1252("a\xC3"), "a\xC3");  // cut sequence
  EXPECT_EQ(utf8ToCp1252("\xE9x"), "\xE9x");  // lone lead byte
}

TEST(ByteView, ReadsPastTheEndYieldNothing) {
  const std::uint8_t bytes[] = {1, 2, 3, 4, 5};
  ByteView v(bytes, sizeof bytes);
  EXPECT_EQ(v.u32le(1), 0x05040302u);
  EXPECT_FALSE(v.u32le(2).has_value());
  EXPECT_FALSE(v.u8(SIZE_MAX).has_value());
  EXPECT_EQ(v.sub(3, 100).size(), 2u);
  EXPECT_TRUE(v.sub(9).empty());
  EXPECT_EQ(v.u16be(0), 0x0102);
}

TEST(ByteView, FindAndMatch) {
  const std::string s = "xxrsrcyy";
  ByteView v(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
  EXPECT_EQ(v.find("rsrc"), 2u);
  EXPECT_FALSE(v.find("rsrc", 3).has_value());
  EXPECT_FALSE(v.matches(6, "yyy"));
}

}  // namespace
}  // namespace qm
