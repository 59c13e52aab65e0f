// Text and byte helpers every reader and writer uses: Windows-1252 text, bounded byte reads
// and file names that stay inside their folder.

#include <gtest/gtest.h>

#include "core/common/byte_view.h"
#include "core/common/cp1252.h"
#include "core/common/safe_name.h"

namespace qm {
namespace {

TEST(Cp1252, EveryByteSurvivesARoundTripAndHighCharactersBecomeTheirLetters) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
  EXPECT_EQ(cp1252ToUtf8("\x80"), "\u20AC");
  EXPECT_EQ(cp1252ToUtf8("caf\xE9"), "caf\u00E9");
  EXPECT_EQ(utf8ToCp1252("\u2122"), "\x99");
}

TEST(Cp1252, UnmappableAndBrokenUtf8NeverFail) {
  EXPECT_EQ(utf8ToCp1252("\u4E2D"), "?");
  EXPECT_EQ(utf8ToCp1252("a\xC3"), "a\xC3");  // cut sequence
  EXPECT_EQ(utf8ToCp1252("\xE9x"), "\xE9x");  // lone lead byte
}

TEST(ByteView, ReadsPastTheEndYieldNothingAndFindStaysInside) {
  const std::uint8_t bytes[] = {1, 2, 3, 4, 5};
  ByteView v(bytes, sizeof bytes);
  EXPECT_EQ(v.u32le(1), 0x05040302u);
  EXPECT_FALSE(v.u32le(2).has_value());
  EXPECT_FALSE(v.u8(SIZE_MAX).has_value());
  EXPECT_EQ(v.sub(3, 100).size(), 2u);
  EXPECT_TRUE(v.sub(9).empty());
  EXPECT_EQ(v.u16be(0), 0x0102);
  const std::string s = "xxrsrcyy";
  ByteView t(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
  EXPECT_EQ(t.find("rsrc"), 2u);
  EXPECT_FALSE(t.find("rsrc", 3).has_value());
  EXPECT_FALSE(t.matches(6, "yyy"));
}

TEST(PlainFileName, HostileNamesStayInsideTheFolder) {
  EXPECT_EQ(plainFileName("../../etc/passwd"), "passwd");
  EXPECT_EQ(plainFileName("C:\\Windows\\evil.8bf"), "evil.8bf");
  EXPECT_EQ(plainFileName("/abs/path.afs"), "path.afs");
  EXPECT_EQ(plainFileName(std::string_view("a\0b.txt", 7)), "ab.txt");
  EXPECT_EQ(plainFileName(""), "_");
  EXPECT_EQ(plainFileName(".."), "_..");
  EXPECT_EQ(plainFileName("dir/."), "_.");
  EXPECT_EQ(plainFileName("dir/"), "_");
  auto p = pathInFolder("/out", "caf\xE9/../x\\Twirl\xE9.afs");
  EXPECT_EQ(p, std::filesystem::path("/out/Twirl\u00E9.afs"));
  EXPECT_EQ(p.parent_path(), std::filesystem::path("/out"));
}

}  // namespace
}  // namespace qm
