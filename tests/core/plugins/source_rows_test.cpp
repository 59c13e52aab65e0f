#include <gtest/gtest.h>

#include "core/ff/sources.h"
#include "core/plugins/catalogue.h"
#include "core/plugins/change_category.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace qm::plugins {
namespace {

std::string afs(const std::string& category, const std::string& title) {
  return "%RGB-1.0\r0\r0\r0\r0\r0\r0\r0\r0\rr\r\rg\r\rb\r\ra\r\r" + category + "\r\r" + title +
         "\r\rMe\r\r(c)\r\r";
}

TEST(SourceRows, OnlyWithTheSourcesOptionWithTheirSuffixAndChangeableCategory) {
  test::TempFolder dir;
  test::writeFile(dir / "wave.afs", afs("Distort", "Waves"));
  Catalogue catalogue;
  test::ScriptedProgress progress;
  catalogue.scan(dir.path(), {}, PlugTypeTable{}, {}, progress);
  EXPECT_EQ(catalogue.rowCount(), 0u);
  catalogue.scan(dir.path(), {.includeSources = true}, PlugTypeTable{}, {}, progress);
  ASSERT_EQ(catalogue.rowCount(), 1u);
  EXPECT_EQ(catalogue.row(1).category, "Distort");
  EXPECT_EQ(catalogue.row(1).title, "Waves (.afs)");
  EXPECT_EQ(catalogue.row(1).categoryPosition, 0);
  std::vector<std::string> selected = {"Distort"};
  EXPECT_EQ(catalogue.filterEntries(selected, false, PlugTypeTable{}),
            (std::vector<FilterEntry>{{"Waves (.afs)", 1}}));

  // Change Category rewrites the source in place.
  test::ScriptedPrompter prompter;
  ChangeCategoryRequest request{PaneView::Plugin, {1}, std::string("Liquid")};
  auto outcome = cmd_ChangeCategory(request, catalogue, prompter, {});
  EXPECT_EQ(outcome.changedRows, (std::vector<std::size_t>{1}));
  ff::FFRecord record;
  ASSERT_TRUE(ff::ReadAFS(dir / "wave.afs", record, {}));
  EXPECT_EQ(record.category, "Liquid");
  EXPECT_EQ(record.title, "Waves");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace qm::plugins
