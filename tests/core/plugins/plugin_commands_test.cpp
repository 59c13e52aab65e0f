// The Plugin menu's commands on files and catalogue rows: Change Category, En/Disable,
// Plugin List and Plugin Information.

#include <gtest/gtest.h>

#include "core/plugins/change_category.h"
#include "core/plugins/enable_disable.h"
#include "core/plugins/plugin_info.h"
#include "core/plugins/plugin_list.h"
#include "plugin_fixtures.h"
#include "support/scripted_ports.h"

namespace qm::plugins {
namespace {

namespace fs = std::filesystem;

class PluginFolder : public ::testing::Test {
 protected:
  void scan() { catalogue.scan(dir.path(), {}, PlugTypeTable{}, {}, progress); }
  std::string bytesOf(const char* name) { return test::readFile(dir / name); }
  test::TempFolder dir;
  Catalogue catalogue;
  test::ScriptedProgress progress;
  test::ScriptedPrompter prompter;
};

class ChangeCategory : public PluginFolder {
 protected:
  void SetUp() override {
    original = fixtures::templatePlugin("Blur", "Soft");
    ASSERT_EQ(original.size(), 57344u);
    test::writeFile(dir / "a.8bf", original);
    test::writeFile(dir / "b.8bf", fixtures::templatePlugin("Blur", "Sharp"));
    test::writeFile(dir / "pipl.8bf", fixtures::piplPlugin({{"Blur", "Other"}}));
    scan();
    ASSERT_EQ(catalogue.rowCount(), 3u);
  }
  std::string original;
};

TEST_F(ChangeCategory, FieldGetsSixteenBitLengthCharactersAndAZero) {
  ASSERT_EQ(ChangeCat_FV(catalogue.row(1), "Noise"), ChangeCatResult::Changed);
  // Only the length, the characters and the zero differ from before.
  std::string expected = original;
  expected.replace(31062, 7, std::string("\x05Noise\0", 7));
  EXPECT_TRUE(bytesOf("a.8bf") == expected);
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

TEST_F(ChangeCategory, DropMovesBothPluginsAndCountsTheFailures) {
  ChangeCategoryRequest request{PaneView::Plugin, {1, 2, 3}, std::string("Noise"), {"Blur More"}};
  auto outcome = cmd_ChangeCategory(request, catalogue, prompter, {});
  EXPECT_EQ(outcome.changedRows, (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(outcome.failures, 2u);
  EXPECT_EQ(catalogue.row(1).category, "Noise");
  EXPECT_EQ(catalogue.row(3).category, "Blur");
  EXPECT_EQ(bytesOf("b.8bf").substr(31062, 7), std::string("\x05Noise\0", 7));
  ASSERT_EQ(prompter.messages.size(), 1u);  // the file's line is checked end to end
  EXPECT_TRUE(prompter.messages[0].text.starts_with(
      "Changing the category didn't work for 2 plugin(s).\r\nBlur More: built into the host "
      "application, it has no file\r\n"));
  EXPECT_EQ(changeCategoryChoices(catalogue), (std::vector<std::string>{"Blur", "Noise"}));
  // Blur's last filter moving out takes Blur off the list.
  catalogue.setCategory(3, "Noise");
  EXPECT_EQ(catalogue.categories(), std::vector<std::string>{"Noise"});
}

TEST_F(ChangeCategory, RefusalMessages) {
  struct Case {
    ChangeCategoryRequest request;
    std::string message;
  };
  std::vector<Case> cases = {
      {{PaneView::File, {1}, std::string("Noise"), {}},
       "Change Category only works in Plugin View."},
      {{PaneView::Plugin, {}, std::string("Noise"), {}}, "Please select a plugin."},
      {{PaneView::Plugin, {1}, std::string("[Other Plugins]"), {}},
       "[Other Plugins] is only a virtual category!\r\nMoving plugins to this category isn't "
       "possible."},
      {{PaneView::Plugin, {1, 3}, std::string(35, 'L'), {}},
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
  ChangeCategoryRequest request{PaneView::Plugin, {1}, std::nullopt, {}};
  auto outcome = cmd_ChangeCategory(request, catalogue, prompter, {});
  EXPECT_EQ(outcome.newCategory, "Fresh");
  EXPECT_EQ(prompter.textCaptions, (std::vector<std::string>(3, "Choose or enter a new category")));
  EXPECT_EQ(catalogue.row(1).category, "Fresh");
  EXPECT_TRUE(prompter.messages.empty());
  test::ScriptedPrompter cancelling;
  cancelling.textAnswers = {std::nullopt};
  EXPECT_TRUE(cmd_ChangeCategory(request, catalogue, cancelling, {}).newCategory.empty());
  EXPECT_EQ(changeCategoryChoices(catalogue), (std::vector<std::string>{"Blur", "Fresh"}));
}

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
  EXPECT_TRUE(isEnabledName("a.8bf", table));
  EXPECT_TRUE(isEnabledName("a.p", table));
  EXPECT_FALSE(isEnabledName("a._bf", table));
  EXPECT_FALSE(isEnabledName("a_p", table));
  EXPECT_EQ(withStatePrefix("+ Blur", false), "- Blur");
  EXPECT_EQ(withStatePrefix("- Blur", true), "+ Blur");
}

TEST_F(PluginFolder, EnableDisableInFileViewRenamesOnDiskAndSkipsOtherFiles) {
  test::writeFile(dir / "Blur.8bf", "a");
  test::writeFile(dir / "Fx.pr-", "b");
  test::writeFile(dir / "notes.doc", "c");
  std::vector<fs::path> files = {dir / "Blur.8bf", dir / "notes.doc", dir / "Fx.pr-"};
  auto outcome = cmd_EnableDisable(PaneView::File, files, {}, nullptr, lightwave(), prompter);
  EXPECT_FALSE(outcome.failed);
  ASSERT_EQ(outcome.renamed.size(), 2u);
  EXPECT_EQ(outcome.renamed[0].to, dir / "Blur._bf");
  EXPECT_EQ(bytesOf("Blur._bf"), "a");
  EXPECT_EQ(bytesOf("Fx.prm"), "b");
  EXPECT_TRUE(fs::exists(dir / "notes.doc"));
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(PluginFolder, EnableDisableNeverOverwritesAnExistingTargetAndStops) {
  test::writeFile(dir / "Blur.8bf", "enabled");
  test::writeFile(dir / "Blur._bf", "disabled");
  test::writeFile(dir / "Z.8bf", "z");
  std::vector<fs::path> files = {dir / "Blur.8bf", dir / "Z.8bf"};
  auto outcome = cmd_EnableDisable(PaneView::File, files, {}, nullptr, lightwave(), prompter);
  EXPECT_TRUE(outcome.failed);
  EXPECT_TRUE(outcome.renamed.empty());
  EXPECT_EQ(bytesOf("Blur._bf"), "disabled");
  EXPECT_EQ(bytesOf("Blur.8bf"), "enabled");
  EXPECT_TRUE(fs::exists(dir / "Z.8bf"));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            "The file Blur._bf already exists, so Blur.8bf was not renamed.");
}

TEST_F(PluginFolder, EnableDisableInPluginViewRenamesAMultiFilterFileOnce) {
  test::writeFile(dir / "Multi.8bf",
                  fixtures::piplPlugin({{"A", "One"}, {"A", "Two"}, {"B", "Three"}}));
  scan();
  ASSERT_EQ(catalogue.rowCount(), 3u);
  std::vector<std::size_t> rows = {1, 2, 3};
  auto outcome =
      cmd_EnableDisable(PaneView::Plugin, {}, rows, &catalogue, PlugTypeTable{}, prompter);
  ASSERT_EQ(outcome.renamed.size(), 1u);
  for (const auto& r : catalogue.rows()) EXPECT_EQ(r.path, dir / "Multi._bf");
  EXPECT_TRUE(fs::exists(dir / "Multi._bf"));
  for (auto [view, text] :
       {std::pair{PaneView::Ffl, "En/Disable doesn't work in the FFL View."},
        std::pair{PaneView::File, "Enabling and disabling of this file type is not possible."}}) {
    test::ScriptedPrompter p;
    cmd_EnableDisable(view, {}, {}, nullptr, PlugTypeTable{}, p);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, text);
  }
}

class FakeClipboard final : public ClipboardPort {
 public:
  void clear() override {
    cleared = true;
    text.reset();
  }
  void setText(std::string_view t) override { text = std::string(t); }
  bool cleared = false;
  std::optional<std::string> text;
};

const ListItem kWave{"Distort", "Wave...", "Wave.8bf", "Ann", "(c) 1999"};
const ListItem kBlur{"Blur", "soft", "Soft.8bf", "", ""};

TEST(PluginListLines, TextPartsFollowTheBoxesCsvDropsTrailingDotsAndSorting) {
  EXPECT_EQ(textLine(kWave, {}), "Distort: Wave...\r\n");
  EXPECT_EQ(textLine(kWave, {true, true, true, true, true}),
            "Distort: Wave... (Wave.8bf) by Ann, (c) 1999\r\n");
  EXPECT_EQ(textLine(kBlur, {false, true, false, true, true}), "soft\r\n");
  EXPECT_EQ(textLine(kBlur, {false, false, true, false, false}), " (Soft.8bf)\r\n");
  EXPECT_EQ(csvLine(kWave), "Wave;Distort;Ann;;freeware;\r\n");
  EXPECT_EQ(csvLine({" Cat ", " Glow...", "", "", ""}), "Glow;Cat;;;freeware;\r\n");
  // The dots go first, then the blanks: dots before a blank stay.
  EXPECT_EQ(csvLine({"C", "Glow... ", "", "", ""}), "Glow...;C;;;freeware;\r\n");
  std::vector<ListItem> items = {kWave, kBlur, {"x", "Apple", "", "", ""}};
  EXPECT_EQ(pluginListLines(items, {false, true, false, false, false}, false),
            (std::vector<std::string>{"Apple\r\n", "soft\r\n", "Wave...\r\n"}));
}

TEST_F(PluginFolder, PluginListWritesTheFileOrTheClipboard) {
  test::writeFile(dir / "multi.8bf", fixtures::piplPlugin({{"B", "Two"}, {"A", "One"}}));
  test::writeFile(dir / "fx.aex", fixtures::piplPlugin({{"Effects", "Glow"}}));
  test::writeFile(dir / "notes.doc", "x");
  PluginListRequest request;
  request.files = {dir / "multi.8bf", dir / "fx.aex"};
  prompter.folderChoice = FolderChoice{dir.path(), false};
  auto outcome = cmd_PlugInList(request, prompter, nullptr, {});
  EXPECT_EQ(outcome.written, dir / "FFL-List.txt");
  EXPECT_EQ(bytesOf("FFL-List.txt"), "A: One\r\nB: Two\r\nEffects: Glow\r\n");
  FakeClipboard clipboard;
  request.toClipboard = true;
  cmd_PlugInList(request, prompter, &clipboard, {});
  EXPECT_EQ(clipboard.text, "A: One\r\nB: Two\r\nEffects: Glow\r\n");
  request.files = {dir / "notes.doc"};
  cmd_PlugInList(request, prompter, &clipboard, {});
  EXPECT_TRUE(clipboard.cleared);
  EXPECT_EQ(clipboard.text, std::nullopt);
  EXPECT_EQ(prompter.folderRequests.size(), 1u);
}

// An existing file is replaced only when the user says so, and never one of the listed files.
TEST_F(PluginFolder, PluginListAsksBeforeReplacingAndKeepsItsInputs) {
  test::writeFile(dir / "fx.aex", fixtures::piplPlugin({{"Effects", "Glow"}}));
  test::writeFile(dir / "FFL-List.txt", "edited");
  PluginListRequest request;
  request.files = {dir / "fx.aex"};
  prompter.folderChoice = FolderChoice{dir.path(), false};
  prompter.overwriteAnswers = {OverwriteAnswer::Ignore, OverwriteAnswer::Overwrite};
  auto kept = cmd_PlugInList(request, prompter, nullptr, {});
  EXPECT_TRUE(kept.skipped);
  EXPECT_EQ(bytesOf("FFL-List.txt"), "edited");
  ASSERT_EQ(prompter.overwriteQuestions.size(), 1u);
  EXPECT_TRUE(prompter.overwriteQuestions[0].destinationLine.starts_with(
      (dir / "FFL-List.txt").string() + "  (6 bytes, "));
  EXPECT_EQ(cmd_PlugInList(request, prompter, nullptr, {}).written, dir / "FFL-List.txt");
  EXPECT_EQ(bytesOf("FFL-List.txt"), "Effects: Glow\r\n");

  const auto before = bytesOf("fx.aex");
  fs::create_directory(dir / "sub");
  for (auto name : {"fx.aex", "sub/../fx.aex"}) {
    request.fileName = name;
    auto refused = cmd_PlugInList(request, prompter, nullptr, {});
    EXPECT_TRUE(refused.failed);
    EXPECT_EQ(prompter.messages.back().text,
              (dir / name).string() + ": would replace its own input");
  }
  // In the FFL View the library is the input.
  request = {};
  request.view = PaneView::Ffl;
  request.library = dir / "fx.aex";
  request.fflEntries.resize(1);
  request.fflEntries[0].title = "T";
  request.fileName = "fx.aex";
  EXPECT_TRUE(cmd_PlugInList(request, prompter, nullptr, {}).failed);
  EXPECT_EQ(bytesOf("fx.aex"), before);
  EXPECT_EQ(prompter.overwriteQuestions.size(), 2u);
}

TEST_F(PluginFolder, PluginListWithNothingSelectedOrACancelledFolder) {
  PluginListRequest request;
  cmd_PlugInList(request, prompter, nullptr, {});
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "Please select one or more plugin files.");
  request.files = {dir / "x.8bf"};
  auto outcome = cmd_PlugInList(request, prompter, nullptr, {});  // folderChoice: cancelled
  EXPECT_FALSE(outcome.written);
  EXPECT_FALSE(fs::exists(dir / "FFL-List.txt"));
}

constexpr std::string_view kWaveInfo =
    "Blur: Wave\r\n----------\r\nType: Photoshop Filter Factory 3.0\r\n"
    "Max. Category Name: 34 letters\r\nCategory at &H7957";
constexpr std::string_view kNotFF =
    "\r\n\r\nThis file isn't a Filter Factory plugin\r\nand therefor can't be loaded\r\ninto the "
    "Filter Factory Editor.";

class PluginInformation : public PluginFolder {
 protected:
  std::string info(const char* name, const std::string& bytes) {
    test::writeFile(dir / name, bytes);
    facts = pluginFacts(dir / name, table, {});
    return facts.label ? pluginInformationText(facts) : std::string("<no label>");
  }
  PlugTypeTable table = makeTypeTable({{"Lightwave Plugin (p|3)", true}});
  PluginFacts facts;
};

TEST_F(PluginInformation, TextOfEachKind) {
  const std::string notFF(kNotFF);
  const struct {
    const char* name;
    std::string bytes, text;
  } cases[] = {
      {"multi.8bf",
       fixtures::piplPlugin({{"Noise", "Grain"}, {"Blur", "Smear"}, {"Noise", "Speckle"}}),
       "Noise: Grain\r\nBlur: Smear\r\nNoise: Speckle\r\n--------------\r\n"
       "Type: Photoshop Multiple Filter Plugin\r\nMax. Category Name: 7 letters" +
           notFF},
      {"Wave.8bf", fixtures::templatePlugin("Blur", "Wave"), std::string(kWaveInfo)},
      {"Ripple.prm", fixtures::videoFilterPrm("Ripple"),
       "[Premiere Video]: Ripple\r\n------------------------\r\n"
       "Type: Premiere 4.2 Video Plugin\r\nPlugin Name at &H139A" +
           notFF},
      {"model.p", "x",
       "[Lightwave Plugin]: Model\r\n-------------------------\r\nType: Lightwave Plugin" + notFF},
  };
  for (const auto& c : cases) EXPECT_EQ(info(c.name, c.bytes), c.text) << c.name;
  EXPECT_EQ(facts.categoryRoom, 0u);
  EXPECT_TRUE(pluginFacts(dir / "Wave.8bf", table, {}).filterFactory);
}

TEST_F(PluginInformation, PremiereLabelsBySizeAndRecord) {
  struct Case {
    std::string bytes;
    const char* label;
    const char* category;
  };
  std::string transition(50688, '\0');
  test::placeAt(transition, 5002, test::spfxRecord("Wipe", std::string(2, '\0'), "Clock"));
  std::string audio(20000, '\0');
  test::placeAt(audio, 5002, test::afltRecord("Echo"));
  for (const Case& c :
       {Case{fixtures::videoFilterPrm("V", 50688), "Premiere Filter Factory", "[Premiere FF]"},
        Case{fixtures::videoFilterPrm("V", 53248), "Premiere Filter Factory", "[Premiere FF]"},
        Case{fixtures::videoFilterPrm("V", 51200), "Premiere 4.2 Video Plugin", "[Premiere Video]"},
        Case{transition, "Premiere Transition Factory", "[Premiere TF]"},
        Case{audio, "Premiere 4.2 Audio Plugin", "[Premiere Audio]"},
        Case{fixtures::piplPlugin({{"Stylize", "Glow"}}), "Premiere 5.0 Plugin", "Stylize"},
        Case{"junk", "Premiere 5.0 Plugin", "[Unknown]"}}) {
    info("x.prm", c.bytes);
    ASSERT_TRUE(facts.label);
    EXPECT_EQ(*facts.label, c.label);
    EXPECT_EQ(facts.filters[0].category, c.category);
  }
}

TEST_F(PluginInformation, UnlabelledAndOtherFiles) {
  EXPECT_EQ(info("broken.8bf", std::string(57344, 'x')), "<no label>");
  std::filesystem::create_directory(dir / "folder.8bf");
  EXPECT_FALSE(pluginFacts(dir / "folder.8bf", table, {}).label);
  EXPECT_EQ(info("effect.aex", "x").substr(0, 4), ": \r\n");
  EXPECT_EQ(facts.label, "After Effects Plugin");
  // Not a Mac Filter Factory size: with a type table every other file is an "Other Plugin".
  info("mac.bin", std::string(1000, '\0'));
  EXPECT_EQ(facts.label, "Other Plugins");
  EXPECT_EQ(facts.filters[0].category, "[Other Plugins]");
}

TEST_F(PluginInformation, CommandMessages) {
  test::writeFile(dir / "notes.doc", "x");
  test::writeFile(dir / "Wave.8bf", fixtures::templatePlugin("Blur", "Wave"));
  struct Case {
    PaneView view;
    std::optional<std::filesystem::path> file;
    test::MessageKind kind;
    std::string text;
  };
  for (const Case& c : {Case{PaneView::Ffl, dir / "Wave.8bf", test::MessageKind::Warn,
                             "Plugin Information only works in File and Plugin View."},
                        Case{PaneView::File, std::nullopt, test::MessageKind::Warn,
                             "Please select a plugin or other supported file."},
                        Case{PaneView::File, dir / "notes.doc", test::MessageKind::Warn,
                             "notes.doc is an unknown file type or maybe damaged."},
                        Case{PaneView::Plugin, dir / "Wave.8bf", test::MessageKind::Inform,
                             std::string(kWaveInfo)}}) {
    test::ScriptedPrompter p;
    cmd_PlugInInformation(c.view, c.file, PlugTypeTable{}, {}, p);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].kind, c.kind);
    EXPECT_EQ(p.messages[0].text, c.text);
    EXPECT_EQ(p.messages[0].title, "Plugin Information");
  }
}

}  // namespace
}  // namespace qm::plugins
