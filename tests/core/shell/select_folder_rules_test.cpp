#include "core/shell/select_folder_rules.h"

#include <gtest/gtest.h>

namespace qm::shell {
namespace {

using Entries = std::vector<std::string>;

TEST(SelectFolderEntries, SamePanesGiveTheFolderOnceAfterThePreset) {
  auto entries = selectFolderEntries("/drop", "/plug/", "/plug", {"/a/", "/plug"});
  EXPECT_EQ(entries, (Entries{"/drop/", "/plug/", "/a/", "/plug/"}));
}

TEST(SelectFolderEntries, PassiveComesBeforeActiveAndNoPresetMeansNoEntry) {
  auto entries = selectFolderEntries({}, "/right", "/left", {});
  EXPECT_EQ(entries, (Entries{"/right/", "/left/"}));
}

TEST(SelectFolderText, SeparatorIsAddedBeforeBlanksAreTrimmed) {
  EXPECT_EQ(cleanFolderText("/tmp/new"), "/tmp/new/");
  EXPECT_EQ(cleanFolderText("  /tmp/new/"), "/tmp/new/");
  // The separator goes after the trailing blank, which then stays inside the name.
  EXPECT_EQ(cleanFolderText("/tmp/new "), "/tmp/new /");
  EXPECT_EQ(cleanFolderText("   "), "/");
}

}  // namespace
}  // namespace qm::shell
