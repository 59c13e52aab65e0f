// Loading a filter from a library entry or a plugin file, running formulas on a picture, and
// running a Filter Factory plugin through the host (with and without the host's own dialog,
// and for the About box).

#include <gtest/gtest.h>

#include "core/host/about_dialog.h"
#include "core/host/filter_loader.h"
#include "core/host/plugin_invoke.h"
#include "core/host/run_filter.h"
#include "fake_codec.h"
#include "support/ff_plugin_bytes.h"
#include "support/ff_sources.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace qm::host::testing {
namespace {

using qm::test::MessageKind;

TEST(FilterLoader, LibraryEntriesByNumber) {
  qm::test::TempFolder dir;
  const auto lib = qm::test::writeFile(
      dir / "lib.ffl", "FFL1.0\r\n2\r\n" + qm::test::fflEntry("one.8bf", "One", "r/2") +
                           qm::test::fflEntry("two.prm", "Two", "mix(r,g,1,2)"));
  auto first = loadFilter(lib.string() + "#1", {});
  ASSERT_TRUE(first);
  EXPECT_EQ(first->title, "One");
  EXPECT_EQ(first->formulas[0], "r/2");
  auto second = loadFilter(lib.string() + "#2", {});
  ASSERT_TRUE(second);
  // A Premiere entry comes back in the Photoshop dialect (mix takes its values swapped).
  EXPECT_TRUE(second->photoshopDialect);
  EXPECT_EQ(second->formulas[0], "mix(g,r,1,2)");
  // A whole library is not one filter.
  for (const char* bad : {"#3", "#x", "#", ""})
    EXPECT_FALSE(loadFilter(lib.string() + bad, {})) << bad;
}

TEST(FilterLoader, PluginsRunTheirFormulasAsStoredAndPremiereOnesTranslated) {
  qm::test::TempFolder dir;
  qm::test::FFPluginFields fields;
  fields.title = "Stored";
  fields.formulas = {"src(x,y,z)", "(76*r+150*g+29*b)/256", "b", "a"};
  const std::string bytes = qm::test::ffPluginBytes(57344, fields);
  for (const char* name : {"plain.8bf", "temp.dll", "off._bf"}) {
    qm::test::writeFile(dir / name, bytes);
    auto rec = loadPluginFilter(dir / name);
    ASSERT_TRUE(rec) << name;
    EXPECT_EQ(rec->formulas[0], "src(x,y,z)") << name;  // no optimiser rewrite to "c"
    EXPECT_EQ(rec->formulas[1], "(76*r+150*g+29*b)/256") << name;
  }
  qm::test::writeFile(dir / "notes.txt", "R: r");
  EXPECT_FALSE(loadPluginFilter(dir / "notes.txt"));
  qm::test::writeFile(dir / "random.8bf", std::string(57344, 'q'));
  EXPECT_FALSE(loadPluginFilter(dir / "random.8bf"));
  EXPECT_FALSE(loadPluginFilter(dir / "missing.8bf"));
  // A Premiere plugin is translated to the Photoshop dialect.
  qm::test::PremiereFields premiere;
  premiere.menuName = "Fade";
  premiere.formulas = {"mix(r,g,t,tmax)", "p", "b", "a"};
  qm::test::writeFile(dir / "fade.prm", qm::test::premiereFFBytes(50176, 0, premiere));
  auto rec = loadPluginFilter(dir / "fade.prm");
  ASSERT_TRUE(rec);
  EXPECT_TRUE(rec->photoshopDialect);
  EXPECT_EQ(std::tie(rec->formulas[0], rec->formulas[1]), std::tuple("mix(g,r,t,255)", "z"));
}

using Px = std::array<int, 4>;
Px pixelAt(const Image& img, int x, int y) {
  const std::uint8_t* p = img.pixel(x, y);
  return {p[0], p[1], p[2], p[3]};
}

Rect whole(const Image& img) {
  return {0, 0, img.width - 1, img.height - 1};
}

TEST(RunFilter, PictureWithoutAlphaRunsThreeChannelsAndIgnoresTheAFormula) {
  Image img = pattern(4, 3, false);
  auto report = runFilter({"255-r", "Z*10", "a", "this is not (a formula"}, img, whole(img), {});
  ASSERT_EQ(report.outcome, RunOutcome::Done);
  // a reads 0 without alpha.
  EXPECT_EQ(pixelAt(img, 3, 2), (Px{252, 30, 0, 255}));
}

TEST(RunFilter, LayerWithAlphaRunsFourChannelsAndKeepsStraightColour) {
  Image img = pattern(4, 3, true, 100);
  FilterRun run;
  run.sliders = {7};
  auto report = runFilter({"r", "a", "Z", "a/2+ctl(0)"}, img, whole(img), run);
  ASSERT_EQ(report.outcome, RunOutcome::Done);
  EXPECT_EQ(pixelAt(img, 2, 1), (Px{2, 100, 4, 57}));
}

TEST(RunFilter, AreaCountsCoordinatesFromItsCornerAndLeavesTheRestAlone) {
  const Image before = pattern(6, 5, false);
  // B reads another pixel (the result needs a buffer of its own) or only its own (the picture
  // is filtered in place).
  const struct {
    const char* blue;
    int at21, at42;
  } cases[] = {
      // src pins to the area's own left edge (x = 2).
      {"src(-1,0,0)", 2, 2},
      {"255-b", 255 - pixelAt(before, 2, 1)[2], 255 - pixelAt(before, 4, 2)[2]},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.blue);
    Image img = before;
    auto report = runFilter({"x*10+y", "X*10+Y", c.blue, ""}, img, Rect{2, 1, 4, 2}, {});
    ASSERT_EQ(report.outcome, RunOutcome::Done);
    // A 3 x 2 area.
    EXPECT_EQ(pixelAt(img, 2, 1), (Px{0, 32, c.at21, 255}));
    EXPECT_EQ(pixelAt(img, 4, 2), (Px{21, 32, c.at42, 255}));
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 6; ++x)
        if (x < 2 || x > 4 || y < 1 || y > 2) {
          EXPECT_EQ(pixelAt(img, x, y), pixelAt(before, x, y));
        }
  }
}

TEST(RunFilter, BadFormulaLeavesThePictureAndNamesChannelAndPosition) {
  Image img = pattern(3, 3, true);
  const Image before = img;
  auto report = runFilter({"r", "g+*2", "b", "a"}, img, whole(img), {});
  ASSERT_EQ(report.outcome, RunOutcome::BadFormula);
  EXPECT_EQ(describe(report.error), "G formula, position 3: expected a value");
  EXPECT_EQ(img.rgba, before.rgba);
}

TEST(RunFilter, CancelledOrEmptyRunsChangeNothing) {
  Image img = pattern(3, 40, false);
  const Image before = img;
  FilterRun run;
  run.cancelled = [] { return true; };
  EXPECT_EQ(runFilter({"0", "0", "0", ""}, img, whole(img), run).outcome, RunOutcome::Cancelled);
  EXPECT_EQ(img.rgba, before.rgba);
  EXPECT_EQ(runFilter({"0", "0", "0", ""}, img, Rect{5, 5, 4, 4}, {}).outcome, RunOutcome::BadArea);
  EXPECT_EQ(img.rgba, before.rgba);
}

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

class PluginHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qm::test::FFPluginFields fields;
    fields.title = "Caf\xE9 Glow";
    fields.category = "Tests";
    fields.copyright = "Free";
    fields.author = "Ann";
    fields.formulas = {"255-r", "g", "ctl(1)", "a"};
    fields.sliderValues = {0, 77};
    const std::string bytes = qm::test::ffPluginBytes(57344, fields);
    for (const char* name : {"temp.dll", "Glow.8BF", "Glow._bf", "Glow_8bf", "Glow.8bi"})
      qm::test::writeFile(dir / name, bytes);
    qm::test::writeFile(dir / "other.8bf", std::string(4096, 'x'));
  }
  HostSession session() { return HostSession{images, host, prompter, work, 42}; }
  bool invoke(const std::filesystem::path& folder, const char* plugin, bool draw = true) {
    HostSession s = session();
    return PluginInvoke(s, folder, plugin, &target, draw, 0);
  }
  void about(const std::string& name, bool fflView = false) {
    cmd_AboutDialog({fflView, name.empty() ? std::filesystem::path() : dir / name}, host, prompter);
  }
  qm::test::TempFolder dir;
  FakeCodec codec;
  ImageLibrary images{codec};
  PluginHost host{images, nullptr};
  qm::test::ScriptedPrompter prompter;
  RecordingTarget target;
  ImageHandle work = 0;
};

TEST_F(PluginHostTest, RunsTheTemporaryPluginOnTheWorkImageAndDrawsIt) {
  work = images.adopt(pattern(5, 4, false));
  EXPECT_TRUE(invoke(dir.path(), "temp.dll", false));
  EXPECT_EQ(target.draws, 0);
  EXPECT_EQ(images.image(work)->pixel(4, 0)[0], 251);
  EXPECT_TRUE(invoke(dir.path(), "temp.dll"));  // inverts back
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

TEST_F(PluginHostTest, DialogValuesRunAndCancelRunsNothing) {
  const struct {
    std::uintptr_t owner;
    bool answer, ran;
    int blue, dialogs;
  } cases[] = {{0, true, true, 10, 1}, {7, false, false, 2, 1}, {kNoOwner, true, true, 77, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.owner);
    HostSession s{images, host, prompter, images.adopt(pattern(3, 3, false)), 42};
    int dialogs = 0;
    auto dialog = [&](ff::FFRecord& filter) {
      ++dialogs;
      EXPECT_EQ(filter.sliderValues[1], 77);
      filter.sliderValues[1] = 10;
      return c.answer;
    };
    EXPECT_EQ(PluginInvoke(s, dir.path(), "temp.dll", nullptr, false, c.owner, dialog), c.ran);
    EXPECT_EQ(dialogs, c.dialogs);
    EXPECT_EQ(images.image(s.workImage)->pixel(1, 1)[2], c.blue);  // pattern: x + y
    EXPECT_FALSE(host.isEnabled());
  }
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(PluginHostTest, FailedHostLoadShowsOnlyTheLibraryErrorAndNoWorkImageIsSilent) {
  // A missing host folder would complain if the host were loaded.
  EXPECT_FALSE(invoke(dir / "missing", "temp.dll"));
  EXPECT_TRUE(prompter.messages.empty());
  work = images.adopt(pattern(2, 2, false));
  EXPECT_FALSE(invoke(dir / "missing", "temp.dll"));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].kind, MessageKind::Error);
  EXPECT_NE(prompter.messages[0].text, pluginLoadFailedText());
  EXPECT_FALSE(host.isEnabled());
  EXPECT_EQ(target.draws, 0);
}

TEST_F(PluginHostTest, ANonFilterFactoryPluginOrABrokenFormulaChangesNothing) {
  work = images.adopt(pattern(2, 2, false));
  const Image before = *images.image(work);
  EXPECT_FALSE(invoke(dir.path(), "other.8bf"));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            "An error occured while loading the plugin!\n\nThe plugin may be invalid, or it may "
            "need Windows libraries\nthat this system does not have: Windows plugins other "
            "than\nFilter Factory filters run only through Wine.");
  EXPECT_FALSE(host.isEnabled());
  EXPECT_FALSE(host.plugin().has_value());
  qm::test::FFPluginFields fields;
  fields.formulas = {"r+", "g", "b", "a"};
  qm::test::writeFile(dir / "temp.dll", qm::test::ffPluginBytes(57344, fields));
  EXPECT_FALSE(invoke(dir.path(), "temp.dll"));
  EXPECT_EQ(host.lastRun().outcome, RunOutcome::BadFormula);
  EXPECT_EQ(target.draws, 0);
  EXPECT_EQ(images.image(work)->rgba, before.rgba);
}

TEST_F(PluginHostTest, AboutShowsAFilterFactoryPluginsTextsAndUnloads) {
  about("Glow.8BF");
  ASSERT_EQ(prompter.messages.size(), 1u);
  const auto& m = prompter.messages[0];
  EXPECT_EQ(std::tie(m.kind, m.title, m.text),
            std::tuple(MessageKind::Inform, "Caf\xC3\xA9 Glow",
                       "Caf\xC3\xA9 Glow\n\nCategory: Tests\nAuthor: Ann\nCopyright: Free"));
  EXPECT_FALSE(host.isEnabled());
  about("Glow._bf");
  EXPECT_EQ(prompter.messages.size(), 2u);
  ASSERT_TRUE(host.load({}));
  about("Glow.8BF");  // a loaded host is unloaded and loaded again first
  EXPECT_EQ(prompter.messages.size(), 3u);
  EXPECT_FALSE(host.isEnabled());
}

TEST_F(PluginHostTest, AboutRefusalsTheFflViewAndOtherPlugins) {
  about("Glow.8bf", true);
  EXPECT_TRUE(prompter.messages.empty());
  about("");
  about("Glow.8bi");
  about("other.8bf");
  ASSERT_EQ(prompter.messages.size(), 3u);
  EXPECT_EQ(prompter.messages[0].text, "Please select a plugin or other supported file.");
  EXPECT_EQ(std::tie(prompter.messages[1].kind, prompter.messages[1].text),
            std::tuple(MessageKind::Warn,
                       "Please select a Photoshop-compatible plugin to execute this function."));
  EXPECT_EQ(std::tie(prompter.messages[2].kind, prompter.messages[2].text),
            std::tuple(MessageKind::Error, pluginLoadFailedText()));
  EXPECT_FALSE(host.isEnabled());
}

TEST_F(PluginHostTest, AboutAPluginWithoutExtensionAsksFirst) {
  prompter.askAnswers = {Button::No, Button::Yes};
  about("Glow_8bf");
  ASSERT_EQ(prompter.messages.size(), 1u);
  const auto& m = prompter.messages[0];
  EXPECT_EQ(std::tie(m.kind, m.title, m.buttons),
            std::tuple(MessageKind::Ask, "Warning", Buttons::YesNo));
  EXPECT_EQ(m.text,
            "Photoshop-compatible plugins without a file extension can cause a crash\n"
            "when you try to execute them. To avoid this risk please use the En/Disable \n"
            "command to add a .8bf or ._bf extension to the plugin file.\n\n"
            "Do you want to execute this plugin anyway?");
  about("Glow_8bf");
  ASSERT_EQ(prompter.messages.size(), 3u);
  EXPECT_EQ(prompter.messages[2].kind, MessageKind::Inform);
}

}  // namespace
}  // namespace qm::host::testing
