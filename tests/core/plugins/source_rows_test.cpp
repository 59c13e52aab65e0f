#include <gtest/gtest.h>

#include "core/plugins/catalogue.h"
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
  const auto& row = catalogue.row(1);
  EXPECT_EQ(std::tie(row.category, row.title, row.categoryPosition),
            std::make_tuple("Distort", "Waves (.afs)", 0));
  std::vector<std::string> selected = {"Distort"};
  EXPECT_EQ(catalogue.filterEntries(selected, false, PlugTypeTable{}),
            (std::vector<FilterEntry>{{"Waves (.afs)", 1}}));
}

}  // namespace
}  // namespace qm::plugins
