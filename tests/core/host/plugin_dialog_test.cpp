// The host's own dialog in a plugin run: its values are the ones the filter runs with, Cancel
// runs nothing, and the owner "none" never shows it.

#include <gtest/gtest.h>

#include "core/host/plugin_invoke.h"
#include "fake_codec.h"
#include "support/ff_plugin_bytes.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace qm::host::testing {
namespace {

TEST(PluginDialog, ItsValuesRunAndCancelRunsNothing) {
  qm::test::TempFolder dir;
  qm::test::FFPluginFields fields;
  fields.formulas = {"r", "g", "ctl(1)", "a"};
  fields.sliderValues = {0, 77};
  qm::test::writeFile(dir / "temp.dll", qm::test::ffPluginBytes(57344, fields));
  FakeCodec codec;
  ImageLibrary images{codec};
  PluginHost host{images, nullptr};
  qm::test::ScriptedPrompter prompter;
  const struct {
    std::uintptr_t owner;
    bool answer;
    bool ran;
    int blue;
    int dialogs;
  } cases[] = {{0, true, true, 10, 1}, {7, false, false, 2, 1}, {kNoOwner, true, true, 77, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.owner);
    HostSession session{images, host, prompter, images.adopt(pattern(3, 3, false)), 42};
    int dialogs = 0;
    auto dialog = [&](ff::FFRecord& filter) {
      ++dialogs;
      EXPECT_EQ(filter.sliderValues[1], 77);
      filter.sliderValues[1] = 10;
      return c.answer;
    };
    EXPECT_EQ(PluginInvoke(session, dir.path(), "temp.dll", nullptr, false, c.owner, dialog),
              c.ran);
    EXPECT_EQ(dialogs, c.dialogs);
    EXPECT_EQ(images.image(session.workImage)->pixel(1, 1)[2], c.blue);  // pattern: x + y
    EXPECT_FALSE(host.isEnabled());
  }
  EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace qm::host::testing
