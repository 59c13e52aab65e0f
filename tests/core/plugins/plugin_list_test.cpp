#include "core/plugins/plugin_list.h"

#include <gtest/gtest.h>

#include "plugin_fixtures.h"
#include "support/scripted_ports.h"

namespace qm::plugins {
namespace {

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

TEST(PluginListLines, TextPartsFollowTheBoxes) {
  EXPECT_EQ(textLine(kWave, {}), "Distort: Wave...\r\n");
  EXPECT_EQ(textLine(kWave, {true, true, true, true, true}),
            "Distort: Wave... (Wave.8bf) by Ann, (c) 1999\r\n");
  EXPECT_EQ(textLine(kBlur, {false, true, false, true, true}), "soft\r\n");
  EXPECT_EQ(textLine(kBlur, {false, false, true, false, false}), " (Soft.8bf)\r\n");
}

TEST(PluginListLines, CsvDropsTrailingDotsAndTrims) {
  EXPECT_EQ(csvLine(kWave), "Wave;Distort;Ann;;freeware;\r\n");
  EXPECT_EQ(csvLine({" Cat ", " Glow...", "", "", ""}), "Glow;Cat;;;freeware;\r\n");
  // The dots go first, then the blanks: dots before a blank stay.
  EXPECT_EQ(csvLine({"C", "Glow... ", "", "", ""}), "Glow...;C;;;freeware;\r\n");
}

TEST(PluginListLines, SortedCaseInsensitively) {
  std::vector<ListItem> items = {kWave, kBlur, {"x", "Apple", "", "", ""}};
  EXPECT_EQ(pluginListLines(items, {false, true, false, false, false}, false),
            (std::vector<std::string>{"Apple\r\n", "soft\r\n", "Wave...\r\n"}));
}

TEST(PluginListCommand, WritesTheFileOrTheClipboard) {
  test::TempFolder dir;
  test::writeFile(dir / "multi.8bf", fixtures::piplPlugin({{"B", "Two"}, {"A", "One"}}));
  test::writeFile(dir / "fx.aex", fixtures::piplPlugin({{"Effects", "Glow"}}));
  test::writeFile(dir / "notes.doc", "x");
  PluginListRequest request;
  request.files = {dir / "multi.8bf", dir / "fx.aex"};
  test::ScriptedPrompter prompter;
  prompter.folderChoice = FolderChoice{dir.path(), false};
  auto outcome = cmd_PlugInList(request, prompter, nullptr, {});
  ASSERT_TRUE(outcome.written);
  EXPECT_EQ(*outcome.written, dir / "FFL-List.txt");
  EXPECT_EQ(test::readFile(dir / "FFL-List.txt"), "A: One\r\nB: Two\r\nEffects: Glow\r\n");
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

TEST(PluginListCommand, NothingSelectedOrCancelledFolder) {
  test::ScriptedPrompter prompter;
  PluginListRequest request;
  cmd_PlugInList(request, prompter, nullptr, {});
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "Please select one or more plugin files.");
  test::TempFolder dir;
  request.files = {dir / "x.8bf"};
  auto outcome = cmd_PlugInList(request, prompter, nullptr, {});  // folderChoice: cancelled
  EXPECT_FALSE(outcome.written);
  EXPECT_FALSE(std::filesystem::exists(dir / "FFL-List.txt"));
}

}  // namespace
}  // namespace qm::plugins
