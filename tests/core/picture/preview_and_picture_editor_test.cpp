// A plugin's preview picture and its cache, the choice of the preview picture, and the
// picture editor's rules without a window.

#include <gtest/gtest.h>

#include "core/ff/ffl.h"
#include "core/host/fake_codec.h"
#include "core/host/preview_picture.h"
#include "core/picture/editor_rules.h"
#include "core/picture/plugin_preview.h"
#include "core/picture/preview_choice.h"
#include "core/picture/print_layout.h"
#include "core/picture/thumbnails.h"
#include "core/picture/zoom.h"
#include "support/ff_plugin_bytes.h"
#include "support/ff_sources.h"
#include "support/pe_builder.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace qm::picture {
namespace {

namespace fs = std::filesystem;
using host::testing::FakeCodec;
using host::testing::pattern;

class PluginPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qm::test::FFPluginFields fields;
    fields.title = "Invert";
    fields.category = "Tests";
    fields.formulas = {"255-r", "g", "b", "a"};
    plugin =
        qm::test::writeFile(dir / "plugins" / "Invert.8bf", qm::test::ffPluginBytes(57344, fields));
    picture = qm::test::writeFile(dir / "Test.bmp", "picture");
    request.file = plugin;
    request.programDir = dir / "prog";
    request.picture = picture;
    request.thumb = pattern(4, 3, false);
  }
  PluginPreview preview(const std::function<bool()>& cancelled = {}) {
    return makePluginPreview(request, {codec, types, options}, cancelled);
  }
  // A thumbnail job of a 6x4 picture into the new folder dir/folder, without sources.
  ThumbnailJob thumbnailJob(const std::string& folder) {
    ThumbnailJob job;
    job.folder = dir / folder;
    fs::create_directories(job.folder);
    job.picture = pattern(6, 4, false);
    job.base = request;
    return job;
  }
  fs::path cacheFile() const { return host::previewCacheFile(dir / "prog", request.file); }
  // Sets file's modification time to seconds after the test's start.
  void stamp(const fs::path& file, int seconds) {
    fs::last_write_time(file, start + std::chrono::seconds(seconds));
  }

  qm::test::TempFolder dir;
  FakeCodec codec;
  plugins::PlugTypeTable types;
  ff::FFOptions options;
  fs::path plugin, picture;
  PreviewRequest request;
  fs::file_time_type start = fs::file_time_type::clock::now();
};

TEST_F(PluginPreviewTest, ThumbnailsFilterThePictureAndKeepWhatTheUserKeeps) {
  ThumbnailJob job = thumbnailJob("out");
  const fs::path out = job.folder;
  job.sources = {{plugin, {}, "Invert", "Invert Colours", {}},
                 {qm::test::writeFile(dir / "notes.txt", "no filter"), {}, "notes", "", {}},
                 {plugin, {}, "Invert", "Again", {}}};
  qm::test::ScriptedPrompter prompter;
  prompter.overwriteAnswers = {OverwriteAnswer::Ignore};
  batch::OverwriteCheck overwrite(prompter);
  SilentProgress progress;
  auto report = writeThumbnails(job, {codec, types, options}, overwrite, progress);
  EXPECT_EQ(report.written, std::vector<fs::path>{out / "Invert.png"});
  EXPECT_EQ(report.skipped, std::vector<fs::path>{out / "Invert.png"});
  ASSERT_EQ(report.failed.size(), 1u);
  EXPECT_EQ(report.failed[0].reason, "this program cannot run it");
  ASSERT_EQ(report.tiles.size(), 2u);
  EXPECT_EQ(report.tiles[0].title, "Invert Colours");
  auto written = codec.read(out / "Invert.png");
  ASSERT_TRUE(written);
  EXPECT_EQ(written->width, 6);
  EXPECT_EQ(written->pixel(2, 1)[0], 255 - job.picture.pixel(2, 1)[0]);
  EXPECT_FALSE(fs::exists(cacheFile()));  // a thumbnail never fills the preview cache
}

TEST_F(PluginPreviewTest, ThumbnailsOfOtherWindowsPluginsComeFromTheHostOrSayWhy) {
  using Status = ForeignThumbnail::Status;
  const std::string noWine = "Windows plugins need Wine to run (Debian package wine64).";
  const fs::path blur = qm::test::writeFile(dir / "plugins" / "Blur.8bf", "MZ, none of ours");
  const struct {
    Status status;
    std::size_t written;
    std::string failure;  // the Blur line's reason; empty: none
    bool cancelled;
  } cases[] = {
      {Status::Done, 2, "", false},
      {Status::Failed, 1, noWine, false},
      {Status::NotForeign, 1, "this program cannot run it", false},
      {Status::Cancelled, 1, "", true},
  };
  int run = 0;
  for (const auto& c : cases) {
    ThumbnailJob job = thumbnailJob("out" + std::to_string(++run));
    const fs::path out = job.folder;
    job.sources = {{plugin, {}, "Invert", "Invert", {}}, {blur, {}, "Blur", "Blur", {}}};
    std::vector<fs::path> asked;
    job.foreign = [&](const fs::path& file, const std::string&, host::Image& image, Progress&) {
      asked.push_back(file);
      if (c.status == Status::Done) image.pixel(0, 0)[0] = 7;
      return ForeignThumbnail{c.status, c.status == Status::Failed ? noWine : ""};
    };
    qm::test::ScriptedPrompter prompter;
    batch::OverwriteCheck overwrite(prompter);
    SilentProgress progress;
    const auto report = writeThumbnails(job, {codec, types, options}, overwrite, progress);
    EXPECT_EQ(asked, std::vector<fs::path>{blur});  // a Filter Factory filter never reaches it
    EXPECT_EQ(report.written.size(), c.written);
    EXPECT_EQ(report.cancelled, c.cancelled);
    if (c.failure.empty()) {
      EXPECT_TRUE(report.failed.empty());
    } else {
      ASSERT_EQ(report.failed.size(), 1u);
      EXPECT_EQ(report.failed[0].source, blur);
      EXPECT_EQ(report.failed[0].reason, c.failure);
    }
    if (c.status == Status::Done) {
      const auto written = codec.read(out / "Blur.png");
      ASSERT_TRUE(written);
      EXPECT_EQ(written->pixel(0, 0)[0], 7);
      EXPECT_EQ(report.tiles.size(), 2u);
    }
  }
}

// A Windows plugin file with several filters gives a thumbnail per filter (or the one of a
// Plugin View row), each run by its title and named after its place in the file.
TEST_F(PluginPreviewTest, ThumbnailsOfAFileWithSeveralFiltersAreOnePerFilter) {
  const fs::path multi = qm::test::writeFile(
      dir / "Blurs.8bf",
      qm::test::piplPlugin({{"Blur", "Soft"}, {"Blur", "Hard"}, {"Blur", "Wide"}}));
  const fs::path single =
      qm::test::writeFile(dir / "One.8bf", qm::test::piplPlugin({{"Blur", "Only"}}));
  const fs::path other = qm::test::writeFile(dir / "notes.txt", "no filter");
  auto named = [](const std::vector<ThumbnailSource>& sources) {
    std::vector<std::string> out;
    for (const auto& s : sources) out.push_back(s.name + "|" + s.title + "|" + s.filterTitle);
    return out;
  };
  using Names = std::vector<std::string>;
  EXPECT_EQ(named(thumbnailSourcesOf(plugin, options)), Names{"Invert|Invert|"});
  EXPECT_EQ(named(thumbnailSourcesOf(single, options)), Names{"One|Only|"});
  EXPECT_EQ(named(thumbnailSourcesOf(other, options)), Names{"notes|notes.txt|"});
  EXPECT_EQ(named(thumbnailSourcesOf(multi, options)),
            (Names{"Blurs-1|Soft|Soft", "Blurs-2|Hard|Hard", "Blurs-3|Wide|Wide"}));
  EXPECT_EQ(named(thumbnailSourcesOf(multi, options, "Hard")), Names{"Blurs-2|Hard|Hard"});

  ThumbnailJob job = thumbnailJob("out");
  const fs::path out = job.folder;
  job.sources = thumbnailSourcesOf(multi, options);
  std::vector<std::string> ran;
  job.foreign = [&](const fs::path&, const std::string& title, host::Image&, Progress&) {
    ran.push_back(title);
    return ForeignThumbnail{ForeignThumbnail::Status::Done, ""};
  };
  qm::test::ScriptedPrompter prompter;
  batch::OverwriteCheck overwrite(prompter);
  SilentProgress progress;
  const auto report = writeThumbnails(job, {codec, types, options}, overwrite, progress);
  EXPECT_EQ(ran, (std::vector<std::string>{"Soft", "Hard", "Wide"}));
  EXPECT_EQ(report.written,
            (std::vector<fs::path>{out / "Blurs-1.png", out / "Blurs-2.png", out / "Blurs-3.png"}));
}

TEST(ContactSheet, TilesFillRowsWithTheirCaptionsUnder) {
  const struct {
    std::vector<host::Size> tiles;
    int columns;
    int expectedColumns, expectedRows;
    host::Size sheet;
  } cases[] = {
      {{{100, 80}}, 0, 1, 1, {120, 120}},
      {{{100, 80}, {100, 80}, {100, 80}}, 0, 2, 2, {230, 230}},
      {{{100, 80}, {60, 40}, {100, 80}, {100, 80}, {100, 80}}, 4, 4, 2, {450, 230}},
  };
  for (const auto& c : cases) {
    auto layout = contactSheetLayout(c.tiles, 20, 10, c.columns);
    EXPECT_EQ(layout.columns, c.expectedColumns);
    EXPECT_EQ(layout.rows, c.expectedRows);
    EXPECT_EQ(layout.sheet, c.sheet);
    ASSERT_EQ(layout.pictures.size(), c.tiles.size());
    for (std::size_t i = 0; i < c.tiles.size(); ++i) {
      EXPECT_EQ(layout.pictures[i].width(), c.tiles[i].width);
      EXPECT_EQ(layout.captions[i].height(), 20);
      EXPECT_EQ(layout.captions[i].top, 10 + int(i) / layout.columns * 110 + 80) << i;
      EXPECT_LE(layout.captions[i].right, layout.sheet.width - 10);
    }
  }
  // A smaller tile is centred in its cell.
  auto layout = contactSheetLayout({{100, 80}, {60, 40}}, 20, 10, 2);
  EXPECT_EQ(layout.pictures[1].left, 10 + 110 + 20);
  EXPECT_EQ(layout.pictures[1].top, 10 + 20);
  EXPECT_TRUE(contactSheetLayout({}, 20, 10).pictures.empty());
}

TEST_F(PluginPreviewTest, FiltersThenReusesTheCacheUntilThePluginChanges) {
  stamp(plugin, 0);
  stamp(picture, 0);
  PluginPreview first = preview();
  ASSERT_EQ(first.kind, PreviewKind::Filtered);
  ASSERT_TRUE(first.image.valid());
  EXPECT_EQ(first.image.pixel(2, 1)[0], 255 - 2);  // R inverted
  EXPECT_EQ(first.image.pixel(2, 1)[1], 1);
  ASSERT_TRUE(fs::exists(cacheFile()));
  EXPECT_EQ(cacheFile().parent_path(), dir / "prog" / "cache");
  EXPECT_EQ(cacheFile().filename().string().rfind("Invert.", 0), 0u);

  // The cache answers while it is not older than the picture; the engine does not run, so a
  // changed cache file shows.
  codec.write(pattern(2, 2, false), cacheFile());
  stamp(cacheFile(), 0);
  PluginPreview second = preview();
  EXPECT_EQ(second.kind, PreviewKind::FromCache);
  EXPECT_EQ(second.image.width, 2);
  stamp(picture, 30);  // the picture changed
  EXPECT_EQ(preview().kind, PreviewKind::Filtered);
  stamp(picture, 0);
  codec.write(pattern(2, 2, false), cacheFile());
  stamp(cacheFile(), 0);
  EXPECT_EQ(preview().kind, PreviewKind::FromCache);

  // Another file under the name, older than the entry and of the same size; a file of the
  // same name in another folder; the plugin touched: none of them finds that entry.
  qm::test::FFPluginFields other;
  other.title = "Other";
  other.formulas = {"r", "0", "b", "a"};
  qm::test::writeFile(plugin, qm::test::ffPluginBytes(57344, other));
  stamp(plugin, -100);
  EXPECT_EQ(preview().image.pixel(2, 1)[1], 0);
  request.file = qm::test::writeFile(dir / "elsewhere" / "Invert.8bf", qm::test::readFile(plugin));
  stamp(request.file, -100);
  EXPECT_EQ(preview().kind, PreviewKind::Filtered);
  request.file = plugin;
  EXPECT_EQ(preview().kind, PreviewKind::FromCache);
  stamp(plugin, 10);
  EXPECT_EQ(preview().kind, PreviewKind::Filtered);

  EXPECT_TRUE(host::deletePreviewCacheEntry(request.programDir, plugin));  // "Update"
  EXPECT_FALSE(fs::exists(cacheFile()));
  EXPECT_EQ(preview().kind, PreviewKind::Filtered);
}

TEST_F(PluginPreviewTest, NoCacheWhenSwitchedOffSourcesCachedLikePlugins) {
  request.cache.enabled = false;
  EXPECT_EQ(preview().kind, PreviewKind::Filtered);
  EXPECT_FALSE(fs::exists(cacheFile()));
  request.cache.enabled = true;
  request.file = qm::test::writeFile(dir / "Invert.afs", qm::test::afsSource("Inv", "255-r"));
  PluginPreview source = preview();
  ASSERT_EQ(source.kind, PreviewKind::Filtered);
  EXPECT_EQ(source.image.pixel(3, 0)[0], 255 - 3);
  EXPECT_TRUE(fs::exists(cacheFile()));
  EXPECT_EQ(preview().kind, PreviewKind::FromCache);
  // An edited source is another entry.
  qm::test::writeFile(request.file, qm::test::afsSource("Inv", "r/2"));
  PluginPreview edited = preview();
  ASSERT_EQ(edited.kind, PreviewKind::Filtered);
  EXPECT_EQ(edited.image.pixel(3, 0)[0], 1);
}

TEST_F(PluginPreviewTest, ALibraryEntryIsFoundByItsPosition) {
  const std::string library = qm::test::fflLibrary(
      {qm::test::fflEntry("A.8bf", "A", "255-r"), qm::test::fflEntry("B.8bf", "B", "7")});
  request.file = qm::test::writeFile(dir / "Lib.ffl", library);
  const std::vector<std::uint8_t> bytes(library.begin(), library.end());
  const auto index = ff::IndexFFL(ByteView(bytes.data(), bytes.size()));
  ASSERT_TRUE(index && index->entries.size() == 2);
  request.fflPosition = index->entries[1].position;
  PluginPreview entry = preview();
  ASSERT_EQ(entry.kind, PreviewKind::Filtered);
  EXPECT_EQ(entry.image.pixel(3, 2)[0], 7);
  EXPECT_EQ(entry.image.pixel(3, 2)[1], 2);
  request.fflPosition = index->entries[1].position + 1;  // not where an entry starts
  EXPECT_EQ(preview().kind, PreviewKind::Facts);
  EXPECT_FALSE(fs::exists(dir / "prog" / "cache"));
}

TEST_F(PluginPreviewTest, APluginWeCannotRunShowsItsFacts) {
  for (const auto& [name, type] : {std::pair{"Other.8bf", "Type: unknown"},
                                   std::pair{"Glow.aex", "Type: After Effects Plugin"}}) {
    request.file = qm::test::writeFile(dir / "plugins" / name, std::string(5000, 'o'));
    PluginPreview other = preview();
    EXPECT_EQ(other.kind, PreviewKind::Facts) << name;
    EXPECT_FALSE(other.image.valid());
    ASSERT_FALSE(other.facts.empty());
    EXPECT_EQ(other.facts[0], type);
  }
  EXPECT_FALSE(fs::exists(dir / "prog" / "cache" / "Other.jpg"));
}

TEST_F(PluginPreviewTest, ACancelledRequestGivesNothing) {
  EXPECT_EQ(preview([] { return true; }).kind, PreviewKind::Cancelled);
  EXPECT_FALSE(fs::exists(cacheFile()));
}

TEST(PictureEditorRules, ZoomFactorAcceptsOneTo800Only) {
  const struct {
    const char* typed;
    std::optional<int> factor;
  } cases[] = {{"1", 1},    {"800", 800}, {" 150 ", 150}, {"75%", 75},
               {"0", {}},   {"900", {}},  {"801", {}},    {"", {}},
               {"abc", {}}, {"-5", {}},   {"12.5", {}},   {"99999999999", {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(parseZoomFactor(c.typed), c.factor);
  }
}

TEST(PictureEditorRules, FitToScreenTakesTheLargestFactorThatFits) {
  EXPECT_EQ(fitToScreenZoom({640, 480}, {1280, 800}), 166);
  EXPECT_EQ(fitToScreenZoom({4000, 1000}, {1280, 800}), 32);
  EXPECT_EQ(fitToScreenZoom({1, 1}, {1280, 800}), 800);
  EXPECT_EQ(fitToScreenZoom({100000, 10}, {1280, 800}), 1);
  EXPECT_EQ(zoomedSize({640, 480}, 25), (host::Size{160, 120}));
  EXPECT_EQ(zoomedSize({3, 3}, 1), (host::Size{1, 1}));
}

TEST(PictureEditorRules, TitleNamesSizeZoomAndColours) {
  EXPECT_EQ(pictureEditorTitle(std::nullopt), "Picture Editor");
  EXPECT_EQ(pictureEditorTitle(ShownPicture{"Test.bmp", 640, 480, 100, 24}),
            "Picture Editor - Test.bmp - 640x480 (100%), 16 Milion Colors (24bit)");
  EXPECT_EQ(pictureEditorTitle(ShownPicture{"", 32, 16, 400, 8}),
            "Picture Editor - Untitled - 32x16 (400%), 256 Colors (8bit)");
  EXPECT_EQ(pictureEditorTitle(ShownPicture{"a.png", 1, 1, 50, 1}),
            "Picture Editor - a.png - 1x1 (50%), 2 Colors (1bit)");
}

TEST(PictureEditorRules, DepthEntriesOnlyRaiseAndGifSavesThroughTheChooser) {
  std::vector<int> enabledFor8;
  for (const auto& entry : colorDepthEntries())
    if (colorDepthEnabled(entry.bitsPerPixel, 8)) enabledFor8.push_back(entry.bitsPerPixel);
  EXPECT_EQ(enabledFor8, std::vector<int>{24});
  EXPECT_FALSE(colorDepthEnabled(24, 24));
  EXPECT_TRUE(saveNeedsChooser(""));
  EXPECT_TRUE(saveNeedsChooser("/p/anim.gif"));
  EXPECT_FALSE(saveNeedsChooser("/p/ANIM.GIF"));  // only the lower-case ending
  EXPECT_FALSE(saveNeedsChooser("/p/photo.png"));
}

TEST(PictureEditorRules, SaveAsAddsTheChosenTypeAndStartsOnThePicturesOwn) {
  const std::vector<std::string> writable{"bmp", "jpeg", "jpg", "png"};
  struct Case {
    const char* typed;
    const char* type;
    const char* written;
  };
  for (const auto& [typed, type, written] : {
           Case{"/p/typed", "jpg", "/p/typed.jpg"},
           Case{"/p/typed.JPG", "jpg", "/p/typed.JPG"},
           Case{"/p/typed.png", "jpg", "/p/typed.png"},  // a format named by the user wins
           Case{"/p/holiday.2024", "bmp", "/p/holiday.2024.bmp"},
           Case{"/p.d/noext", "png", "/p.d/noext.png"},
       })
    EXPECT_EQ(savedPictureName(typed, type, writable), written) << typed;
  EXPECT_EQ(startingPictureType("/p/Photo.JPEG", writable), "jpeg");
  EXPECT_EQ(startingPictureType("/p/scan.pcx", writable), "png");
  EXPECT_EQ(startingPictureType("", writable), "png");
}

TEST(PictureEditorRules, PrintPlacement) {
  // 300 dpi printer, 96 dpi screen: a 96-pixel picture prints one inch wide.
  EXPECT_EQ(printPlacement({96, 48}, PrintMode::ActualSize, {2400, 3300}, 300),
            (PrintRect{0, 0, 300, 150}));
  EXPECT_EQ(printPlacement({96, 48}, PrintMode::FitToPage, {2400, 3300}, 300),
            (PrintRect{0, 0, 2400, 1200}));
  EXPECT_EQ(printPlacement({100, 1000}, PrintMode::FitToPage, {2400, 3300}, 300),
            (PrintRect{0, 0, 330, 3300}));
  EXPECT_EQ(printPlacement({0, 10}, PrintMode::FitToPage, {2400, 3300}, 300), PrintRect{});
}

TEST(PreviewChoice, ANewPictureJoinsTheListOnceCaseIgnored) {
  settings::MemoryStore store;
  settings::Options options;
  options.pictures = {"/p/a.png", "/p/b.jpg"};
  EXPECT_EQ(choosePreviewPicture(options, store, "/p/New.bmp"), 2u);
  EXPECT_EQ(options.previewPicture, "/p/New.bmp");
  EXPECT_EQ(store.get(settings::kSettings, "PreviewPic"), "/p/New.bmp");
  EXPECT_EQ(store.get(settings::kSettings, "Pic2"), "/p/New.bmp");
  ASSERT_EQ(options.pictures.size(), 3u);

  EXPECT_EQ(choosePreviewPicture(options, store, "/P/B.JPG"), 1u);
  EXPECT_EQ(options.pictures.size(), 3u);
  EXPECT_FALSE(store.contains(settings::kSettings, "Pic3"));
  EXPECT_EQ(store.get(settings::kSettings, "PreviewPic"), "/P/B.JPG");
  EXPECT_EQ(pictureEntryFor(options.pictures, "/p/a.pngx"), std::nullopt);
}

}  // namespace
}  // namespace qm::picture
