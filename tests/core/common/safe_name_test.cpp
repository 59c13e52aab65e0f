#include "core/common/safe_name.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(PlainFileName, HostileNamesStayInsideTheFolder) {
  EXPECT_EQ(plainFileName("../../etc/passwd"), "passwd");
  EXPECT_EQ(plainFileName("C:\\Windows\\evil.8bf"), "evil.8bf");
  EXPECT_EQ(plainFileName("/abs/path.afs"), "path.afs");
  EXPECT_EQ(plainFileName(std::string_view("a\0b.txt", 7)), "ab.txt");
  EXPECT_EQ(plainFileName(""), "_");
  EXPECT_EQ(plainFileName(".."), "_..");
  EXPECT_EQ(plainFileName("dir/."), "_.");
  EXPECT_EQ(plainFileName("dir/"), "_");
}

TEST(PlainFileName, PathInFolderConvertsTheName) {
  auto p = pathInFolder("/out", "caf\xE9/../x\\Twirl\xE9.afs");
  EXPECT_EQ(p, std::filesystem::path("/out/Twirl\u00E9.afs"));
  EXPECT_EQ(p.parent_path(), std::filesystem::path("/out"));
}

}  // namespace
}  // namespace qm
