#include "core/plugins/enable_disable.h"

#include <gtest/gtest.h>

#include "plugin_fixtures.h"
#include "support/scripted_ports.h"

namespace qm::plugins {
namespace {

PlugTypeTable lightwave() {
  return makeTypeTable({{"Lightwave Plugin (p|3)", true}, {"PS Export Plugin (8be|1)", true}});
}

TEST(ToggledName, EveryRuleOfTheTable) {
  struct Case {
    const char* from;
    std::optional<std::string> fileView;
    std::optional<std::string> pluginView;
  };
  // clang-format off
  const std::vector<Case> cases = {
      {"Blur.8bf", "Blur._bf", "Blur._bf"}, {"Blur.8BF", "Blur._bf", "Blur._bf"},
      {"Blur._bf", "Blur.8bf", "Blur.8bf"}, {"Blur_8bf", "Blur.8bf", "Blur.8bf"},
      {"Blur.8b-", "Blur.8bf", "Blur.8bf"}, {"Fx.prm", "Fx_prm", "Fx_prm"},
      {"Fx.PRM", "Fx_prm", "Fx_PRM"}, {"Fx_prm", "Fx.prm", "Fx.prm"},
      {"Fx_PRM", "Fx.prm", "Fx.PRM"}, {"Fx._rm", "Fx.prm", "Fx.prm"},
      {"Fx.pr-", "Fx.prm", "Fx.prm"}, {"Ae.aex", "Ae_aex", "Ae_aex"},
      {"Ae._ex", "Ae.aex", "Ae.aex"}, {"Ae_aex", "Ae.aex", "Ae.aex"},
      {"model.p", "model_p", "model_p"}, {"model_p", "model.p", "model.p"},
      {"model.P", "model_p", "model_P"}, {"x.8BE", "x_8be", "x_8BE"},
      {"notes.doc", std::nullopt, std::nullopt}, {"prm", std::nullopt, std::nullopt},
  };
  // clang-format on
  PlugTypeTable table = lightwave();
  for (const auto& c : cases) {
    EXPECT_EQ(toggledName(c.from, table, false), c.fileView) << c.from;
    EXPECT_EQ(toggledName(c.from, table, true), c.pluginView) << c.from;
  }
}

TEST(ToggledName, PrefixStateFollowsTheNewName) {
  PlugTypeTable table = lightwave();
  EXPECT_TRUE(isEnabledName("a.8bf", table));
  EXPECT_TRUE(isEnabledName("a.p", table));
  EXPECT_FALSE(isEnabledName("a._bf", table));
  EXPECT_FALSE(isEnabledName("a_p", table));
  EXPECT_EQ(withStatePrefix("+ Blur", false), "- Blur");
  EXPECT_EQ(withStatePrefix("- Blur", true), "+ Blur");
}

TEST(EnableDisable, FileViewRenamesOnDiskAndSkipsOtherFiles) {
  test::TempFolder dir;
  test::writeFile(dir / "Blur.8bf", "a");
  test::writeFile(dir / "Fx.pr-", "b");
  test::writeFile(dir / "notes.doc", "c");
  test::ScriptedPrompter prompter;
  std::vector<std::filesystem::path> files = {dir / "Blur.8bf", dir / "notes.doc", dir / "Fx.pr-"};
  auto outcome = cmd_EnableDisable(PaneView::File, files, {}, nullptr, lightwave(), prompter);
  EXPECT_FALSE(outcome.failed);
  ASSERT_EQ(outcome.renamed.size(), 2u);
  EXPECT_EQ(outcome.renamed[0].to, dir / "Blur._bf");
  EXPECT_EQ(test::readFile(dir / "Blur._bf"), "a");
  EXPECT_EQ(test::readFile(dir / "Fx.prm"), "b");
  EXPECT_TRUE(std::filesystem::exists(dir / "notes.doc"));
  EXPECT_TRUE(prompter.messages.empty());
}

TEST(EnableDisable, ExistingTargetIsNeverOverwrittenAndEndsTheCommand) {
  test::TempFolder dir;
  test::writeFile(dir / "Blur.8bf", "enabled");
  test::writeFile(dir / "Blur._bf", "disabled");
  test::writeFile(dir / "Z.8bf", "z");
  test::ScriptedPrompter prompter;
  std::vector<std::filesystem::path> files = {dir / "Blur.8bf", dir / "Z.8bf"};
  auto outcome = cmd_EnableDisable(PaneView::File, files, {}, nullptr, lightwave(), prompter);
  EXPECT_TRUE(outcome.failed);
  EXPECT_TRUE(outcome.renamed.empty());
  EXPECT_EQ(test::readFile(dir / "Blur._bf"), "disabled");
  EXPECT_EQ(test::readFile(dir / "Blur.8bf"), "enabled");
  EXPECT_TRUE(std::filesystem::exists(dir / "Z.8bf"));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            "The file Blur._bf already exists, so Blur.8bf was not renamed.");
}

TEST(EnableDisable, PluginViewRenamesAMultiFilterFileOnce) {
  test::TempFolder dir;
  test::writeFile(dir / "Multi.8bf",
                  fixtures::piplPlugin({{"A", "One"}, {"A", "Two"}, {"B", "Three"}}));
  Catalogue catalogue;
  test::ScriptedProgress progress;
  catalogue.scan(dir.path(), {}, PlugTypeTable{}, {}, progress);
  ASSERT_EQ(catalogue.rowCount(), 3u);
  test::ScriptedPrompter prompter;
  std::vector<std::size_t> rows = {1, 2, 3};
  auto outcome =
      cmd_EnableDisable(PaneView::Plugin, {}, rows, &catalogue, PlugTypeTable{}, prompter);
  ASSERT_EQ(outcome.renamed.size(), 1u);
  for (const auto& r : catalogue.rows()) EXPECT_EQ(r.path, dir / "Multi._bf");
  EXPECT_TRUE(std::filesystem::exists(dir / "Multi._bf"));
}

TEST(EnableDisable, ViewRefusals) {
  for (auto [view, text] :
       {std::pair{PaneView::Ffl, "En/Disable doesn't work in the FFL View."},
        std::pair{PaneView::File, "Enabling and disabling of this file type is not possible."}}) {
    test::ScriptedPrompter prompter;
    cmd_EnableDisable(view, {}, {}, nullptr, PlugTypeTable{}, prompter);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, text);
  }
}

}  // namespace
}  // namespace qm::plugins
