#include "core/plugins/plugin_info.h"

#include <gtest/gtest.h>

#include "plugin_fixtures.h"
#include "support/scripted_ports.h"

namespace qm::plugins {
namespace {

constexpr std::string_view kNotFF =
    "\r\n\r\nThis file isn't a Filter Factory plugin\r\nand therefor can't be loaded\r\ninto the "
    "Filter Factory Editor.";

class PluginInformation : public ::testing::Test {
 protected:
  std::string info(const char* name, const std::string& bytes) {
    test::writeFile(dir / name, bytes);
    facts = pluginFacts(dir / name, table, {});
    return facts.label ? pluginInformationText(facts) : std::string("<no label>");
  }
  test::TempFolder dir;
  PlugTypeTable table = makeTypeTable({{"Lightwave Plugin (p|3)", true}});
  PluginFacts facts;
};

TEST_F(PluginInformation, ThreeFilterPluginHasNoPositionLine) {
  EXPECT_EQ(info("multi.8bf", fixtures::piplPlugin(
                                  {{"Noise", "Grain"}, {"Blur", "Smear"}, {"Noise", "Speckle"}})),
            "Noise: Grain\r\nBlur: Smear\r\nNoise: Speckle\r\n--------------\r\n"
            "Type: Photoshop Multiple Filter Plugin\r\nMax. Category Name: 7 letters" +
                std::string(kNotFF));
  EXPECT_EQ(facts.filters.size(), 3u);
  EXPECT_EQ(facts.categoryOffset, std::nullopt);
  EXPECT_EQ(facts.architecture, "x86");
}

TEST_F(PluginInformation, FilterFactoryTemplatePlugin) {
  EXPECT_EQ(info("Wave.8bf", fixtures::templatePlugin("Blur", "Wave")),
            "Blur: Wave\r\n----------\r\nType: Photoshop Filter Factory 3.0\r\n"
            "Max. Category Name: 34 letters\r\nCategory at &H7957");
  EXPECT_TRUE(facts.filterFactory);
  EXPECT_EQ(facts.categoryOffset, 31063u);
  EXPECT_EQ(facts.fieldCaption, "Category");
}

TEST_F(PluginInformation, PremiereVideoFilterShowsThePluginNameOffset) {
  EXPECT_EQ(info("Ripple.prm", fixtures::videoFilterPrm("Ripple")),
            "[Premiere Video]: Ripple\r\n------------------------\r\n"
            "Type: Premiere 4.2 Video Plugin\r\nPlugin Name at &H139A" +
                std::string(kNotFF));
  EXPECT_EQ(facts.fieldCaption, "Plugin Name");
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

TEST_F(PluginInformation, TableTypesAndUnlabelledFiles) {
  EXPECT_EQ(info("model.p", "x"),
            "[Lightwave Plugin]: Model\r\n-------------------------\r\n"
            "Type: Lightwave Plugin" +
                std::string(kNotFF));
  EXPECT_EQ(facts.categoryRoom, 0u);
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
  PlugTypeTable none;
  for (const Case& c : {Case{PaneView::Ffl, dir / "Wave.8bf", test::MessageKind::Warn,
                             "Plugin Information only works in File and Plugin View."},
                        Case{PaneView::File, std::nullopt, test::MessageKind::Warn,
                             "Please select a plugin or other supported file."},
                        Case{PaneView::File, dir / "notes.doc", test::MessageKind::Warn,
                             "notes.doc is an unknown file type or maybe damaged."},
                        Case{PaneView::Plugin, dir / "Wave.8bf", test::MessageKind::Inform,
                             "Blur: Wave\r\n----------\r\nType: Photoshop Filter Factory 3.0\r\n"
                             "Max. Category Name: 34 letters\r\nCategory at &H7957"}}) {
    test::ScriptedPrompter p;
    cmd_PlugInInformation(c.view, c.file, none, {}, p);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].kind, c.kind);
    EXPECT_EQ(p.messages[0].text, c.text);
    EXPECT_EQ(p.messages[0].title, "Plugin Information");
  }
}

}  // namespace
}  // namespace qm::plugins
