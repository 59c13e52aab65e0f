#include "core/plugins/change_category.h"

#include <gtest/gtest.h>

#include "plugin_fixtures.h"
#include "support/scripted_ports.h"

namespace qm::plugins {
namespace {

class ChangeCategory : public ::testing::Test {
 protected:
  void SetUp() override {
    original = fixtures::templatePlugin("Blur", "Soft");
    ASSERT_EQ(original.size(), 57344u);
    test::writeFile(dir / "a.8bf", original);
    test::writeFile(dir / "b.8bf", fixtures::templatePlugin("Blur", "Sharp"));
    test::writeFile(dir / "pipl.8bf", fixtures::piplPlugin({{"Blur", "Other"}}));
    catalogue.scan(dir.path(), {}, PlugTypeTable{}, {}, progress);
    ASSERT_EQ(catalogue.rowCount(), 3u);
  }
  std::string bytesOf(const char* name) { return test::readFile(dir / name); }
  test::TempFolder dir;
  std::string original;
  Catalogue catalogue;
  test::ScriptedProgress progress;
  test::ScriptedPrompter prompter;
};

TEST_F(ChangeCategory, FieldGetsSixteenBitLengthCharactersAndAZero) {
  ASSERT_EQ(ChangeCat_FV(catalogue.row(1), "Noise"), ChangeCatResult::Changed);
  std::string now = bytesOf("a.8bf");
  ASSERT_EQ(now.size(), original.size());
  EXPECT_EQ(now.substr(31062, 7), std::string("\x05Noise\0", 7));
  // Only the length, the characters and the zero differ from before.
  for (std::size_t i = 0; i < now.size(); ++i) {
    if (i < 31062 || i > 31068) {
      ASSERT_EQ(now[i], original[i]) << i;
    }
  }
}

TEST_F(ChangeCategory, EmptyCategoryAndTemplateOffsetsBySize) {
  ASSERT_EQ(ChangeCat_FV(catalogue.row(1), ""), ChangeCatResult::Changed);
  EXPECT_EQ(bytesOf("a.8bf").substr(31062, 3), std::string("\0\0\0", 3));  // a 16-bit length
  for (auto [size, offset] : std::vector<std::pair<std::size_t, std::optional<std::size_t>>>{
           {49152, 23894}, {49664, 34978}, {53760, 30402}, {57344, 31062}, {57345, std::nullopt}})
    EXPECT_EQ(templateCategoryOffset(size), offset) << size;
}

TEST_F(ChangeCategory, RefusalsLeaveFilesAlone) {
  CatalogueRow pipl = catalogue.row(3);
  EXPECT_EQ(ChangeCat_FV(pipl, "Noise"), ChangeCatResult::NotFilterFactory);
  CatalogueRow positioned = catalogue.row(1);
  positioned.categoryPosition = 31064;
  EXPECT_EQ(ChangeCat_FV(positioned, "Noise"), ChangeCatResult::NotFilterFactory);
  EXPECT_EQ(ChangeCat_FV(catalogue.row(1), std::string(35, 'x')), ChangeCatResult::TooLong);
  EXPECT_EQ(ChangeCat_FV(catalogue.row(1), std::string(34, 'x')), ChangeCatResult::Changed);
  EXPECT_EQ(bytesOf("a.8bf")[31062 + 1 + 34], '\0');
  CatalogueRow missing = catalogue.row(1);
  missing.path = dir / "gone.8bf";
  EXPECT_EQ(ChangeCat_FV(missing, "x"), ChangeCatResult::NotFilterFactory);
}

TEST_F(ChangeCategory, DropMovesBothPluginsAndCountsTheFailure) {
  ChangeCategoryRequest request{PaneView::Plugin, {1, 2, 3}, std::string("Noise")};
  auto outcome = cmd_ChangeCategory(request, catalogue, prompter, {});
  EXPECT_EQ(outcome.changedRows, (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(outcome.failures, 1u);
  EXPECT_EQ(catalogue.row(1).category, "Noise");
  EXPECT_EQ(catalogue.row(3).category, "Blur");
  EXPECT_EQ(bytesOf("b.8bf").substr(31062, 7), std::string("\x05Noise\0", 7));
  EXPECT_EQ(prompter.messages.size(), 1u);  // its text is checked end to end
  EXPECT_NE(std::find(catalogue.categories().begin(), catalogue.categories().end(), "Noise"),
            catalogue.categories().end());
}

TEST_F(ChangeCategory, RefusalMessages) {
  struct Case {
    ChangeCategoryRequest request;
    std::string message;
  };
  std::vector<Case> cases = {
      {{PaneView::File, {1}, std::string("Noise")}, "Change Category only works in Plugin View."},
      {{PaneView::Plugin, {}, std::string("Noise")}, "Please select a plugin."},
      {{PaneView::Plugin, {1}, std::string("[Other Plugins]")},
       "[Other Plugins] is only a virtual category!\r\nMoving plugins to this category isn't "
       "possible."},
      {{PaneView::Plugin, {1, 3}, std::string(35, 'L')},
       "A Filter Factory plugin has room for at most 34 letters in its category.\r\nPlease "
       "choose a shorter category."},
  };
  for (const auto& c : cases) {
    test::ScriptedPrompter p;
    p.askAnswers = {Button::Ok};  // the virtual-category box is a question box
    auto outcome = cmd_ChangeCategory(c.request, catalogue, p, {});
    EXPECT_TRUE(outcome.changedRows.empty());
    ASSERT_EQ(p.messages.size(), 1u) << c.message;
    EXPECT_EQ(p.messages[0].text, c.message);
    bool virtualCategory = c.request.dropTarget->front() == '[';
    EXPECT_EQ(p.messages[0].icon, virtualCategory ? Icon::Question : Icon::None);
  }
  EXPECT_EQ(bytesOf("a.8bf"), original);
}

TEST_F(ChangeCategory, DialogAsksAgainForEmptyAndPremiereTexts) {
  prompter.textAnswers = {std::string(""), std::string("[Premiere Video]"), std::string("Fresh")};
  ChangeCategoryRequest request{PaneView::Plugin, {1}, std::nullopt};
  auto outcome = cmd_ChangeCategory(request, catalogue, prompter, {});
  EXPECT_EQ(outcome.newCategory, "Fresh");
  EXPECT_EQ(prompter.textCaptions, (std::vector<std::string>(3, "Choose or enter a new category")));
  EXPECT_EQ(catalogue.row(1).category, "Fresh");
  EXPECT_TRUE(prompter.messages.empty());
  test::ScriptedPrompter cancelling;
  cancelling.textAnswers = {std::nullopt};
  auto cancelled = cmd_ChangeCategory(request, catalogue, cancelling, {});
  EXPECT_TRUE(cancelled.newCategory.empty());
  EXPECT_EQ(changeCategoryChoices(catalogue), (std::vector<std::string>{"Blur", "Fresh"}));
}

}  // namespace
}  // namespace qm::plugins
