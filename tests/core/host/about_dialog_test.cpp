#include "core/host/about_dialog.h"

#include <gtest/gtest.h>

#include "core/host/plugin_invoke.h"
#include "fake_codec.h"
#include "support/ff_plugin_bytes.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace qm::host::testing {
namespace {

namespace fs = std::filesystem;
using qm::test::MessageKind;

class AboutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qm::test::FFPluginFields fields;
    fields.title = "Caf\xE9 Glow";
    fields.category = "Tests";
    fields.copyright = "Free";
    fields.author = "Ann";
    fields.formulas = {"r", "g", "b", "a"};
    const std::string bytes = qm::test::ffPluginBytes(57344, fields);
    for (const char* name : {"Glow.8BF", "Glow._bf", "Glow_8bf", "Glow.8bi"})
      qm::test::writeFile(dir / name, bytes);
    qm::test::writeFile(dir / "Other.8bf", std::string(5000, 'o'));
  }
  void about(const std::string& name, bool fflView = false) {
    cmd_AboutDialog({fflView, name.empty() ? fs::path() : dir / name}, host, prompter);
  }
  qm::test::TempFolder dir;
  FakeCodec codec;
  ImageLibrary images{codec};
  PluginHost host{images, nullptr};
  qm::test::ScriptedPrompter prompter;
};

TEST_F(AboutTest, ShowsAFilterFactoryPluginsTextsAndUnloads) {
  about("Glow.8BF");
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].kind, MessageKind::Inform);
  EXPECT_EQ(prompter.messages[0].title, "Caf\xC3\xA9 Glow");
  EXPECT_EQ(prompter.messages[0].text,
            "Caf\xC3\xA9 Glow\n\nCategory: Tests\nAuthor: Ann\nCopyright: Free");
  EXPECT_FALSE(host.isEnabled());
  about("Glow._bf");
  EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_F(AboutTest, RefusalsAndTheFflView) {
  about("Glow.8bf", true);
  EXPECT_TRUE(prompter.messages.empty());
  about("");
  about("Glow.8bi");
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0].text, "Please select a plugin or other supported file.");
  EXPECT_EQ(prompter.messages[1].text,
            "Please select a Photoshop-compatible plugin to execute this function.");
  EXPECT_EQ(prompter.messages[1].kind, MessageKind::Warn);
}

TEST_F(AboutTest, APluginWithoutExtensionAsksFirst) {
  prompter.askAnswers = {Button::No, Button::Yes};
  about("Glow_8bf");
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].kind, MessageKind::Ask);
  EXPECT_EQ(prompter.messages[0].title, "Warning");
  EXPECT_EQ(prompter.messages[0].buttons, Buttons::YesNo);
  EXPECT_EQ(prompter.messages[0].text,
            "Photoshop-compatible plugins without a file extension can cause a crash\n"
            "when you try to execute them. To avoid this risk please use the En/Disable \n"
            "command to add a .8bf or ._bf extension to the plugin file.\n\n"
            "Do you want to execute this plugin anyway?");
  about("Glow_8bf");
  ASSERT_EQ(prompter.messages.size(), 3u);
  EXPECT_EQ(prompter.messages[2].kind, MessageKind::Inform);
}

TEST_F(AboutTest, AnotherPluginGetsTheLoadFailureText) {
  about("Other.8bf");
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].kind, MessageKind::Error);
  EXPECT_EQ(prompter.messages[0].text, pluginLoadFailedText());
  EXPECT_FALSE(host.isEnabled());
  ASSERT_TRUE(host.load({}));
  about("Glow.8BF");  // a loaded host is unloaded and loaded again first
  EXPECT_EQ(prompter.messages.size(), 2u);
  EXPECT_FALSE(host.isEnabled());
}

}  // namespace
}  // namespace qm::host::testing
