#include "core/host/plugin_invoke.h"

#include <gtest/gtest.h>

#include "fake_codec.h"
#include "support/ff_plugin_bytes.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace qm::host::testing {
namespace {

struct RecordingTarget final : PictureTarget {
  int draws = 0;
  Rect destination, source;
  std::uint8_t firstRed = 0;
  void draw(const Image& image, const Rect& d, const Rect& s) override {
    ++draws;
    destination = d;
    source = s;
    firstRed = image.pixel(0, 0)[0];
  }
};

class PluginInvokeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qm::test::FFPluginFields fields;
    fields.title = "Invert";
    fields.category = "Tests";
    fields.formulas = {"255-r", "g", "ctl(1)", "a"};
    fields.sliderValues = {0, 77};
    qm::test::writeFile(dir / "temp.dll", qm::test::ffPluginBytes(57344, fields));
    qm::test::writeFile(dir / "other.8bf", std::string(4096, 'x'));
  }
  HostSession session() { return HostSession{images, host, prompter, work, 42}; }
  qm::test::TempFolder dir;
  FakeCodec codec;
  ImageLibrary images{codec};
  PluginHost host{images, nullptr};
  qm::test::ScriptedPrompter prompter;
  RecordingTarget target;
  ImageHandle work = 0;
};

TEST_F(PluginInvokeTest, RunsTheTemporaryPluginOnTheWorkImageAndDrawsIt) {
  work = images.adopt(pattern(5, 4, false));
  auto s = session();
  EXPECT_TRUE(PluginInvoke(s, dir.path(), "temp.dll", &target, false, 0));
  EXPECT_EQ(target.draws, 0);
  EXPECT_EQ(images.image(work)->pixel(4, 0)[0], 251);
  EXPECT_TRUE(PluginInvoke(s, dir.path(), "temp.dll", &target, true, 0));  // inverts back
  const Image* img = images.image(work);
  EXPECT_EQ(img->pixel(4, 0)[0], 4);
  EXPECT_EQ(img->pixel(4, 0)[2], 77);  // the plugin's own slider value
  EXPECT_EQ(target.draws, 1);
  EXPECT_EQ(std::tie(target.destination.right, target.destination.bottom, target.source.right),
            std::make_tuple(4, 3, 4));
  EXPECT_EQ(target.firstRed, 0);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_FALSE(host.isEnabled());
}

TEST_F(PluginInvokeTest, FailedHostLoadShowsOnlyTheLibraryErrorAndNoWorkImageIsSilent) {
  auto s = session();
  // A missing host folder would complain if the host were loaded.
  EXPECT_FALSE(PluginInvoke(s, dir / "missing", "temp.dll", &target, true, 0));
  EXPECT_TRUE(prompter.messages.empty());
  work = images.adopt(pattern(2, 2, false));
  auto withWork = session();
  EXPECT_FALSE(PluginInvoke(withWork, dir / "missing", "temp.dll", &target, true, 0));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_NE(prompter.messages[0].text, pluginLoadFailedText());
  EXPECT_EQ(prompter.messages[0].kind, qm::test::MessageKind::Error);
  EXPECT_FALSE(host.isEnabled());
  EXPECT_EQ(target.draws, 0);
}

TEST_F(PluginInvokeTest, ANonFilterFactoryPluginFailsWithTheLoadMessage) {
  work = images.adopt(pattern(2, 2, false));
  const Image before = *images.image(work);
  auto s = session();
  EXPECT_FALSE(PluginInvoke(s, dir.path(), "other.8bf", &target, true, 0));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            "An error occured while loading the plugin!\n\nThe plugin may be invalid or\n"
            "you may need msvcrt10.dll or plugin.dll\nin your Windows System folder.");
  EXPECT_EQ(images.image(work)->rgba, before.rgba);
  EXPECT_FALSE(host.isEnabled());
  EXPECT_FALSE(host.plugin().has_value());
}

TEST_F(PluginInvokeTest, ABrokenFormulaMakesTheRunFailWithoutChanges) {
  qm::test::FFPluginFields fields;
  fields.title = "Broken";
  fields.formulas = {"r+", "g", "b", "a"};
  qm::test::writeFile(dir / "temp.dll", qm::test::ffPluginBytes(57344, fields));
  work = images.adopt(pattern(2, 2, false));
  const Image before = *images.image(work);
  auto s = session();
  EXPECT_FALSE(PluginInvoke(s, dir.path(), "temp.dll", &target, true, 0));
  EXPECT_EQ(target.draws, 0);
  EXPECT_EQ(images.image(work)->rgba, before.rgba);
  EXPECT_EQ(host.lastRun().outcome, RunOutcome::BadFormula);
}

}  // namespace
}  // namespace qm::host::testing
